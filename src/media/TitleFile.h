#pragma once
// The title of a removable medium (kind "FD"): the user names a floppy or a
// USB stick once, and the name is kept on the medium itself in the hidden
// text file "VolName.txt" in its root, one CP932 line like "My Disk\r\n".
// Older versions wrote "VolName.DAT"; it is taken over (renamed, or deleted
// when a VolName.txt is already there).
//
// The title is the file's first line up to its first comma:
//   "My Disk\r\n" -> u"My Disk",  "My Disk,2\r\n" -> u"My Disk",  ",x" -> u"" (no title).
// The catalog name and the title shown when the medium is looked for both
// use this one rule, so a medium whose title holds a comma is found again.
//
// Also here: the title shown for the medium in a drive (DisplayTitle), which
// keeps the title cache up to date.
#include <functional>

#include "media/DriveInfo.h"
#include "platform/Ui.h"
#include "text/Text.h"

namespace zevro {

class TitleFile {
public:
  static constexpr const char* FileName = "VolName.txt";
  static constexpr const char* OldFileName = "VolName.DAT";

  // The title question (an input box): caption and the three lines of its
  // prompt, each after its colour code; the form that changes a known title
  // adds the current one.
  static constexpr TextView QuestionCaption = u"メディア・タイトルの登録";
  static constexpr TextView QuestionLine1 = u"このメディアの タイトルを入力して下さい||";
  static constexpr TextView QuestionLine2 = u"※数字だけ（通し番号など）でも構いません";
  static constexpr TextView QuestionLine3 = u"|※他のメディアと同じ名前にならないよう 注意してください";
  static constexpr TextView QuestionCurrent = u"||現在のタイトル＝";
  static constexpr char16_t QuestionColour1 = 1;
  static constexpr char16_t QuestionColour2 = 2;
  static constexpr char16_t QuestionColour3 = 5;
  static constexpr char16_t QuestionColourCurrent = 0;
  // Writing the title file failed (OK tries again, Cancel gives up).
  static constexpr TextView MsgWriteProtected = u"メディアが書込み禁止になっています。　書き込み可にしてください";

  // Marks the written file hidden; the default knows FAT media.
  using HideFile = std::function<IoError(const NativePath&)>;

  TitleFile(DriveInfo& drives, Ui& ui, HideFile hide = {});

  // The title of the medium in the drive, by kind:
  //   FD: the title file's title; without one the user is asked and the
  //       answer written to the medium; empty when the user gives none (the
  //       medium then cannot be catalogued) or the title cannot be written;
  //   CD: the volume label, else the synthetic label;
  //   HD: empty.
  Text ReadTitleFile(TextView drive);

  // Writes the title as the medium's title file (replacing an old one only
  // once the new one is complete) and marks it hidden; a failure is shown
  // with MsgWriteProtected and tried again until the user cancels. On
  // success the title cache of the letter gets the title as it reads back.
  bool WriteTitleFile(TextView drive, TextView title);

  // The title shown for the medium in the drive, by drive type:
  //   2 (and 18): the title file's title, else the volume label, else a
  //               single character 0 (a cache entry is never empty);
  //   3: the volume label;
  //   5: the volume label, "Audio CD" as the audio CD identity, an empty
  //      label as the synthetic label;
  //   other: empty.
  // The title cache of the letter gets the result.
  Text DisplayTitle(TextView drive);

  // Asks for a title; currentTitle non-empty: the form for changing a known
  // title (the prompt shows it, the answer field starts with it). The answer
  // as typed; empty when cancelled.
  Text askTitle(TextView currentTitle = {});
  // The prompt of the question.
  static Text titlePrompt(TextView currentTitle);

  // The title in a title file's text (CP932): its first line up to the first comma.
  static Text titleOfFile(std::string_view bytes);
  // The same rule on a typed title: u"A,B" -> u"A".
  static Text titleOfLine(TextView line);

  // The title of the title file in the folder (after taking over an old
  // one); nullopt when there is none or it holds no title.
  std::optional<Text> storedTitle(const NativePath& root);

private:
  void takeOverOldFile(const NativePath& root);

  DriveInfo& drives_;
  Ui& ui_;
  HideFile hide_;
};

}  // namespace zevro
