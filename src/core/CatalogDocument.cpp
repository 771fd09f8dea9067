#include "core/CatalogDocument.h"

#include <algorithm>

#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "core/ListFileName.h"
#include "core/ListFileWriting.h"
#include "core/Numbers.h"
#include "core/OldDataConversion.h"
#include "core/Startup.h"
#include "core/Strings.h"
#include "platform/WriteLock.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr std::size_t KindHeadLength = 6;  // "_03FD_"
constexpr int ErrorFlags = mb::Ok | mb::IconExclamation;
constexpr int NumberedCopyDigits = 2;

Text withDetails(TextView head, TextView details) {
  Text text(head);
  text += u'|';
  text += details;
  return text;
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The name without its extension: u"_03FD_X DOCS.cct" -> u"_03FD_X DOCS".
TextView stem(TextView name) {
  const std::size_t dot = name.rfind(u'.');
  return dot == TextView::npos ? name : name.substr(0, dot);
}

// A catalog of the medium whose names start with `prefix` (lower case,
// "_03fd_" + label): the medium itself, a folder of it ("… DOCS") or a
// numbered copy ("…-02").
bool belongsToMedium(TextView name, TextView prefix) {
  const Text base = asciiLower(stem(name));
  if (base.size() < prefix.size() || TextView(base).substr(0, prefix.size()) != prefix) return false;
  const TextView rest = TextView(base).substr(prefix.size());
  if (rest.empty() || rest.front() == u' ') return true;
  return rest.size() == 1 + NumberedCopyDigits && rest[0] == u'-' && isDigit(rest[1]) && isDigit(rest[2]);
}

}  // namespace

CatalogDocument::CatalogDocument(Services services, Hooks hooks)
    : platform_(services.platform),
      catalogFolder_(std::move(services.catalogFolder)),
      programFolder_(std::move(services.programFolder)),
      index_(services.index),
      titleCache_(services.titleCache),
      icons_(services.icons),
      hooks_(std::move(hooks)) {
  catalog::makeCatalogList(list_);
}

// ---------------------------------------------------------------- state

Text CatalogDocument::currentFileName() const { return current_.empty() ? Text() : nameOf(current_); }

Text CatalogDocument::title() const { return list_.field(catalog::FieldComment, 0); }

Text CatalogDocument::rowCountText(int rows) {
  Text text(RowCountHead);
  text += groupedNumber(rows);
  text += RowCountTail;
  return text;
}

Text CatalogDocument::nameOf(const NativePath& path) const { return cp932::fromNativeName(path.filename().native()); }

NativePath CatalogDocument::backupFolder() const { return programFolder_ / BackupFolderName; }

void CatalogDocument::message(TextView text, int flags) { platform_.ui.showMessage(text, flags, u""); }

void CatalogDocument::forget() {
  list_.clear();
  current_.clear();
}

// ---------------------------------------------------------------- load

bool CatalogDocument::confirmDiscard() {
  if (!modified()) return true;
  const int answer = platform_.ui.showMessage(SaveQuestion, mb::YesNoCancel | mb::IconQuestion, u"");
  if (answer == AnswerNo) return true;
  if (answer != AnswerYes) return false;
  return save();
}

CatalogDocument::LoadResult CatalogDocument::load(TextView fileName, bool jump) {
  if (!confirmDiscard()) return LoadResult::Cancelled;
  list_.clear();
  const std::optional<std::string> onDisk = platform_.files.resolveName(catalogFolder_, cp932::toNativeName(fileName));
  if (!onDisk) {
    platform_.ui.beep();
    current_.clear();
    return LoadResult::Missing;
  }
  const NativePath path = catalogFolder_ / *onDisk;
  const Text name = nameOf(path);

  listfile::ReadResult result = listfile::read(platform_.files, path, list_);
  // Old data is converted once; a file that stays old is refused rather
  // than converted again and again.
  if (isOldListFile(result, path) && hooks_.convertOldFiles && hooks_.convertOldFiles())
    result = listfile::read(platform_.files, path, list_);
  if (!result.loaded()) {
    reportRead(result, name);
    forget();
    return LoadResult::Refused;
  }

  freeSpace_ = result.header.freeSpace;
  iconStamp_ = result.header.iconStamp;
  if (icons_ && icons_->stamp() != iconStamp_) ReDeriveKinds(list_, *icons_, iconStamp_, hooks_.onLowKindCode);
  // The list now holds this file's rows, so it is this file that a later
  // save writes, whatever the display.
  current_ = path;
  if (jump) {
    catalog::assignColourIndexes(list_);
    mediumKind_ = listfilename::mediumKindOf(name);
    genre_ = listfilename::genreOf(name);
    // A file of a newer tag is written back in the current layout; a
    // truncated one is left as it is on disk.
    if (result.header.tag != listfile::CurrentTag && result.status == listfile::ReadStatus::Ok) {
      if (std::optional<NativePath> written = writeListFile(current_, true)) current_ = *written;
    }
  }
  if (hooks_.refreshCatalogList) hooks_.refreshCatalogList(nameOf(current_));
  return LoadResult::Loaded;
}

// "AX", or a file that does not read as current but whose header is one of
// the generations before "AX".
bool CatalogDocument::isOldListFile(const listfile::ReadResult& result, const NativePath& path) {
  if (result.status == listfile::ReadStatus::OldLayout) return true;
  if (result.status != listfile::ReadStatus::Damaged) return false;
  std::string start;
  if (platform_.files.readStart(path, start, listfile::OldHeaderSize)) return false;
  const OldDataConversion::Generation g = OldDataConversion::generationOf(start);
  return g == OldDataConversion::Generation::AH || g == OldDataConversion::Generation::Untagged;
}

void CatalogDocument::reportRead(const listfile::ReadResult& result, TextView fileName) {
  platform_.ui.beep();
  switch (result.status) {
    case listfile::ReadStatus::OldLayout: message(withDetails(OldLayoutMessage, fileName), ErrorFlags); return;
    case listfile::ReadStatus::CannotRead:
      message(withDetails(ReadFailedMessage, fromUtf8(result.error.text) + u"|" + Text(fileName)), ErrorFlags);
      return;
    default: message(withDetails(DamagedMessage, fileName), ErrorFlags); return;
  }
}

// ---------------------------------------------------------------- save

bool CatalogDocument::save() {
  if (hooks_.commitEdit) hooks_.commitEdit();
  switch (listfile::checkLimits(list_)) {
    case listfile::Limit::TooManyRows: message(TooManyRowsMessage, mb::Ok); return false;
    case listfile::Limit::TooManyCharacters: message(TooManyCharactersMessage, mb::Ok); return false;
    case listfile::Limit::Ok: break;
  }
  if (current_.empty() || list_.rowCount() == 0) {
    platform_.ui.beep();
    return false;
  }
  if (!list_.field(catalog::FieldComment, 0).empty() || !list_.field(catalog::FieldName, 0).empty())
    return saveWithTitle();

  // No title and no label: the catalog could not be listed. Ask for a
  // title (the change-title question about the modified list is not asked);
  // giving none ends the save with the list still marked modified.
  const bool wasModified = modified();
  setModified(false);
  const TitleOutcome outcome = askTitleAndSave(false);
  if (outcome == TitleOutcome::Saved) return true;
  if (outcome == TitleOutcome::NoTitle) {
    message(TitleRequiredMessage, mb::Ok);
    setModified(wasModified);
  }
  return false;
}

bool CatalogDocument::saveWithTitle() {
  const NativePath previous = current_;
  // The name, the file and the index change together while no other program
  // writes to the program folder.
  std::optional<WriteLock> lock;
  if (!programFolder_.empty() && !lock.emplace(programFolder_)) {
    message(withDetails(WriteFailedMessage, fromUtf8(lock->message())), ErrorFlags);
    return false;
  }
  if (hooks_.beforeWrite && !hooks_.beforeWrite()) return false;
  const std::optional<NativePath> written = writeListFile(current_, false);
  if (!written) return false;
  current_ = *written;
  // The index takes the catalog again, with its new title, when the
  // selection list is refreshed.
  index_.removeEntry(nameOf(previous));
  if (previous.filename() != current_.filename()) index_.removeEntry(nameOf(current_));
  setModified(false);
  if (hooks_.afterWrite) hooks_.afterWrite(nameOf(current_));
  if (hooks_.openGenre) hooks_.openGenre(listfilename::genreOf(nameOf(current_)));
  if (hooks_.refreshCatalogList) hooks_.refreshCatalogList(nameOf(current_));
  return true;
}

bool CatalogDocument::changeTitle() {
  if (hooks_.commitEdit) hooks_.commitEdit();
  return askTitleAndSave(true) == TitleOutcome::Saved;
}

CatalogDocument::TitleOutcome CatalogDocument::askTitleAndSave(bool askFirst) {
  if (list_.rowCount() == 0) {
    platform_.ui.beep();
    return TitleOutcome::NotSaved;
  }
  if (askFirst && modified() &&
      platform_.ui.showMessage(ChangeTitleQuestion, mb::YesNo | mb::IconQuestion, u"") != AnswerYes)
    return TitleOutcome::NotSaved;
  const Text answer = platform_.ui.inputLine(ChangeTitlePrompt, ChangeTitleCaption, title());
  if (answer.empty()) return TitleOutcome::NoTitle;
  list_.setField(catalog::FieldComment, 0, answer);
  setModified(true);
  return save() ? TitleOutcome::Saved : TitleOutcome::NotSaved;
}

// ---------------------------------------------------------------- write

listfile::Header CatalogDocument::headerFor(std::int64_t freeSpace, const Text& iconStamp) const {
  listfile::Header header;
  header.displayMode = hooks_.displayMode ? hooks_.displayMode() : 0;
  header.iconStamp = iconStamp;
  header.freeSpace = freeSpace;
  return header;
}

std::optional<NativePath> CatalogDocument::writeListFile(const NativePath& path, bool keepTime) {
  const WriteOutcome outcome = writeStore(list_, headerFor(freeSpace_, iconStamp_), path, keepTime);
  if (!reportWrite(outcome, path)) return std::nullopt;
  return outcome.path;
}

bool CatalogDocument::reportWrite(const WriteOutcome& outcome, const NativePath& path) {
  if (outcome.written) return true;
  if (outcome.limit == listfile::Limit::TooManyRows) {
    message(TooManyRowsMessage, mb::Ok);
  } else if (outcome.limit == listfile::Limit::TooManyCharacters) {
    message(TooManyCharactersMessage, mb::Ok);
  } else {
    message(withDetails(WriteFailedMessage, fromUtf8(outcome.error.text) + u"|" + nameOf(path)), ErrorFlags);
  }
  return false;
}

CatalogDocument::WriteOutcome CatalogDocument::writeStore(const RowStore& store, const listfile::Header& header,
                                                          const NativePath& path, bool keepTime) {
  return listfile::writeToDisk(platform_, backupFolder(), store, header, path, keepTime);
}

// ---------------------------------------------------------------- relabel

bool CatalogDocument::relabel(char driveLetter, TextView oldLabel, TextView newLabel) {
  const Text currentName = currentFileName();
  if (currentName.size() < KindHeadLength || newLabel.empty()) {
    platform_.ui.beep();
    return false;
  }
  if (!confirmDiscard()) return false;

  FileSystem& files = platform_.files;
  const Text oldPart = listfilename::replaceNameCharacters(oldLabel);
  const Text newPart = listfilename::replaceNameCharacters(newLabel);
  const Text prefix = asciiLower(TextView(currentName).substr(0, KindHeadLength)) + asciiLower(oldPart);

  struct Rename {
    Text from;
    Text to;
  };
  std::vector<Rename> renames;
  // The name says which catalogs may be the medium's; the label in the
  // title line decides, so that "My Disk Two" is not taken for a folder
  // "Two" of "My Disk".
  const Text wantedLabel = asciiUpper(oldLabel);
  for (const Text& name : namesOf(fileops::listFiles(files, catalogFolder_, u"*.cct"))) {
    if (!belongsToMedium(name, prefix)) continue;
    std::string bytes;
    if (files.readFile(catalogFolder_ / cp932::toNativeName(name), bytes)) continue;
    const std::optional<Text> label = listfile::titleLineLabel(bytes);
    if (!label || asciiUpper(*label) != wantedLabel) continue;
    Text to = name.substr(0, KindHeadLength) + newPart + name.substr(prefix.size());
    renames.push_back({name, listfilename::normalizedForWriting(to)});
  }
  // Another catalog already holding a new name is never replaced.
  for (const Rename& r : renames) {
    const std::optional<std::string> taken = files.resolveName(catalogFolder_, cp932::toNativeName(r.to));
    if (taken && asciiLower(cp932::fromNativeName(*taken)) != asciiLower(r.from)) {
      message(withDetails(RelabelTargetExistsMessage, cp932::fromNativeName(*taken)), ErrorFlags);
      return false;
    }
  }

  bool all = true;
  for (const Rename& r : renames) {
    const NativePath from = catalogFolder_ / cp932::toNativeName(r.from);
    RowStore store;
    catalog::makeCatalogList(store);
    const listfile::ReadResult read = listfile::read(files, from, store);
    if (!read.loaded()) {
      reportRead(read, r.from);
      all = false;
      continue;
    }
    store.setField(catalog::FieldName, 0, newLabel);
    const WriteOutcome written = writeStore(store, headerFor(read.header.freeSpace, read.header.iconStamp),
                                            catalogFolder_ / cp932::toNativeName(r.to), false);
    if (!reportWrite(written, from)) {
      all = false;
      break;
    }
    // The old file goes only now that the new one is complete; a name that
    // changed only in case was replaced by the write itself.
    if (written.path.filename() != from.filename() && files.stat(from)) {
      if (files.removeFile(from)) platform_.ui.systemMessage(fileops::cannotDeleteText(from), mb::Ok, u"");
    }
    index_.removeEntry(r.from);
    index_.removeEntry(nameOf(written.path));
    if (asciiLower(r.from) == asciiLower(currentName)) current_ = written.path;
    if (hooks_.refreshCatalogList) hooks_.refreshCatalogList(nameOf(written.path));
  }

  titleCache_.setTitle(driveLetter, newLabel);
  setModified(false);  // the question was asked above
  load(nameOf(current_), true);
  return all;
}

// ---------------------------------------------------------------- find

std::optional<Text> CatalogDocument::findCatalogOfMedium(TextView kind, TextView title) {
  if (!kind.empty()) {
    Text pattern = u"_??";
    pattern += kind.front();
    pattern += u"D_*.CCT";
    const Text wanted = asciiUpper(title);
    for (const Text& name : namesOf(fileops::listFiles(platform_.files, catalogFolder_, pattern))) {
      std::string bytes;
      if (platform_.files.readStart(catalogFolder_ / cp932::toNativeName(name), bytes, listfile::TitleBytes)) continue;
      const std::optional<Text> label = listfile::titleLineLabel(bytes);
      if (label && asciiUpper(*label) == wanted) return name;
    }
  }
  message(MediumCatalogNotFoundMessage, mb::Ok);
  return std::nullopt;
}

}  // namespace zevro
