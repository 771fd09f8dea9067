#pragma once
// The print window: the preview of the first page of the range beside the
// settings (font, size, line gap, columns, rules, frame, wrap), the items
// and the page range, the printer set-up, start and cancel. Each change
// redraws the preview through refreshPreview (set by PrintDialogue). The
// decisions are PrevFormLogic's; the page device (preview surface and
// printer) belongs to the window.
#include <QDialog>
#include <QImage>
#include <QPrinter>

#include <functional>
#include <map>

#include "platform/Ui.h"
#include "print/PrevFormLogic.h"
#include "print/paint/QtPrevPrint.h"

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace zevro {

class PrevForm : public QDialog {
public:
  PrevForm(OptionStore& options, Ui& ui, QWidget* owner = nullptr);
  ~PrevForm() override;

  // Redraws the preview (RefreshPreview or RefreshFindPreview).
  std::function<void()> refreshPreview;
  // The PDF file to print into when no printer is installed; empty: do not start.
  std::function<QString()> choosePdfFile;

  QtPrevPrint& device() { return *device_; }
  QPrinter& printer() { return printer_; }
  PrevFormLogic& logic() { return logic_; }
  // The settings of a drawing pass, as the controls stand.
  const PrintSettings& settings() const { return logic_.settings(); }
  // Left through "印刷開始".
  bool PrStart() const { return start_; }
  // The print window's width in twips (the preview's text colour depends on it).
  int widthTwips() const;
  // The resolution the preview shows the sheet at (the page surface is drawn at it).
  double previewDpi() const;

  // Before a list print: items, range and the three column switches
  // enabled; the items by the display mode shown (0, 1, 2 or 4).
  void enableForList(int shownMode);
  // Before a search print: the items, the range and the three column
  // switches disabled (they keep their values).
  void enableForSearch();
  // Shows the window until it is left; answers PrStart().
  bool run();
  // At the program's end: the settings are saved when changed.
  void unload();

  // A control by its name in the logic's table (tests).
  QWidget* control(PrevControl c) const;
  // The page shown in the preview (tests and screenshots).
  const QImage& previewImage() const { return device_->shownPage(); }

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  class Preview;

  void build();
  void applySettings();
  void storedChanged(const std::function<void(PrintSettings&)>& edit);
  void redrawIfPreview();
  void leaveTop();
  void leaveEnd();
  void start();
  void setUp();

  OptionStore& options_;
  Ui& ui_;
  PrevFormLogic logic_;
  QPrinter printer_;
  std::unique_ptr<QtPrevPrint> device_;
  Preview* preview_ = nullptr;
  std::map<PrevControl, QWidget*> controls_;
  QComboBox* size_ = nullptr;
  QComboBox* gap_ = nullptr;
  QLineEdit* top_ = nullptr;
  QLineEdit* end_ = nullptr;
  bool start_ = false;
  bool loading_ = false;
};

}  // namespace zevro
