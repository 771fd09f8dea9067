#include "media/qt/MediaForm.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/qt/DialogSupport.h"
#include "media/DrivePath.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {

// The drives present, each with its letter as data; `select` is selected.
void fillDrives(QListWidget* box, DriveInfo& info, char select) {
  box->clear();
  info.RefreshDriveTypes();
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    const int present = info.drives().driveType(letter);
    if (present == drivetype::Unknown || present == drivetype::NoRoot) continue;
    auto* item = new QListWidgetItem(toQString(drivepath::driveListText(info.drives(), letter)), box);
    item->setData(Qt::UserRole, QChar(letter));
    if (letter == select) box->setCurrentItem(item);
  }
  if (!box->currentItem() && box->count() > 0) box->setCurrentRow(0);
}

Text chosenDrive(const QListWidget* box) {
  const QListWidgetItem* item = box->currentItem();
  if (!item) return {};
  const QString text = item->text().left(2).toUpper();
  return fromQString(text);
}

// "|" ends a line in the program's texts.
QString lines(TextView text) {
  QString s = toQString(text);
  s.replace(u'|', u'\n');
  return s;
}

QPushButton* addButton(QHBoxLayout* row, TextView caption) {
  auto* b = new QPushButton(toQString(caption));
  b->setFont(dialogFont());
  row->addWidget(b);
  return b;
}

}  // namespace

MediaForm::MediaForm(DriveInfo& drives, QWidget* mainWindow) : QDialog(mainWindow), info_(drives) {
  setWindowTitle(toQString(MediumLocator::MediaFormCaption));
  setObjectName(QStringLiteral("MediaForm"));
  auto* layout = new QVBoxLayout(this);
  message_ = new QLabel;
  message_->setObjectName(QStringLiteral("MSGDSP"));
  message_->setWordWrap(true);
  message_->setFont(dialogFont());
  medium_ = new QLabel;
  medium_->setObjectName(QStringLiteral("LBLDSP"));
  medium_->setAlignment(Qt::AlignCenter);
  QFont big = dialogFont();
  // The medium's name stands out; the rounded font where the desktop has it.
  if (QFontDatabase::families().contains(QStringLiteral("Meiryo UI"))) big.setFamily(QStringLiteral("Meiryo UI"));
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  medium_->setFont(big);
  medium_->setFrameShape(QFrame::StyledPanel);
  medium_->setMinimumHeight(60);
  drives_ = new QListWidget;
  drives_->setObjectName(QStringLiteral("DRVBOX"));
  drives_->setFont(dialogFont());
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  ok_ = addButton(buttons, u"OK");
  ok_->setObjectName(QStringLiteral("OKBTN"));
  cancel_ = addButton(buttons, MediumLocator::MediaFormCancel);
  cancel_->setObjectName(QStringLiteral("CANBTN"));
  layout->addWidget(message_);
  layout->addWidget(medium_);
  layout->addWidget(drives_, 1);
  layout->addLayout(buttons);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, [this] {
    answer_ = chosenDrive(drives_);
    accept();
  });
  connect(cancel_, &QPushButton::clicked, this, [this] {
    answer_.clear();
    reject();
  });
  connect(drives_, &QListWidget::itemDoubleClicked, ok_, &QPushButton::click);
  resize(460, 360);
}

void MediaForm::prepare(const MediaQuestion& question) {
  answer_.clear();
  message_->setText(lines(question.message));
  medium_->setText(lines(question.label));
  fillDrives(drives_, info_, question.preselect);
}

Text MediaForm::InputMediaDrive(const MediaQuestion& question) {
  prepare(question);
  exec();  // the close box answers nothing, as Cancel does
  return answer_;
}

DriveForm::DriveForm(DriveInfo& drives, QWidget* owner) : QDialog(owner), info_(drives) {
  setWindowTitle(toQString(MediumLocator::DriveFormCaption));
  setObjectName(QStringLiteral("DriveForm"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(toQString(MediumLocator::DriveFormLabel));
  label->setObjectName(QStringLiteral("Label1"));
  label->setFont(dialogFont());
  drives_ = new QListWidget;
  drives_->setObjectName(QStringLiteral("DRVBOX"));
  drives_->setFont(dialogFont());
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  ok_ = addButton(buttons, u"OK");
  ok_->setObjectName(QStringLiteral("OKBTN"));
  cancel_ = addButton(buttons, MediumLocator::DriveFormCancel);
  cancel_->setObjectName(QStringLiteral("CANBTN"));
  layout->addWidget(label);
  layout->addWidget(drives_, 1);
  layout->addLayout(buttons);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  resize(380, 300);
}

Text DriveForm::InpDrive() {
  fillDrives(drives_, info_, 0);
  if (exec() != QDialog::Accepted) return {};
  return chosenDrive(drives_);
}

}  // namespace zevro
