#pragma once
// The program's message box: the markup text drawn at the places
// MessageLayout gives, one of four button sets, the keys Y, N, Esc, Enter
// and Space, a beep when it opens. One box per message:
//   int answer = MsgBoxForm::ShowMessage(u"保存しますか", mb::YesNoCancel, u"", mainWindow, beep);
//   // AnswerYes, AnswerNo or AnswerCancel (Esc and closing the window cancel)
#include <QDialog>
#include <QFont>
#include <array>
#include <functional>
#include <optional>

#include "dialogs/MessageLayout.h"
#include "text/Text.h"

class QPushButton;

namespace zevro {

class MsgBoxForm : public QDialog {
  Q_OBJECT

public:
  // A box laid out for one message, placed relative to owner (may be null:
  // then relative to the screen). An empty title gives the application title.
  // beep is called each time the box is shown.
  MsgBoxForm(TextView text, int flags, TextView title, QWidget* owner, std::function<void()> beep = {});

  // Shows the message and waits for the answer, keeping the owner's input
  // blocked and the pointer a plain arrow meanwhile: AnswerOk, AnswerCancel,
  // AnswerYes or AnswerNo.
  static int ShowMessage(TextView text, int flags, TextView title, QWidget* owner, std::function<void()> beep = {});

  const MessageLayout& layout() const { return layout_; }
  // The button of the box, or null when the button set does not show it.
  QPushButton* button(MessageButton which) const;

  void reject() override;

protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  bool answerKey(QKeyEvent* event);
  std::optional<MessageButton> focusedButton() const;

  MessageLayout layout_;
  QFont font_;
  std::function<void()> beep_;
  std::array<QPushButton*, 4> buttons_{};  // by MessageButton
};

}  // namespace zevro
