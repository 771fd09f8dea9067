#include "media/RowOpener.h"

#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "core/Strings.h"
#include "media/DriveInfo.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr char16_t BoldOn = 8;
constexpr char16_t BoldOff = 7;

bool listed(TextView list, TextView extension) {
  return !extension.empty() && list.find(u"/" + Text(extension) + u"/") != TextView::npos;
}

constexpr TextView BeepOnlyTypes = u"/COM/BAT/DRV/DLL/VXD/X86/286/386/SYS/OCX/OCA/DAT/REG/VBX/CAB/LIB/BAS/INS/";
constexpr TextView LockedTypes = u"/MPN/MPNG/AVN/";
constexpr TextView VideoTypes = u"/MPG/MPEG/AVI/WMV/RM/VOB/IFO/";

}  // namespace

OpenAction RowOpener::actionFor(TextView extension, bool useExternal, bool lzhUsable, bool zipUsable) {
  if (extension == u"LZH") return useExternal || !lzhUsable ? OpenAction::ShellOpen : OpenAction::ExtractArchive;
  if (extension == u"ZIP") return useExternal || !zipUsable ? OpenAction::ShellOpen : OpenAction::ExtractArchive;
  if (extension == u"EXE") return OpenAction::AskThenOpen;
  if (listed(BeepOnlyTypes, extension)) return OpenAction::BeepOnly;
  if (listed(LockedTypes, extension)) return OpenAction::LockedVideo;
  if (listed(VideoTypes, extension)) return OpenAction::Play;
  return OpenAction::ShellOpen;
}

Text RowOpener::relativePath(const RowStore& list, int row) {
  Text p = list.rowPath(row, 1);
  const TextView mediumName = list.fieldView(catalog::FieldMediumName, row);
  if (mediumName.empty()) return p;
  const Text parent = parentFolder(p);
  return parent.empty() ? Text(mediumName) : parent + ch::PathSeparator + Text(mediumName);
}

Text RowOpener::runQuestion(TextView fileName, TextView kind) {
  Text out{BoldOn};
  out += fileName;
  out += BoldOff;
  out += RunQuestionTail;
  if (kind != DriveInfo::KindHD) out += u"||" + Text(HardDiskWarning);
  return out;
}

std::vector<std::string> RowOpener::audioCdArguments(TextView command, const NativePath& file) {
  const std::size_t percent = command.find(u'%');
  const std::string words = cp932::toNativeName(command.substr(0, percent));
  std::vector<std::string> out;
  std::size_t at = 0;
  while (at < words.size()) {
    const std::size_t end = words.find(' ', at);
    if (end != at) out.push_back(words.substr(at, end - at));
    if (end == std::string::npos) break;
    at = end + 1;
  }
  out.push_back(file.native());
  return out;
}

std::optional<NativePath> RowOpener::player() {
  if (settings.useOldPlayer) return s_.programs.find(OldPlayer);
  if (std::optional<NativePath> newer = s_.programs.find(NewPlayer)) return newer;
  return s_.programs.find(DvdPlayer);
}

void RowOpener::OpenRowFile(const ShownCatalog& shown, int row, int track) {
  if (shown.list == nullptr || row <= 0 || row >= shown.list->rowCount()) {
    s_.ui.beep();
    return;
  }
  if (catalog::isFolderLike(shown.list->kind(row))) return;
  Text p = relativePath(*shown.list, row);
  s_.files.removeTree(s_.extractionFolder);

  Text extension = extensionOf(p, true);
  if (extension.empty() && shown.list->fieldView(catalog::FieldName, 0) == DriveInfo::AudioCdLabel) {
    const int n = track % 100;
    p = u"Track" + Text{static_cast<char16_t>(u'0' + n / 10), static_cast<char16_t>(u'0' + n % 10)} + u".CDA";
    extension = u"CDA";
  }
  const ArchiveType archive = archiveTypeOf(p);
  switch (actionFor(extension, settings.useExternal, s_.archives.available(ArchiveType::Lzh),
                    settings.zipUsable && s_.archives.available(ArchiveType::Zip))) {
    case OpenAction::ShellOpen: shellOpen(shown, p, extension, row); return;
    case OpenAction::ExtractArchive: extractArchive(shown, p, archive); return;
    case OpenAction::BeepOnly: s_.ui.beep(); return;
    case OpenAction::AskThenOpen: {
      const Text name = fileNamePart(p);
      const Text lower = asciiLower(name);
      if (lower.find(u"setup") == Text::npos && lower.find(u"inst") == Text::npos) {
        const Text kind = MediumLocator::mediumOf(cp932::fromNativeName(shown.listFile.filename().native()), {}).kind;
        const int answer =
            s_.ui.showMessage(runQuestion(name, kind), mb::YesNo | mb::DefaultSecond | mb::IconExclamation, {});
        if (answer != AnswerYes) return;
      }
      shellOpen(shown, p, extension, row);
      return;
    }
    case OpenAction::LockedVideo:
      if (!player()) return;
      if (!passwordAccepted) {
        const Text answer = s_.ui.inputLine(PasswordPrompt, PasswordCaption, {});
        passwordAccepted = answer == Password;
      }
      if (passwordAccepted) play(shown, p, row);
      return;
    case OpenAction::Play: play(shown, p, row); return;
  }
}

void RowOpener::shellOpen(const ShownCatalog& shown, TextView p, TextView extension, int row) {
  const NativePath file = s_.locator.LocateFile(shown, p, row);
  if (file.empty() || !fileops::fileExists(s_.files, file)) {
    s_.ui.beep();
    return;
  }
  // A compressed installer file ("SETUP.EX_") is found but never opened.
  if (p.ends_with(u"_")) return;
  if (s_.ui.openWithDefault(file.native())) return;
  if (extension == u"CDA") {
    const std::vector<std::string> words = audioCdArguments(settings.audioCdCommand, file);
    if (words.size() < 2) return;
    std::optional<NativePath> program = words[0].find('/') != std::string::npos
                                            ? std::optional<NativePath>(words[0])
                                            : s_.programs.find(words[0]);
    if (program) s_.programs.start(*program, std::vector<std::string>(words.begin() + 1, words.end()));
    return;
  }
  if (s_.ui.openWithDefault(file.native())) return;
  // The desktop has no program for it: say so rather than leave the user
  // waiting for a window that never opens.
  s_.ui.showMessage(Text(NoProgramMessage) + cp932::fromNativeName(file.filename().native()),
                    mb::Ok | mb::IconExclamation, u"");
}

void RowOpener::extractArchive(const ShownCatalog& shown, TextView p, ArchiveType type) {
  const NativePath archive = s_.locator.LocateOnMedium(shown, p, false, true);
  if (archive.empty()) return;
  const Text title = cp932::fromNativeName(archive.filename().native()) + Text(ExtractTitleTail);
  const Text folder = s_.ui.browseForFolder(cp932::fromNativeName(archive.parent_path().native()), title);
  if (folder.empty()) return;
  // Every member lands below the chosen folder or not at all; nothing
  // there is overwritten.
  const ExtractReport report = s_.archives.ExtractMember(archive, type, {}, cp932::toNativeName(folder));
  if (!report.success()) s_.ui.beep();
}

void RowOpener::play(const ShownCatalog& shown, TextView p, int row) {
  const std::optional<NativePath> program = player();
  if (!program) return;
  const NativePath file = s_.locator.LocateFile(shown, p, row);
  if (file.empty() || !fileops::fileExists(s_.files, file)) {
    s_.ui.beep();
    return;
  }
  s_.programs.start(*program, {file.native()});
}

}  // namespace zevro
