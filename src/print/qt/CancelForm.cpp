#include "print/qt/CancelForm.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/qt/DialogSupport.h"

namespace zevro {

CancelForm::CancelForm(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QString::fromUtf16(Caption));
  setFont(dialogFont());
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QString::fromUtf16(Label), this);
  label->setObjectName(QStringLiteral("Label1"));
  label->setAlignment(Qt::AlignCenter);
  stop_ = new QPushButton(QString::fromUtf16(Stop), this);
  stop_->setObjectName(QStringLiteral("CANBTN"));
  layout->addWidget(label);
  layout->addWidget(stop_);
  connect(stop_, &QPushButton::clicked, this, [this] { stop(); });
}

void CancelForm::stop() {
  requested_ = true;
  hide();
}

void CancelForm::closeEvent(QCloseEvent* event) {
  // Closing is a stop too; the window stays for the next print.
  event->ignore();
  stop();
}

}  // namespace zevro
