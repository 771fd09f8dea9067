#include "media/TitleFile.h"

#include <cerrno>

#include "core/FileOps.h"
#include "media/DrivePath.h"
#include "platform/HiddenAttribute.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr std::string_view LineEnd = "\r\n";

}  // namespace

TitleFile::TitleFile(DriveInfo& drives, Ui& ui, HideFile hide)
    : drives_(drives), ui_(ui), hide_(hide ? std::move(hide) : HideFile(setHiddenAttribute)) {}

Text TitleFile::titleOfLine(TextView line) {
  const std::size_t end = line.find_first_of(u"\r\n,");
  return Text(line.substr(0, end));
}

Text TitleFile::titleOfFile(std::string_view bytes) { return titleOfLine(cp932::decode(bytes)); }

Text TitleFile::titlePrompt(TextView currentTitle) {
  Text prompt;
  prompt += QuestionColour1;
  prompt += QuestionLine1;
  prompt += QuestionColour2;
  prompt += QuestionLine2;
  prompt += QuestionColour3;
  prompt += QuestionLine3;
  if (currentTitle.empty()) return prompt;
  prompt += QuestionColourCurrent;
  prompt += QuestionCurrent;
  prompt += currentTitle;
  return prompt;
}

Text TitleFile::askTitle(TextView currentTitle) {
  return ui_.inputLine(titlePrompt(currentTitle), QuestionCaption, currentTitle);
}

void TitleFile::takeOverOldFile(const NativePath& root) {
  FileSystem& files = drives_.files();
  const std::optional<std::string> old = files.resolveName(root, OldFileName);
  if (!old) return;
  if (files.resolveName(root, FileName)) {
    fileops::deleteFile(files, root / *old);
    return;
  }
  files.renameFile(root / *old, root / FileName);
}

std::optional<Text> TitleFile::storedTitle(const NativePath& root) {
  takeOverOldFile(root);
  FileSystem& files = drives_.files();
  const std::optional<std::string> name = files.resolveName(root, FileName);
  if (!name) return std::nullopt;
  std::string bytes;
  if (files.readFile(root / *name, bytes)) return std::nullopt;
  Text title = titleOfFile(bytes);
  if (title.empty()) return std::nullopt;
  return title;
}

bool TitleFile::WriteTitleFile(TextView drive, TextView title) {
  const char letter = drivepath::letterOf(drive);
  FileSystem& files = drives_.files();
  std::string bytes = cp932::encode(title);
  bytes += LineEnd;
  while (true) {
    const std::optional<NativePath> root = letter ? drives_.drives().root(letter) : std::nullopt;
    IoError error{ENOENT, {}};
    NativePath path;
    if (root) {
      takeOverOldFile(*root);
      path = *root / files.resolveName(*root, FileName).value_or(FileName);
      error = files.writeFileAtomic(path, bytes);
    }
    if (!error) {
      hide_(path);  // a file left visible still names the medium
      drives_.titles().setTitle(letter, titleOfLine(title));
      return true;
    }
    if (ui_.showMessage(MsgWriteProtected, mb::OkCancel | mb::DefaultSecond, {}) != AnswerOk) return false;
  }
}

Text TitleFile::ReadTitleFile(TextView drive) {
  const Text kind = drives_.DriveKind(drive);
  if (kind == DriveInfo::KindCD) {
    Text label = drives_.VolumeLabel(drive);
    return label.empty() ? drives_.SyntheticLabel(drive) : label;
  }
  if (kind != DriveInfo::KindFD) return {};
  const char letter = drivepath::letterOf(drive);
  const std::optional<NativePath> root = drives_.drives().root(letter);
  if (!root) return {};
  if (std::optional<Text> stored = storedTitle(*root)) {
    drives_.titles().setTitle(letter, *stored);
    return *stored;
  }
  const Text answer = askTitle();
  Text title = titleOfLine(answer);
  if (title.empty() || !WriteTitleFile(drive, answer)) return {};
  return title;
}

Text TitleFile::DisplayTitle(TextView drive) {
  const char letter = drivepath::letterOf(drive);
  if (letter == 0) return {};
  Text title;
  switch (drives_.DriveType(drive)) {
    case drivetype::Removable: {
      const std::optional<NativePath> root = drives_.drives().root(letter);
      std::optional<Text> stored = root ? storedTitle(*root) : std::nullopt;
      title = stored ? *stored : drives_.VolumeLabel(drive);
      if (title.empty()) title = Text(1, ch::Null);
      break;
    }
    case drivetype::Fixed: title = drives_.VolumeLabel(drive); break;
    case drivetype::CdRom:
      title = drives_.VolumeLabel(drive);
      if (title == DriveInfo::AudioCdLabel) title = drives_.AudioCdIdentity(drive);
      if (title.empty()) title = drives_.SyntheticLabel(drive);
      break;
    default: break;
  }
  drives_.titles().setTitle(letter, title);
  return title;
}

}  // namespace zevro
