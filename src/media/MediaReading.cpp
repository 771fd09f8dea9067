#include "media/MediaReading.h"

#include <algorithm>
#include <utility>

#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "core/ListFile.h"
#include "core/Numbers.h"
#include "core/Record.h"
#include "core/Strings.h"
#include "media/CatalogName.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr TextView AnyGenre = u"??";
constexpr std::size_t DriveLength = 2;       // u"E:"
constexpr std::size_t NamePrefixLength = 6;  // u"_01CD_"
constexpr std::size_t NameSuffixLength = 4;  // u".CCT"

// The path as the catalogs write it, without a trailing separator:
// u"e:/DOCS/" -> u"e:\\DOCS", u"E:\\" -> u"E:".
Text catalogPath(TextView path) {
  Text p(path);
  std::replace(p.begin(), p.end(), u'/', ch::PathSeparator);
  while (p.size() > DriveLength && p.back() == ch::PathSeparator) p.pop_back();
  return p;
}

// The medium title keeps no first ".": u"MY.DISK" -> u"MYDISK", u"A.B.C" -> u"AB.C".
Text withoutFirstDot(Text title) {
  const std::size_t dot = title.find(u'.');
  if (dot != Text::npos) title.erase(dot, 1);
  return title;
}

MediaReading::Outcome outcomeOf(CatalogNameResult::Failure failure) {
  return failure == CatalogNameResult::Failure::NoTitle ? MediaReading::Outcome::NoTitle
                                                        : MediaReading::Outcome::NoMedium;
}

}  // namespace

MediaReading::MediaReading(Services services, Settings settings, Hooks hooks)
    : services_(std::move(services)), settings_(std::move(settings)), hooks_(std::move(hooks)) {}

MediaReading::Result MediaReading::read(TextView requested, RowStore& store) {
  Result result = attempt(requested, store);
  if (!result.ok()) {
    // A reading that did not succeed leaves nothing behind.
    store.clear();
    result.replaced.reset();
  }
  return result;
}

MediaReading::Result MediaReading::attempt(TextView requested, RowStore& store) {
  Result result;
  const Text path = catalogPath(requested);
  const Text drive(path.substr(0, std::min(path.size(), DriveLength)));
  const bool folderReading = path.size() > DriveLength;
  Ui& ui = services_.platform.ui;

  const CatalogNameResult pattern =
      CatalogName(services_.drives, services_.titles, ui, services_.catalogFolder, path, AnyGenre, 0);
  if (!pattern) {
    result.outcome = outcomeOf(pattern.failure);
    return result;
  }
  std::vector<Text> names;
  if (!listCatalogFolder(names)) {
    result.outcome = Outcome::CatalogFolderUnreachable;
    return result;
  }
  int sequence = 0;
  result.namePattern = pattern.fileName;
  if (std::optional<ExistingCatalog> existing = findExisting(names, pattern.fileName, drive)) {
    const Existing answer = hooks_.askExisting ? hooks_.askExisting(*existing) : Existing::Cancel;
    result.answer = answer;
    if (answer == Existing::Cancel) {
      result.outcome = Outcome::Declined;
      return result;
    }
    if (answer == Existing::Replace) {
      result.replacedParts = partsOf(services_.platform.files, services_.catalogFolder, names, existing->fileName);
      result.replaced = std::move(existing);
    } else if ((sequence = freeSequence(names, pattern.fileName)) == 0) {
      ui.showMessage(NoFreeNumberMessage, mb::Ok, {});
      result.outcome = Outcome::NoFreeNumber;
      return result;
    }
  }

  const CatalogNameResult name = CatalogName(services_.drives, services_.titles, ui, services_.catalogFolder, path,
                                             zeroPadded(settings_.genre, 2), sequence);
  const std::optional<NativePath> folder = services_.drives.rootOf(path);
  if (!name || !folder) {
    result.outcome = name ? Outcome::NoMedium : outcomeOf(name.failure);
    return result;
  }
  result.catalogPath = name.path;
  result.fileName = name.fileName;
  result.baseFileName = sequence ? Text(name.fileName).erase(name.fileName.size() - 7, 3) : name.fileName;
  result.mediumTitle = withoutFirstDot(name.mediumTitle);
  result.mediumKind = DriveInfo::MediumKindNumber(name.fileName);

  store.clear();
  store.setSortOrder(listSortOf(settings_.walk.sortOrder));
  if (hooks_.status) hooks_.status(Text(ReadingText) + result.mediumTitle);
  WalkOptions options = settings_.walk;
  options.mediumKind = result.mediumKind;
  FolderWalker walker(services_.platform.files, ui, services_.icons, options, hooks_.progress, hooks_.walk);
  const bool finished = walker.WalkFolder(*folder, path, result.mediumTitle, store);
  result.problems = walker.problems();

  result.outcome = Outcome::Read;
  if (walker.cancelled()) {
    result.outcome = Outcome::Stopped;
  } else if (!finished) {
    result.outcome = Outcome::ListFull;
  } else if (std::any_of(result.problems.begin(), result.problems.end(), [&](const WalkProblem& p) {
               return p.kind == WalkProblem::Kind::Unreadable && p.path == path;
             })) {
    result.outcome = Outcome::Unreadable;
  } else if (store.rowCount() == 0) {
    result.outcome = Outcome::NothingRecorded;
  }
  if (result.outcome != Outcome::Read) return result;
  if (hooks_.status) hooks_.status(SizePassText);
  result.total = FolderWalker::AddFolderSizes(store);
  result.freeSpace = folderReading ? 0 : static_cast<std::int64_t>(services_.drives.Capacity(drive).free);
  result.parts = ReadingSplit::planIfTooLarge(store, path, settings_.listLimits);
  if (!result.parts.empty() && result.answer == Existing::AddAnother) {
    result.outcome = Outcome::TooLargeForAnother;
    return result;
  }
  if (!result.parts.empty()) {
    // Each part gets its own tree flags and marks when it is built.
    result.outcome = nameParts(result);
    return result;
  }
  // The tree flags and file marks a list is shown and stored with, the same
  // whichever front end stores it.
  store.deriveIndexAndTreeFlags();
  catalog::prepareMarks(store);
  return result;
}

MediaReading::Result MediaReading::refresh(TextView requested, TextView fileName, TextView mediumTitle,
                                           RowStore& store) {
  Result result;
  const Text path = catalogPath(requested);
  const Text drive(path.substr(0, std::min(path.size(), DriveLength)));
  result.fileName = Text(fileName);
  result.mediumTitle = Text(mediumTitle);
  result.mediumKind = DriveInfo::MediumKindNumber(fileName);
  const std::optional<NativePath> folder = services_.drives.rootOf(path);
  store.clear();
  if (!folder) return result;
  store.setSortOrder(listSortOf(settings_.walk.sortOrder));
  if (hooks_.status) hooks_.status(Text(ReadingText) + result.mediumTitle);
  WalkOptions options = settings_.walk;
  options.mediumKind = result.mediumKind;
  FolderWalker walker(services_.platform.files, services_.platform.ui, services_.icons, options, hooks_.progress,
                      hooks_.walk);
  const bool finished = walker.WalkFolder(*folder, path, result.mediumTitle, store);
  result.problems = walker.problems();
  result.outcome = walker.cancelled() ? Outcome::Stopped : !finished ? Outcome::ListFull : Outcome::Read;
  if (result.ok() && std::any_of(result.problems.begin(), result.problems.end(), [&](const WalkProblem& p) {
        return p.kind == WalkProblem::Kind::Unreadable && p.path == path;
      }))
    result.outcome = Outcome::Unreadable;
  if (!result.ok()) {
    store.clear();
    return result;
  }
  if (hooks_.status) hooks_.status(SizePassText);
  result.total = FolderWalker::AddFolderSizes(store);
  store.deriveIndexAndTreeFlags();
  catalog::prepareMarks(store);
  // Free space only for a whole medium (a folder reading's name has a blank).
  result.freeSpace =
      fileName.find(u' ') != TextView::npos ? 0 : static_cast<std::int64_t>(services_.drives.Capacity(drive).free);
  return result;
}

MediaReading::Outcome MediaReading::nameParts(Result& result) {
  // Parts of one folder are numbered like further lists of it; a name that
  // comes out twice (a CD's folder readings share the medium's name) takes
  // the next number.
  std::vector<Text> used;
  for (std::size_t i = 0; i < result.parts.size(); ++i) {
    const SplitPart& part = result.parts[i];
    Text name = result.fileName;  // the root's part keeps the medium's name
    for (int sequence = part.sequence; i > 0; ++sequence) {
      if (sequence > MaxSequence) {
        services_.platform.ui.showMessage(NoFreeNumberMessage, mb::Ok, {});
        return Outcome::NoFreeNumber;
      }
      const CatalogNameResult named = CatalogName(services_.drives, services_.titles, services_.platform.ui,
                                                  services_.catalogFolder, part.folder, zeroPadded(settings_.genre, 2),
                                                  sequence);
      if (!named) return outcomeOf(named.failure);
      name = named.fileName;
      if (std::find(used.begin(), used.end(), asciiUpper(name)) == used.end()) break;
    }
    used.push_back(asciiUpper(name));
    result.partNames.push_back(std::move(name));
  }
  return Outcome::Read;
}

std::vector<MediaReading::ExistingCatalog> MediaReading::partsOf(FileSystem& files, const NativePath& folder,
                                                                 const std::vector<Text>& names, TextView rootName) {
  std::vector<ExistingCatalog> parts;
  std::string bytes;
  if (files.readStart(folder / cp932::toNativeName(rootName), bytes, listfile::TitleBytes)) return parts;
  const Text mark = ReadingSplit::markOf(bytes);
  if (mark.empty()) return parts;  // not split
  // Parts share the root's name up to its extension: "_00HD_DATA MAIL.CCT".
  const Text stem = mark.substr(0, mark.rfind(u'.'));
  const Text root = asciiUpper(rootName);
  for (const Text& name : names) {
    if (asciiUpper(name) == root || ReadingSplit::markOfName(name).rfind(stem, 0) != 0) continue;
    ExistingCatalog part;
    part.fileName = name;
    part.path = folder / cp932::toNativeName(name);
    if (files.readStart(part.path, bytes, listfile::TitleBytes) || ReadingSplit::markOf(bytes) != mark) continue;
    part.title = existingTitle(bytes, name);
    parts.push_back(std::move(part));
  }
  return parts;
}

Text MediaReading::splitReport(const std::vector<Text>& names) {
  Text text = Text(SplitHead) + ascii(std::to_string(names.size())) + Text(SplitTail);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += u"|";
    text += names[i];
  }
  return text;
}

bool MediaReading::listCatalogFolder(std::vector<Text>& names) {
  for (;;) {
    IoError error;
    const std::vector<DirEntry> entries = services_.platform.files.list(services_.catalogFolder, &error);
    if (!error) {
      for (const DirEntry& e : entries)
        if (!e.isFolder()) names.push_back(fileops::nameOf(e));
      return true;
    }
    Text text(CatalogFolderMessage);
    text += u"||　　";
    text += cp932::fromNativeName(services_.catalogFolder.native());
    if (services_.platform.ui.showMessage(text, mb::OkCancel | mb::IconExclamation, {}) != AnswerOk) return false;
  }
}

std::optional<MediaReading::ExistingCatalog> MediaReading::findExisting(const std::vector<Text>& names,
                                                                        TextView pattern, TextView drive) {
  const auto it =
      std::find_if(names.begin(), names.end(), [&](const Text& n) { return fileops::matchesWildcard(pattern, n); });
  if (it == names.end()) return std::nullopt;
  ExistingCatalog existing;
  existing.fileName = *it;
  existing.path = services_.catalogFolder / cp932::toNativeName(*it);
  std::string bytes;
  services_.platform.files.readStart(existing.path, bytes, listfile::TitleBytes);
  existing.title = existingTitle(bytes, *it);
  existing.drive = Text(drive);
  existing.displayTitle = services_.titles.DisplayTitle(drive);
  return existing;
}

int MediaReading::freeSequence(const std::vector<Text>& names, TextView pattern) {
  for (int n = 1; n <= MaxSequence; ++n) {
    const Text numbered = numberedName(pattern, n);
    if (std::none_of(names.begin(), names.end(), [&](const Text& x) { return fileops::matchesWildcard(numbered, x); }))
      return n;
  }
  return 0;
}

namespace {

Text problemLine(const WalkProblem& p) {
  Text line;
  if (!p.path.empty()) line += u"\x08" + p.path + u"\x07　";
  switch (p.kind) {
    case WalkProblem::Kind::Unreadable:
      line += MediaReading::ProblemUnreadable;
      if (!p.error.empty()) line += u" (" + fromUtf8(p.error) + u")";
      break;
    case WalkProblem::Kind::NoDetails:
      line += MediaReading::ProblemNoDetails;
      if (!p.error.empty()) line += u" (" + fromUtf8(p.error) + u")";
      break;
    case WalkProblem::Kind::TooDeep: line += MediaReading::ProblemTooDeep; break;
    case WalkProblem::Kind::ListFull: line += MediaReading::ProblemListFull; break;
    case WalkProblem::Kind::BadDate: break;
  }
  return line;
}

}  // namespace

Text MediaReading::reportOf(const Result& result) {
  switch (result.outcome) {
    case Outcome::NoMedium: return Text(NoMediumMessage);
    case Outcome::Unreadable: {
      Text text(UnreadableMessage);
      for (const WalkProblem& p : result.problems)
        if (p.kind == WalkProblem::Kind::Unreadable) return text + u"||" + problemLine(p);
      return text;
    }
    case Outcome::NothingRecorded: return Text(NothingRecordedMessage);
    case Outcome::ListFull: return Text(ListFullMessage);
    case Outcome::TooLargeForAnother: return Text(TooLargeForAnotherMessage);
    case Outcome::Read: break;
    default: return {};
  }
  // Folders with bad dates were shown one by one during the walk.
  std::vector<const WalkProblem*> told;
  for (const WalkProblem& p : result.problems)
    if (p.kind != WalkProblem::Kind::BadDate) told.push_back(&p);
  if (told.empty()) return {};
  Text text = Text(ProblemsHead) + ascii(std::to_string(told.size())) + Text(ProblemsCount) + Text(ProblemsKept);
  for (std::size_t i = 0; i < told.size() && i < ProblemsListed; ++i) {
    if (i > 0) text += u"|";
    text += problemLine(*told[i]);
  }
  if (told.size() > ProblemsListed)
    text += u"|" + Text(ProblemsMore) + ascii(std::to_string(told.size() - ProblemsListed)) + Text(ProblemsMoreTail);
  return text;
}

Text MediaReading::existingTitle(std::string_view firstBytes, TextView fileName) {
  if (firstBytes.size() > listfile::HeaderSize) {
    const Text start = cp932::decode(firstBytes.substr(listfile::HeaderSize, listfile::TitleLineProbe));
    const record::TitleField title = record::titleLine(start).title;
    if (title.closed && !title.text.empty()) return Text(title.text);
  }
  if (fileName.size() <= NamePrefixLength + NameSuffixLength) return {};
  return Text(fileName.substr(NamePrefixLength, fileName.size() - NamePrefixLength - NameSuffixLength));
}

Text MediaReading::numberedName(TextView name, int sequence) {
  const std::size_t dot = name.rfind(u'.');
  const std::size_t at = dot == TextView::npos ? name.size() : dot;
  Text numbered(name.substr(0, at));
  numbered += u"-";
  numbered += zeroPadded(sequence, 2);
  numbered += name.substr(at);
  return numbered;
}

}  // namespace zevro
