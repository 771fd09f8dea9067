#include "dialogs/qt/InpBoxForm.h"

#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "dialogs/ColourTable.h"
#include "dialogs/qt/DialogSupport.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {
constexpr int IconPixels = 32;
}

InpBoxForm::InpBoxForm(TextView prompt, TextView title, TextView defaultText, int top, QWidget* owner,
                       const QString& answerFontFamily)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), font_(dialogFont()) {
  setFont(font_);
  setWindowTitle(toQString(title));
  const DialogMetrics metrics = dialogMetrics(font_, *this);
  layout_ = layoutInput(prompt, top, metrics, frameOf(owner, *this), IconPixels * metrics.twipsPerPixelY,
                        ownerRect(owner, *this), screenRect(owner, *this),
                        ColourTable::forDisplayColours(displayColours(owner)));

  answerLine_ = new QLineEdit(this);
  if (!answerFontFamily.isEmpty()) {
    QFont answerFont = font_;
    answerFont.setFamilies({answerFontFamily});
    answerLine_->setFont(answerFont);
  }
  answerLine_->setGeometry(toPixels(layout_.answerLine, *this));
  // Dates and times are typed as digits; the input method would only get in
  // the way.
  if (answerWithoutInputMethod(prompt)) {
    answerLine_->setAttribute(Qt::WA_InputMethodEnabled, false);
    answerLine_->setInputMethodHints(Qt::ImhLatinOnly);
  }
  answerLine_->setText(toQString(defaultText));
  answerLine_->selectAll();

  okButton_ = new QPushButton(toQString(inputbox::OkCaption), this);
  okButton_->setGeometry(toPixels(inputbox::OkButton, *this));
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  cancelButton_ = new QPushButton(toQString(inputbox::CancelCaption), this);
  cancelButton_->setGeometry(toPixels(inputbox::CancelButton, *this));
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

  answerLine_->setFocus();
  setFixedSize(toPixelsX(layout_.clientWidth, *this), toPixelsY(layout_.clientHeight, *this));
  move(toPixelsX(layout_.box.left, *this), toPixelsY(layout_.box.top, *this));
}

Text InpBoxForm::InpLine(TextView prompt, TextView title, TextView defaultText, int top, QWidget* owner,
                         const QString& answerFontFamily) {
  InpBoxForm box(prompt, title, defaultText, top, owner, answerFontFamily);
  const bool ok = box.exec() == QDialog::Accepted;
  if (owner) {
    owner->window()->raise();
    owner->window()->activateWindow();
  }
  return ok ? fromQString(box.answerLine_->text()) : Text();
}

void InpBoxForm::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawPixmap(toPixels(layout_.icon, *this).topLeft(), dialogIcon(*this));
  drawRuns(painter, layout_.runs, font_, *this);
}

}  // namespace zevro
