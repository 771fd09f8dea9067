#pragma once
// The reading window: the drive list (the letters of the drive map), the
// folder chooser, the option boxes, the title and progress panel, Start and
// Stop. It draws ScanFormLogic and forwards the user's actions to it; the
// window stays loaded and is hidden between readings.
//
//   ScanForm form({{platform, driveInfo, titleFile, icons, catalogFolder}, options}, mainWindow);
//   std::optional<MediaReading::Result> r = form.readMedium(document.list());
//   // nullopt: never started; r->ok(): the list is in the store, r->catalogPath names its file
#include <QEventLoop>
#include <QWidget>
#include <optional>

#include "media/ScanFormLogic.h"
#include "media/ThrottledPump.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zevro {

class ScanForm : public QWidget {
  Q_OBJECT

public:
  // mainWindow: the list window ("ﾘｽﾄ画面を隠す" hides it, the window is
  // placed at its top left until a position is stored); may be null.
  explicit ScanForm(ScanFormLogic::Services services, QWidget* mainWindow = nullptr);

  // One new reading (see ScanFormLogic::readMedium): shows the window, lets
  // events run until Start, Stop or the close box, reads with the progress
  // drawn and Stop answered, and hides the window again.
  std::optional<MediaReading::Result> readMedium(RowStore& store);
  // A shown catalog read again (see ScanFormLogic::refreshMedium): the drive
  // locked, the title in the refresh colours while it reads.
  std::optional<MediaReading::Result> refreshMedium(RowStore& store, TextView source, TextView catalogFileName,
                                                    TextView mediumTitle);

  // The program drops the window: its position and the "ﾘｽﾄ画面を隠す" box
  // go to the options.
  void unload();

  ScanFormLogic& logic() { return logic_; }

  // The controls, for tests and for screenshots.
  QComboBox* driveBox() const { return drives_; }
  QPushButton* browseButton() const { return browse_; }
  QPushButton* startButton() const { return start_; }
  QPushButton* stopButton() const { return stop_; }
  QLabel* titleLabel() const { return title_; }
  QLabel* progressFolderLabel() const { return progressFolder_; }
  QLabel* progressCountLabel() const { return progressCount_; }

protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  void build();
  void sync();
  void syncDrives();
  void syncTitle();
  void showProgress();
  void place();
  void pumpEvents();
  void setBusy(bool busy);

  ScanFormLogic logic_;
  QWidget* mainWindow_;
  QEventLoop waiting_;
  ThrottledPump throttle_;
  bool busy_ = false;
  bool placed_ = false;

  QComboBox* drives_ = nullptr;           // DRVBOX
  QPushButton* browse_ = nullptr;         // 参照BTN
  QLabel* title_ = nullptr;               // VOLDSP
  QLabel* progressFolder_ = nullptr;      // CONSOL: the folder
  QLabel* progressCount_ = nullptr;       // CONSOL: the count
  QGroupBox* settings_ = nullptr;         // OPTFRM
  QCheckBox* autoCreate_ = nullptr;       // AUTSEL
  QCheckBox* sortByExtension_ = nullptr;  // SRTSEL
  QCheckBox* sortByKind_ = nullptr;       // TYPSEL
  QCheckBox* recordUnzip_ = nullptr;      // LZHSEL
  QCheckBox* commentUnzip_ = nullptr;     // LCMSEL
  QRadioButton* highPriority_ = nullptr;  // LVLOPT(0)
  QRadioButton* lowPriority_ = nullptr;   // LVLOPT(1)
  QCheckBox* hideScan_ = nullptr;         // HIDSEL
  QPushButton* start_ = nullptr;          // STRBTN
  QPushButton* stop_ = nullptr;           // BRKBTN
};

}  // namespace zevro
