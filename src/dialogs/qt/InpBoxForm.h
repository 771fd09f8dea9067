#pragma once
// The program's input box: a prompt in message markup above one answer line,
// OK and Cancel. One box per question:
//   Text title = InpBoxForm::InpLine(u"タイトルを入力して下さい", u"タイトル", u"", 0, mainWindow);
//   // the typed line after OK (Enter); empty after Cancel, Esc or closing
#include <QDialog>
#include <QFont>
#include <QString>

#include "dialogs/InputLayout.h"
#include "text/Text.h"

class QLineEdit;
class QPushButton;

namespace zevro {

class InpBoxForm : public QDialog {
  Q_OBJECT

public:
  // A box laid out for one question. top is the box's top on the screen in
  // twips, 0 for its bottom on the owner's bottom; owner may be null (then
  // the screen stands in for it). answerFontFamily, when not empty, is the
  // font of the answer line, like "IPAGothic".
  InpBoxForm(TextView prompt, TextView title, TextView defaultText, int top, QWidget* owner,
             const QString& answerFontFamily = {});

  // Asks and waits: the answer line's text after OK, empty after Cancel.
  static Text InpLine(TextView prompt, TextView title, TextView defaultText, int top, QWidget* owner,
                      const QString& answerFontFamily = {});

  const InputLayout& layout() const { return layout_; }
  QLineEdit* answerLine() const { return answerLine_; }
  QPushButton* okButton() const { return okButton_; }
  QPushButton* cancelButton() const { return cancelButton_; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  InputLayout layout_;
  QFont font_;
  QLineEdit* answerLine_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
};

}  // namespace zevro
