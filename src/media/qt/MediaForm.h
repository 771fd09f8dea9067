#pragma once
// The drive question "ドライブの選択": which drive holds the medium of the
// shown catalog. MSGDSP tells what to do, LBLDSP names the medium, DRVBOX
// lists the drives; OK answers the selected drive (u"E:"), ｷｬﾝｾﾙ and the
// close box answer nothing. The main window waits until it is answered.
#include <QDialog>

#include "media/DriveInfo.h"
#include "media/MediumLocator.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace zevro {

class MediaForm : public QDialog, public MediaDriveQuestion {
  Q_OBJECT

public:
  MediaForm(DriveInfo& drives, QWidget* mainWindow);

  Text InputMediaDrive(const MediaQuestion& question) override;

  // Fills the form for a question without showing it (tests, screenshots).
  void prepare(const MediaQuestion& question);
  // The answer of the last question: u"E:" or empty.
  const Text& answer() const { return answer_; }

  QLabel* messageLabel() const { return message_; }  // MSGDSP
  QLabel* mediumLabel() const { return medium_; }     // LBLDSP
  QListWidget* driveBox() const { return drives_; }   // DRVBOX
  QPushButton* okButton() const { return ok_; }       // OKBTN
  QPushButton* cancelButton() const { return cancel_; }

private:
  DriveInfo& info_;
  QLabel* message_ = nullptr;
  QLabel* medium_ = nullptr;
  QListWidget* drives_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  Text answer_;
};

// "既存リストを開く": InpDrive asks for a drive and answers its letter in
// capitals with a colon (u"E:"), or empty when cancelled.
class DriveForm : public QDialog {
  Q_OBJECT

public:
  DriveForm(DriveInfo& drives, QWidget* owner);
  Text InpDrive();

  QListWidget* driveBox() const { return drives_; }
  QPushButton* okButton() const { return ok_; }
  QPushButton* cancelButton() const { return cancel_; }

private:
  DriveInfo& info_;
  QListWidget* drives_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace zevro
