#include "listview/qt/VersionForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/ApplicationTitle.h"
#include "dialogs/qt/DialogSupport.h"
#include "listview/MainWindowLogic.h"
#include "platform/Ui.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {

constexpr TextView OkCaption = u"OK";
constexpr TextView SystemInfoCaption = u"システム情報(&S)...";

}  // namespace

VersionForm::VersionForm(TextView version, Ui& ui, QWidget* parent) : QDialog(parent), ui_(ui) {
  setWindowTitle(toQString(MainWindowLogic::VersionCaption));
  setFont(dialogFont());
  auto* title = new QLabel(toQString(MainWindowLogic::VersionTitle), this);
  title->setObjectName(QStringLiteral("lblTitle"));
  QFont big = dialogFont();
  big.setPointSize(16);
  big.setBold(true);
  title->setFont(big);
  auto* versionLabel = new QLabel(toQString(MainWindowLogic::VersionPrefix) + toQString(version), this);
  versionLabel->setObjectName(QStringLiteral("lblVersion"));
  auto* ok = new QPushButton(toQString(OkCaption), this);
  ok->setObjectName(QStringLiteral("cmdOK"));
  ok->setDefault(true);
  auto* info = new QPushButton(toQString(SystemInfoCaption), this);
  info->setObjectName(QStringLiteral("cmdSysInfo"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(info, &QPushButton::clicked, this, &VersionForm::showSystemInfo);

  auto* texts = new QVBoxLayout;
  texts->addWidget(title);
  texts->addWidget(versionLabel);
  texts->addStretch();
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(ok);
  buttons->addWidget(info);
  buttons->addStretch();
  auto* row = new QHBoxLayout(this);
  row->addLayout(texts, 1);
  row->addSpacing(24);
  row->addLayout(buttons);
}

void VersionForm::showSystemInfo() {
  ui_.systemMessage(MainWindowLogic::SystemInfoUnavailable, mb::Ok | mb::IconInformation, ApplicationTitle);
}

}  // namespace zevro
