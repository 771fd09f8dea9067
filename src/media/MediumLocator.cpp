#include "media/MediumLocator.h"

#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "core/ListFileName.h"
#include "core/Strings.h"
#include "media/DrivePath.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr char16_t BoldOn = 8;
constexpr char16_t BoldOff = 7;
constexpr char16_t Colour0 = 0;
constexpr char16_t Colour1 = 1;
constexpr std::size_t KindAt = 3;    // "_03CD_…": the kind letters
constexpr std::size_t LabelAt = 6;   // the label starts after "_03CD_"
constexpr std::size_t Extension = 4;  // ".cct"

Text driveText(char letter) { return Text{static_cast<char16_t>(letter), u':'}; }
Text rootText(char letter) { return Text{static_cast<char16_t>(letter), u':', ch::PathSeparator}; }

Text withoutFirstDot(TextView text) {
  Text out(text);
  if (const std::size_t dot = out.find(u'.'); dot != Text::npos) out.erase(dot, 1);
  return out;
}

// Where p leaves an archive by the path's text: the part up to and
// including the extension and the member after it, like
// (u"DOCS\\PACK.ZIP", u"README.TXT") for u"DOCS\\PACK.ZIP\\README.TXT".
std::optional<std::pair<Text, Text>> splitAtText(TextView p, TextView extensionWithSeparator) {
  const Text lower = asciiLower(p);
  const std::size_t at = lower.find(extensionWithSeparator);
  if (at == Text::npos) return std::nullopt;
  const std::size_t end = at + extensionWithSeparator.size();
  return std::pair{Text(p.substr(0, end - 1)), Text(p.substr(end))};
}

}  // namespace

// ---------------------------------------------------------------- the rules

MediumLocator::Medium MediumLocator::mediumOf(TextView listFileName, TextView titleLabel) {
  Medium m;
  m.label = Text(titleLabel);
  if (listFileName.size() >= LabelAt) m.kind = asciiUpper(listFileName.substr(KindAt, 2));
  if (listFileName.size() < LabelAt + Extension || listFileName.find(u' ') == TextView::npos) return m;

  // A blank may stand in the label itself ("My Disk"): the title line's
  // label decides whether the rest after it is a folder.
  const TextView body = listFileName.substr(LabelAt, listFileName.size() - LabelAt - Extension);
  const Text label = asciiLower(listfilename::replaceNameCharacters(titleLabel));
  const Text lowerBody = asciiLower(body);
  Text folder;
  if (!label.empty() && lowerBody == label) return m;
  if (!label.empty() && lowerBody.size() > label.size() + 1 && lowerBody.starts_with(label + u" ")) {
    folder = Text(body.substr(label.size() + 1));
  } else {
    const std::size_t blank = body.find(u' ');
    if (blank == TextView::npos) return m;
    m.label = Text(body.substr(0, blank));
    folder = Text(body.substr(blank + 1));
  }
  for (char16_t& c : folder)
    if (c == u'&') c = ch::PathSeparator;
  m.folderPart = std::move(folder);
  return m;
}

bool MediumLocator::labelMatches(TextView found, TextView label, bool ignoreCase) {
  if (found.empty() || label.empty()) return false;
  const auto same = [ignoreCase](TextView a, TextView b) { return ignoreCase ? asciiLower(a) == asciiLower(b) : a == b; };
  if (same(found, label)) return true;
  return found.find(u'.') != TextView::npos && same(withoutFirstDot(found), label);
}

Text MediumLocator::questionMessage(TextView kindText) {
  const bool connect = kindText.find(u"USB") != TextView::npos;
  return Text(AskHead) + Text(kindText) + Text(connect ? AskConnect : AskInsert);
}

Text MediumLocator::questionLabel(TextView kind, TextView label, TextView title, TextView substitute) {
  if (!substitute.empty()) return Text(substitute);
  if (kind == DriveInfo::KindFD && label != Zip100) {
    if (title.empty()) return Text(label);
    Text out(title);
    if (title != label) out += u"||（" + Text(label) + u"）";
    return out;
  }
  // A catalog without a title still names its medium.
  return title.empty() ? Text(label) : Text(title);
}

Text MediumLocator::wrongTypeMessage(TextView kindText) {
  Text out{BoldOn, Colour1};
  out += kindText;
  out += BoldOff;
  out += Colour0;
  out += WrongTypeTail;
  return out;
}

Text MediumLocator::wrongTitleMessage(TextView foundTitle, TextView label) {
  Text out(WrongTitleHead);
  out += BoldOn;
  out += Colour1;
  out += foundTitle;
  out += BoldOff;
  out += Colour0;
  out += WrongTitleMiddle;
  out += u"||";
  out += WrongTitleAskHead;
  out += BoldOn;
  out += Colour1;
  out += label;
  out += BoldOff;
  out += Colour0;
  out += WrongTitleAskTail;
  return out;
}

char MediumLocator::preselectFor(int wantedType) const {
  char removable = 0;
  for (char letter = 'Z'; letter >= 'B' && removable == 0; --letter)
    if (s_.drives.DriveType(driveText(letter)) == drivetype::Removable) removable = letter;
  if (removable != 0 && wantedType == drivetype::Removable) return removable;
  for (char letter = 'Z'; letter >= 'A'; --letter)
    if (s_.drives.DriveType(driveText(letter)) == wantedType) return letter;
  return removable;
}

// ---------------------------------------------------------------- locating

NativePath MediumLocator::LocateOnMedium(const ShownCatalog& shown, TextView p, bool acceptFolder,
                                         bool trySourceFolder) {
  if (shown.list == nullptr || shown.list->rowCount() == 0) return {};
  const Text fileName = cp932::fromNativeName(shown.listFile.filename().native());
  const Medium medium = mediumOf(fileName, shown.list->fieldView(catalog::FieldName, 0));
  NativePath sourceHit;
  const char letter = findDrive(shown, medium, p, acceptFolder, trySourceFolder, sourceHit);
  if (!sourceHit.empty()) return sourceHit;
  if (letter == 0) return {};
  return joinOnDrive(letter, medium, p, acceptFolder);
}

Text MediumLocator::LocateMediumPath(const ShownCatalog& shown) {
  if (shown.list == nullptr || shown.list->rowCount() == 0) return {};
  const Text fileName = cp932::fromNativeName(shown.listFile.filename().native());
  const Medium medium = mediumOf(fileName, shown.list->fieldView(catalog::FieldName, 0));
  NativePath ignored;
  const char letter = findDrive(shown, medium, u"*", true, false, ignored);
  if (letter == 0 || joinOnDrive(letter, medium, u"*", true).empty()) return {};
  Text path = driveText(letter);
  if (!medium.folderPart.empty()) path += ch::PathSeparator + medium.folderPart;
  return path;
}

char MediumLocator::findDrive(const ShownCatalog& shown, const Medium& found, TextView p, bool acceptFolder,
                              bool trySourceFolder, NativePath& sourceHit) {
  Medium medium = found;
  const RowStore& list = *shown.list;
  const Text title = list.field(catalog::FieldComment, 0);

  if (medium.kind == DriveInfo::KindHD) {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      if (s_.drives.DriveType(driveText(letter)) != drivetype::Fixed) continue;
      if (labelMatches(s_.drives.VolumeLabel(rootText(letter)), medium.label, true)) return letter;
    }
    return 0;
  }
  if (medium.kind != DriveInfo::KindCD && medium.kind != DriveInfo::KindFD) return 0;

  const bool fd = medium.kind == DriveInfo::KindFD;
  const int wantedType = fd ? drivetype::Removable : drivetype::CdRom;
  const TextView kindText = fd ? KindTextFD : KindTextCD;
  Text substitute;
  if (medium.label.empty()) {
    if (fd) {
      substitute = title.empty() ? Text(NoTitleYet) : title;
    } else {
      substitute = title;
      const Text fileName = cp932::fromNativeName(shown.listFile.filename().native());
      if (fileName.size() > LabelAt + Extension)
        medium.label = fileName.substr(LabelAt, fileName.size() - LabelAt - Extension);
    }
  }

  // The drive the medium was last seen in, when it is still there.
  if (!medium.label.empty()) {
    for (char letter = 'Z'; letter >= 'A'; --letter) {
      if (!labelMatches(s_.drives.titles().title(letter), medium.label, true)) continue;
      if (labelMatches(s_.titleFile.DisplayTitle(rootText(letter)), medium.label, true)) return letter;
      break;
    }
  }

  // A copy of the medium on disk stands in for it.
  const TextView source = list.fieldView(catalog::FieldMediumName, 0);
  if (trySourceFolder && !source.empty()) {
    const NativePath folder = cp932::toNativeName(source);
    if (fileops::folderExists(s_.files, folder)) {
      const std::optional<NativePath> path = drivepath::nativePathBelow(s_.files, folder, p);
      if (path && usable(*path, acceptFolder)) {
        sourceHit = *path;
        return 0;
      }
    }
  }

  // A: is never scanned: looking at an empty floppy drive is slow and loud.
  for (char letter = 'Z'; letter >= 'B'; --letter) {
    const int type = s_.drives.DriveType(driveText(letter));
    if (type != wantedType && !(fd && type == drivetype::CdRom)) continue;
    if (labelMatches(s_.titleFile.DisplayTitle(rootText(letter)), medium.label, false)) return letter;
  }

  if (!userAction || question_ == nullptr) return 0;
  return askForDrive(medium, title, substitute, wantedType, kindText);
}

char MediumLocator::askForDrive(const Medium& medium, TextView title, TextView substitute, int wantedType,
                                TextView kindText) {
  MediaQuestion question;
  question.label = questionLabel(medium.kind, medium.label, title, substitute);
  question.message = questionMessage(kindText);
  question.preselect = preselectFor(wantedType);
  for (;;) {
    const Text answer = question_->InputMediaDrive(question);
    const char letter = drivepath::letterOf(answer);
    if (letter == 0) {
      locateCancelled = true;
      return 0;
    }
    question.preselect = letter;
    s_.drives.RefreshDriveTypes();
    if (s_.drives.DriveType(driveText(letter)) != wantedType) {
      if (showMessage(wrongTypeMessage(kindText)) != AnswerOk) return 0;
      continue;
    }
    const Text shownTitle = s_.titleFile.DisplayTitle(rootText(letter));
    if (medium.kind == DriveInfo::KindFD && (shownTitle.empty() || shownTitle == Text(1, ch::Null))) {
      // A medium without a title gets the catalog's label as its title, so
      // that it is found by itself from now on.
      if (medium.label.empty() || !s_.titleFile.WriteTitleFile(driveText(letter), medium.label)) return 0;
      return letter;
    }
    if (labelMatches(shownTitle, medium.label, true)) {
      s_.drives.titles().setTitle(letter, asciiLower(shownTitle));
      return letter;
    }
    if (showMessage(wrongTitleMessage(asciiLower(shownTitle), medium.label)) != AnswerOk) return 0;
  }
}

NativePath MediumLocator::joinOnDrive(char letter, const Medium& medium, TextView p, bool acceptFolder) {
  Text path = rootText(letter);
  if (!medium.folderPart.empty()) path += medium.folderPart + ch::PathSeparator;
  path += p;
  const std::optional<NativePath> native = drivepath::nativePathOf(s_.drives.drives(), s_.files, path);
  if (!native || !usable(*native, acceptFolder)) return {};
  return *native;
}

bool MediumLocator::usable(const NativePath& path, bool acceptFolder) {
  if (fileops::fileExists(s_.files, path)) return true;
  return acceptFolder && fileops::folderExists(s_.files, path);
}

int MediumLocator::showMessage(const Text& text) {
  return s_.ui.showMessage(text, mb::OkCancel | mb::IconExclamation, {});
}

// ---------------------------------------------------------------- archives

NativePath MediumLocator::LocateFile(const ShownCatalog& shown, TextView p, int row) {
  if (shown.list == nullptr) return {};
  const RowStore& list = *shown.list;
  const bool lzhUsable = s_.archives.available(ArchiveType::Lzh);
  const bool zipUsable = zipUsable_ && s_.archives.available(ArchiveType::Zip);

  std::optional<std::pair<Text, Text>> split;  // archive path, member
  ArchiveType type = ArchiveType::None;
  if (row < 0) row = list.findRowByPath(p, 1);
  if (row > 0 && row < list.rowCount()) {
    // The catalog tells where the archive ends: the nearest row above this
    // one that is a file. A real folder named "x.zip" is no archive.
    int level = list.level(row);
    for (int r = row - 1; r > 0 && level > 1; --r) {
      if (list.level(r) >= level) continue;
      level = list.level(r);
      if (catalog::isFolderLike(list.kind(r))) continue;
      const Text archive = list.rowPath(r, 1);
      const Text lowerP = asciiLower(p);
      Text member = lowerP.starts_with(asciiLower(archive) + ch::PathSeparator)
                        ? Text(p.substr(archive.size() + 1))
                        : list.rowPath(row, 1).substr(archive.size() + 1);
      split = std::pair{archive, std::move(member)};
      type = archiveTypeOf(archive);
      break;
    }
    if (!split) return LocateOnMedium(shown, p, false, true);
  } else {
    if ((split = splitAtText(p, u".zip\\"))) {
      type = ArchiveType::Zip;
      if (!zipUsable) split.reset();
    }
    if (!split && (split = splitAtText(p, u".lzh\\"))) {
      type = ArchiveType::Lzh;
      if (!lzhUsable) split.reset();
    }
    if (!split && asciiUpper(parentFolder(p)).ends_with(u".LZH")) return {};
  }
  if (!split || split->second.empty()) return LocateOnMedium(shown, p, false, true);
  if (type == ArchiveType::Zip && !zipUsable) return LocateOnMedium(shown, p, false, true);
  if (type != ArchiveType::Zip && (type != ArchiveType::Lzh || !lzhUsable)) return {};

  const auto& [archivePath, member] = *split;
  if (drivepath::leavesDrive(member)) return {};
  // A copy left from an earlier extraction must never pass for this member.
  const std::optional<NativePath> stale = drivepath::nativePathBelow(s_.files, s_.extractionFolder, member);
  if (!stale) return {};
  if (s_.files.stat(*stale) && s_.files.removeFile(*stale)) return {};

  const NativePath archive = LocateOnMedium(shown, archivePath, false, true);
  if (archive.empty()) return {};
  const ExtractReport report = s_.archives.ExtractMember(archive, type, member, s_.extractionFolder);
  if (report.written.empty()) return {};
  const NativePath written = s_.extractionFolder / cp932::toNativeName(report.written.front());
  return fileops::fileExists(s_.files, written) ? written : NativePath{};
}

// ---------------------------------------------------------------- File menu

MediumCommands mediumCommands(TextView kind, TextView label, bool listFileShown, bool modified) {
  MediumCommands c;
  c.refreshList = !label.empty() && listFileShown;
  c.diskImage = !kind.empty() && kind != DriveInfo::KindHD;
  c.save = modified;
  c.changeTitle = kind == DriveInfo::KindFD;
  return c;
}

}  // namespace zevro
