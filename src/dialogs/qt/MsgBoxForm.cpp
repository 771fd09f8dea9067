#include "dialogs/qt/MsgBoxForm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

#include "dialogs/ApplicationTitle.h"
#include "dialogs/qt/DialogSupport.h"
#include "platform/Ui.h"
#include "platform/qt/QtText.h"

namespace zevro {

namespace {

std::size_t indexOf(MessageButton b) { return static_cast<std::size_t>(b); }

MessageKey keyOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers mods = event.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  if (mods != Qt::NoModifier) return MessageKey::Other;
  switch (event.key()) {
    case Qt::Key_Y: return MessageKey::Yes;
    case Qt::Key_N: return MessageKey::No;
    case Qt::Key_Escape: return MessageKey::Escape;
    case Qt::Key_Return:
    case Qt::Key_Enter: return MessageKey::Enter;
    case Qt::Key_Space: return MessageKey::Space;
    default: return MessageKey::Other;
  }
}

}  // namespace

MsgBoxForm::MsgBoxForm(TextView text, int flags, TextView title, QWidget* owner, std::function<void()> beep)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint),
      font_(dialogFont()),
      beep_(std::move(beep)) {
  setFont(font_);
  setWindowTitle(toQString(title.empty() ? ApplicationTitle : title));
  layout_ = layoutMessage(text, flags, dialogMetrics(font_, *this), frameOf(owner, *this), ownerRect(owner, *this),
                          screenRect(owner, *this));

  for (const PlacedButton& placed : layout_.buttons) {
    auto* b = new QPushButton(toQString(captionOf(placed.button)), this);
    b->setGeometry(toPixels(placed.rect, *this));
    b->installEventFilter(this);
    const int answer = answerOf(placed.button);
    connect(b, &QPushButton::clicked, this, [this, answer] { done(answer); });
    buttons_[indexOf(placed.button)] = b;
  }
  QPushButton* first = button(layout_.focus);
  first->setDefault(true);
  first->setFocus();

  setFixedSize(toPixelsX(layout_.clientWidth, *this), toPixelsY(layout_.clientHeight, *this));
  move(toPixelsX(layout_.box.left, *this), toPixelsY(layout_.box.top, *this));
}

int MsgBoxForm::ShowMessage(TextView text, int flags, TextView title, QWidget* owner, std::function<void()> beep) {
  MsgBoxForm box(text, flags, title, owner, std::move(beep));
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int answer = box.exec();
  QApplication::restoreOverrideCursor();
  if (owner) {
    owner->window()->raise();
    owner->window()->activateWindow();
  }
  // A box taken down by anything but its buttons and keys backs out.
  return answer == AnswerNone ? escapeAnswerOf(box.layout_.buttonSet) : answer;
}

QPushButton* MsgBoxForm::button(MessageButton which) const { return buttons_[indexOf(which)]; }

void MsgBoxForm::reject() { done(escapeAnswerOf(layout_.buttonSet)); }

void MsgBoxForm::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter.drawPixmap(toPixelsX(msgbox::IconLeft, *this), toPixelsY(layout_.iconTop, *this), dialogIcon(*this));
  drawRuns(painter, layout_.runs, font_, *this);
}

void MsgBoxForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (beep_) beep_();
}

void MsgBoxForm::keyPressEvent(QKeyEvent* event) {
  if (answerKey(event)) return;
  QDialog::keyPressEvent(event);
}

// The box sees the keys before its buttons do, so that "y" answers Yes
// whichever button has the focus.
bool MsgBoxForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && answerKey(static_cast<QKeyEvent*>(event))) return true;
  return QDialog::eventFilter(watched, event);
}

bool MsgBoxForm::answerKey(QKeyEvent* event) {
  const int answer = answerForKey(layout_.buttonSet, keyOf(*event), focusedButton());
  if (answer == AnswerNone) return false;
  event->accept();
  done(answer);
  return true;
}

std::optional<MessageButton> MsgBoxForm::focusedButton() const {
  const QWidget* focused = focusWidget();
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    if (buttons_[i] && buttons_[i] == focused) return static_cast<MessageButton>(i);
  }
  return std::nullopt;
}

}  // namespace zevro
