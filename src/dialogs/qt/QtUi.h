#pragma once
// The Ui seam for the desktop program: the program's own message and input
// boxes, the platform's message box, the beep (or the program's error sound),
// the folder chooser, the colour and font choosers, the clipboard and the
// desktop's default programs, all through Qt. Each box opens over the window that asked: the active window,
// else (right after another box closed, when none is active) the program's
// main window.
#include <QPointer>
#include <QString>
#include <QWidget>
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
  // QColorDialog and QFontDialog over the asking window.
  bool hasChoosers() const override { return true; }
  std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
  std::optional<FontChoice> chooseFont(const FontChoice& initial) override;
  Text chooseSaveFile(const SaveFileRequest& request) override;
  Text chooseFileToOpen(const FileOpenRequest& request) override;
  // u"画像ﾌｧｲﾙ|*.JPG;*.JPEG" -> "画像ﾌｧｲﾙ (*.JPG *.JPEG)", pairs joined by ";;".
  static QString qtFilter(TextView filter);

  // The font family of the input box's answer line (the list font), like
  // "IPAGothic"; empty keeps the dialog font.
  void setAnswerLineFont(const QString& family) { answerLineFont_ = family; }

  // The window boxes open over when no window is active.
  void setMainWindow(QWidget* window) { mainWindow_ = window; }
  // The owner a box gets now; nullptr when there is none to be had.
  QWidget* owner() const;

private:
  QPointer<QWidget> mainWindow_;
  std::string soundFile_;
  QString answerLineFont_;
};

}  // namespace zevro
