#include "media/MediumTitle.h"

#include "media/DrivePath.h"

namespace zevro::mediumtitle {

namespace {
constexpr char16_t BoldOn = 8;
constexpr char16_t BoldOff = 7;
}  // namespace

Text wrongTypeMessage() {
  Text out{1};
  out += WrongTypeKind;
  out += char16_t{0};
  out += WrongTypeTail;
  return out;
}

Text changeQuestion(TextView currentTitle) {
  Text out(CurrentHead);
  out += BoldOn;
  out += currentTitle;
  out += BoldOff;
  out += CurrentTail;
  out += u"||";
  out += char16_t{5};
  out += ChangeQuestion;
  out += char16_t{0};
  return out;
}

bool ChangeMediumTitle(MediaDriveQuestion& question, DriveInfo& drives, TitleFile& titles, Ui& ui,
                       TextView wantedTitle, const Relabel& relabel) {
  MediaQuestion q;
  q.message = Text(Instruction);
  q.label = Text(wantedTitle);
  for (;;) {
    const Text answer = question.InputMediaDrive(q);
    const char letter = drivepath::letterOf(answer);
    if (letter == 0) return false;
    q.preselect = letter;
    const Text drive{static_cast<char16_t>(letter), u':'};
    drives.RefreshDriveTypes();
    if (drives.DriveType(drive) != drivetype::Removable) {
      ui.showMessage(wrongTypeMessage(), mb::Ok | mb::IconExclamation, {});
      continue;
    }
    const std::optional<NativePath> root = drives.rootOf(drive);
    if (!root) continue;
    std::optional<Text> current = titles.storedTitle(*root);
    if (!current) {
      if (!titles.WriteTitleFile(drive, wantedTitle)) return false;
      current = Text(wantedTitle);
    }
    if (*current != wantedTitle) {
      const int a = ui.showMessage(changeQuestion(*current), mb::YesNoCancel | mb::IconQuestion, {});
      if (a == AnswerNo) continue;
      if (a != AnswerYes) return false;
    }
    const Text newTitle = TitleFile::titleOfLine(titles.askTitle(*current));
    if (newTitle.empty()) return false;
    if (!titles.WriteTitleFile(drive, newTitle)) return false;
    if (relabel) relabel(letter, *current, newTitle);
    return true;
  }
}

}  // namespace zevro::mediumtitle
