#pragma once
// The Ui seam for the desktop program: the program's own message and input
// boxes, the platform's message box, the beep (or the program's error sound),
// the folder chooser, the clipboard and the desktop's default programs, all
// through Qt. Each box opens over the window that is active at the moment.
#include <QString>
#include <string>

#include "platform/Ui.h"

namespace zevro {

class QtUi : public Ui {
public:
  // soundFile: a WAV file played in place of the system beep while it exists,
  // like "/home/u/.local/share/zevro/Error.WAV"; empty for the plain beep.
  explicit QtUi(std::string soundFile = {});

  int showMessage(TextView text, int flags, TextView title) override;
  int systemMessage(TextView text, int flags, TextView title) override;
  Text inputLine(TextView prompt, TextView title, TextView defaultText) override;
  void beep() override;
  Text browseForFolder(TextView initialFolder, TextView title) override;
  void setClipboardText(TextView text) override;
  Text clipboardText() override;
  bool openWithDefault(const std::string& nativePath) override;

  // The font family of the input box's answer line (the list font), like
  // "IPAGothic"; empty keeps the dialog font.
  void setAnswerLineFont(const QString& family) { answerLineFont_ = family; }

private:
  std::string soundFile_;
  QString answerLineFont_;
};

}  // namespace zevro
