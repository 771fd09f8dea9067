#pragma once
// The page device on QPainter: preview mode draws on a page surface (an
// image as large as the printable area), printer mode on a paged print
// device (a QPrinter in the print window, a QPdfWriter on the command
// line). Both draw in twips through a scaled painter.
//
// Text is measured on the print device in both modes, with fonts sized in
// twips, so that the preview breaks lines exactly where the printout does.
// The print device is only begun at the first drawing of printer mode: a
// pass that prints no page leaves no blank sheet (pagesPrinted() is 0).
//
//   QPdfWriter pdf(path);  pdf.setPageSize(QPageSize::A4);  pdf.setPageMargins({});
//   QtPrevPrint device(pdf);
//   device.setPreview(false);
//   GridPrint(device, ui).DrawListPages(…);      // ends the job itself
//   device.pagesPrinted()                         3
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPagedPaintDevice>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "print/PrevPrint.h"

namespace zevro {

class QtPrevPrint : public PrevPrint {
public:
  // The surface's resolution unless the window sets its own.
  static constexpr double DefaultSurfaceDpi = 144;

  explicit QtPrevPrint(QPagedPaintDevice& printer);
  ~QtPrevPrint() override;

  // The printer changed (another printer or paper): sizes are read again
  // when the mode is next set.
  void setPrinter(QPagedPaintDevice& printer);
  // The icon strip of the lists (pictures beside masks, 16 x 16).
  void setIconStrip(const QImage& strip);
  // The surface is drawn at the resolution the preview shows it, so that a
  // rule of one pixel stays one pixel; from the next preview mode on.
  void setSurfaceDpi(double dpi) { surfaceDpi_ = dpi > 1 ? dpi : DefaultSurfaceDpi; }
  double surfaceDpi() const { return surfaceDpi_; }
  // Called with the page surface whenever a page is shown in preview mode.
  std::function<void(const QImage& page)> onPageShown;

  // The sheet and its printable part, in twips (origin at the sheet's corner).
  int paperWidth() const { return paperW_; }
  int paperHeight() const { return paperH_; }
  int printableLeft() const { return printLeft_; }
  int printableTop() const { return printTop_; }
  // The last page shown in preview mode (the surface as it was).
  const QImage& shownPage() const { return shown_; }
  int pagesPrinted() const { return pagesPrinted_; }
  // The printer refused to begin (no such file, printer gone).
  bool printerFailed() const { return printerFailed_; }

  void setPreview(bool preview) override;
  bool preview() const override { return preview_; }
  void text(TextView text) override;
  void line(int x1, int y1, int x2, int y2, int colour, int width) override;
  void box(int x1, int y1, int x2, int y2, int colour, int width) override;
  void filledBox(int x1, int y1, int x2, int y2, int colour) override;
  void picture(PrintPicture source, int cell, int x, int y, int width, int height) override;
  void showPage() override;
  void endJob() override;
  void setTextColour(int windowWidth) override;

  int pixelsToTwipsX(int count) const override;
  int pixelsToTwipsY(int count) const override;
  int millimetresToTwipsX(int count) const override;
  int millimetresToTwipsY(int count) const override;

  int x() const override { return x_; }
  int y() const override { return y_; }
  void setX(int x) override { x_ = x; }
  void setY(int y) override { y_ = y; }

  bool setFont(const PrintFont& font, Text& error) override;
  const PrintFont& font() const override { return font_; }
  int textWidth(TextView text) override;
  int textHeight(TextView text) override;
  int pageWidth() const override { return pageW_; }
  int pageHeight() const override { return pageH_; }

private:
  void readSizes();
  // The painter of the active device; nullptr when the printer cannot begin.
  QPainter* painter();
  QPen pen(int colour, int width) const;
  QColor lineColour(int colour) const;

  QPagedPaintDevice* printer_;
  QImage surface_;
  QImage shown_;
  QImage marks_;
  QImage strip_;
  QPainter surfacePainter_;
  QPainter printerPainter_;
  bool preview_ = true;
  bool newPagePending_ = false;
  bool printerFailed_ = false;
  int pagesPrinted_ = 0;
  int printerDpi_ = 1200;
  double surfaceDpi_ = DefaultSurfaceDpi;
  int paperW_ = 0, paperH_ = 0, printLeft_ = 0, printTop_ = 0;
  int pageW_ = 0, pageH_ = 0;
  int x_ = 0, y_ = 0;
  QColor surfaceText_{0x33, 0x33, 0x33};
  PrintFont font_;
  QFont qfont_;
  std::optional<QFontMetricsF> metrics_;
  // Fonts set before, with their measures: a pass changes fonts for every
  // cell of a row, and making a font with its measures is slow.
  struct KnownFont {
    PrintFont font;
    QFont qfont;
    QFontMetricsF metrics;
  };
  std::vector<KnownFont> known_;
};

}  // namespace zevro
