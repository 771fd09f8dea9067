#include "listview/qt/UpdateForm.h"

#include <QCoreApplication>
#include <QVBoxLayout>

#include "core/Geometry.h"
#include "core/OldDataConversion.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {

constexpr int OffsetXTwips = 1200;
constexpr int OffsetYTwips = 1800;

}  // namespace

UpdateForm::UpdateForm(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("UpdateForm"));
  setWindowTitle(toQString(OldDataConversion::FormCaption));
  auto* column = new QVBoxLayout(this);
  Label1 = new QLabel(toQString(OldDataConversion::WaitText), this);
  NAMDSP = new QLabel(toQString(OldDataConversion::UpdatingText), this);
  FILDSP = new QLabel(this);
  FILDSP->setMinimumWidth(FILDSP->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 24);
  Label1->setObjectName(QStringLiteral("Label1"));
  NAMDSP->setObjectName(QStringLiteral("NAMDSP"));
  FILDSP->setObjectName(QStringLiteral("FILDSP"));
  for (QLabel* label : {Label1, NAMDSP, FILDSP}) column->addWidget(label);
}

void UpdateForm::showFile(TextView fileName) {
  FILDSP->setText(toQString(fileName.substr(0, OldDataConversion::FileNameShown)));
  if (!isVisible()) {
    const int dpi = mainWindow_->logicalDpiX();
    const QPoint corner = mainWindow_->frameGeometry().topLeft();
    move(corner.x() + twipsToPixels(OffsetXTwips, dpi), corner.y() + twipsToPixels(OffsetYTwips, dpi));
    show();
  }
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace zevro
