#pragma once
// The page device: every drawing and measuring operation the print layout
// uses, in twips (1/1440 inch) on the page. One implementation draws on the
// print window's page surface (preview mode) or on the printer (printer
// mode), so that the layout is written once; a recording fake serves the
// tests (RecordingPrevPrint.h).
//
// Positions and sizes are plain ints: a sheet of A3 is 16838 x 23811 twips
// and a poster would pass 32,767, which a 16-bit twip would not survive.
//
//   device.setPreview(true);                          // draw into the preview
//   device.setFont({.mincho = true, .size = 16, .bold = true, .proportional = true}, error);
//   device.setX(4000); device.setY(285);
//   device.text(u"CD: ゲーム集");                     // stays on the line
//   device.text(u"next line\r");                      // ends the print line
//   device.line(285, 900, 11621, 900, -1, 1);         // default colour
//   device.showPage();                                // preview: shows it; printer: page break
#include "text/Text.h"

namespace zevro {

// The four print fonts: Mincho or Gothic, fixed pitch or proportional.
struct PrintFont {
  bool mincho = true;
  double size = 9.75;  // points
  bool bold = false;
  bool italic = false;
  bool proportional = false;

  bool operator==(const PrintFont&) const = default;
};

// The pictures icons are copied from: the print marks (four cells of
// 128 x 128 pixels: folder, CD-ROM, floppy disk, hard disk), drawn opaquely,
// and the icon strip of the lists (16 x 16 cells, each beside its mask),
// drawn transparently.
enum class PrintPicture { Marks, IconStrip };

// Colours are 0xBBGGRR; -1 is the device's default line colour.
inline constexpr int DefaultLineColour = -1;
inline constexpr int White = 0xFFFFFF;

class PrevPrint {
public:
  virtual ~PrevPrint() = default;

  // ---- Mode ----
  virtual void setPreview(bool preview) = 0;
  virtual bool preview() const = 0;

  // ---- Drawing ----
  // Text at the current position; a last character CR is not printed and
  // ends the print line (left edge, one line height lower), otherwise the
  // position moves right after the text.
  virtual void text(TextView text) = 0;
  virtual void line(int x1, int y1, int x2, int y2, int colour, int width) = 0;
  virtual void box(int x1, int y1, int x2, int y2, int colour, int width) = 0;
  virtual void filledBox(int x1, int y1, int x2, int y2, int colour) = 0;
  // Cell `cell` of a picture, scaled into the rectangle (x, y, width, height).
  virtual void picture(PrintPicture source, int cell, int x, int y, int width, int height) = 0;
  // Preview: the page goes into the preview. Printer: the page is done,
  // the next drawing starts a new one.
  virtual void showPage() = 0;
  // Preview: the surface is cleared. Printer: the document is finished.
  virtual void endJob() = 0;
  // The preview's text colour for a print window `windowWidth` twips wide.
  virtual void setTextColour(int windowWidth) = 0;

  // ---- Units ----
  virtual int pixelsToTwipsX(int count) const = 0;
  virtual int pixelsToTwipsY(int count) const = 0;
  virtual int millimetresToTwipsX(int count) const = 0;
  virtual int millimetresToTwipsY(int count) const = 0;

  // ---- Position ----
  virtual int x() const = 0;
  virtual int y() const = 0;
  virtual void setX(int x) = 0;
  virtual void setY(int y) = 0;

  // ---- Fonts and measures ----
  // False with the platform's description in `error` when the font cannot be set.
  virtual bool setFont(const PrintFont& font, Text& error) = 0;
  virtual const PrintFont& font() const = 0;
  virtual int textWidth(TextView text) = 0;
  virtual int textHeight(TextView text) = 0;
  // The printable page.
  virtual int pageWidth() const = 0;
  virtual int pageHeight() const = 0;
};

}  // namespace zevro
