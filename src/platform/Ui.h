#pragma once
// The user-facing services every subsystem reaches through one seam: the
// program's message box and input box, the platform's plain message box, the
// beep, the folder chooser, the clipboard and "open with the default program".
// The desktop program passes the Qt implementation, tests a scripted fake,
// the headless tool one that prints to stderr and answers from its switches.
#include <string>
#include <string_view>

#include "text/Text.h"

namespace zevro {

// Message-box flags and answers, with the values the option files and callers
// use throughout.
namespace mb {
inline constexpr int Ok = 0;
inline constexpr int OkCancel = 1;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int ButtonMask = 15;
inline constexpr int IconStop = 0x10;
inline constexpr int IconQuestion = 0x20;
inline constexpr int IconExclamation = 0x30;
inline constexpr int IconInformation = 0x40;
inline constexpr int DefaultSecond = 0x100;  // No; Cancel in OK/Cancel
inline constexpr int FocusThird = 0x200;     // Cancel in Yes/No/Cancel
}  // namespace mb

// The file-open dialog: the filter in the pairs form
// u"画像ﾌｧｲﾙ|*.JPG;*.JPEG|総てのﾌｧｲﾙ|*.*" (caption, patterns, …), the first
// pair selected; the chosen file must exist.
struct FileOpenRequest {
  Text title;
  Text filter;
  Text initialName;       // like u"photo.jpg"
  Text initialFolder;     // a native path as text
  Text defaultExtension;  // like u"JPG"
};

enum Answer : int { AnswerNone = 0, AnswerOk = 1, AnswerCancel = 2, AnswerYes = 6, AnswerNo = 7 };

class Ui {
public:
  virtual ~Ui() = default;

  // The program's own message box: "|" breaks lines, codes 0..6 pick a colour,
  // 8 and 7 switch bold on and off. Returns an Answer.
  virtual int showMessage(TextView text, int flags, TextView title) = 0;

  // The platform's plain message box (the file helpers report through it):
  // CR breaks lines, no markup. Returns an Answer (AnswerOk for plain OK boxes).
  virtual int systemMessage(TextView text, int flags, TextView title) = 0;

  // One line of text; empty text when the user cancels.
  virtual Text inputLine(TextView prompt, TextView title, TextView defaultText) = 0;

  virtual void beep() = 0;

  // The folder chooser; empty text when cancelled. Paths are native paths as text.
  virtual Text browseForFolder(TextView initialFolder, TextView title) = 0;

  virtual void setClipboardText(TextView text) = 0;
  virtual Text clipboardText() = 0;

  // Opens a native path with the desktop's default program; false when it cannot.
  virtual bool openWithDefault(const std::string& nativePath) = 0;

  // The chosen file as a native path in text; empty when cancelled (or
  // where no dialog can be shown).
  virtual Text chooseFileToOpen(const FileOpenRequest& /*request*/) { return {}; }
};

}  // namespace zevro
