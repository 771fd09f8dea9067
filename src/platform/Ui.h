#pragma once
// The user-facing services every subsystem reaches through one seam: the
// program's message box and input box, the platform's plain message box, the
// beep, the folder chooser, the clipboard and "open with the default program".
// The desktop program passes the Qt implementation, tests a scripted fake,
// the headless tool one that prints to stderr and answers from its switches.
#include <cstdint>
#include <optional>
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

// A font as the option store names it: u"ＭＳ Ｐゴシック", 9.75 points, not bold.
struct FontChoice {
  Text name;
  double size = 9.75;
  bool bold = false;
  bool operator==(const FontChoice&) const = default;
};

// What the save dialog is asked with:
//   title u"テキスト･ファイルへのリスト保存",
//   filters u"ﾃｷｽﾄ･ﾌｧｲﾙ (TXT)|*.TXT|ﾃｷｽﾄ-ｶﾝﾏ区切り (CSV)|*.CSV" (caption and
//   pattern in turn), firstFilter 0, defaultExtension u"TXT",
//   folder u"/home/kaori/Documents", fileName u"ゲーム集".
// The dialog asks before replacing a file and wants an existing folder.
struct SaveFileRequest {
  Text title;
  Text filters;
  int firstFilter = 0;
  Text defaultExtension;
  Text folder;
  Text fileName;
};

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

  // The save dialog; the chosen native path as text, empty when cancelled.
  // A front end without one answers empty.
  virtual Text chooseSaveFile(const SaveFileRequest& request) {
    (void)request;
    return {};
  }

  // Opens a native path with the desktop's default program; false when it cannot.
  virtual bool openWithDefault(const std::string& nativePath) = 0;

  // Whether this desktop has the colour and font choosers. A Ui without them
  // (the headless tool) keeps these defaults, and a click that would open
  // one beeps instead.
  virtual bool hasChoosers() const { return false; }
  // The full colour chooser opened at `initial` (0xBBGGRR; 0x8000000D and
  // 0x8000000E open at the desktop's selection colours). The chosen colour,
  // nullopt when the user cancelled.
  virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initial) {
    (void)initial;
    return std::nullopt;
  }
  // The font chooser opened at a stored font (u"ＭＳ 明朝", 10.5, bold). The
  // font as chosen, its name in the stored form; nullopt when cancelled.
  virtual std::optional<FontChoice> chooseFont(const FontChoice& initial) {
    (void)initial;
    return std::nullopt;
  }
  // The chosen file as a native path in text; empty when cancelled (or
  // where no dialog can be shown).
  virtual Text chooseFileToOpen(const FileOpenRequest& /*request*/) { return {}; }
};

}  // namespace zevro
