#include "core/CatalogIndex.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "core/FileOps.h"
#include "core/ListFile.h"
#include "core/Record.h"
#include "core/Strings.h"
#include "platform/WriteLock.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr char16_t EntrySep = ch::ListSep;  // code 2 before and after every entry
constexpr char16_t TitleSep = 8;            // between name and title
constexpr char16_t OldNameEnd = 7;          // old records: a second name follows
constexpr char16_t Blank = u' ';

// Where the record heap starts: after the tag and the header characters.
constexpr std::size_t CurrentHeapStart = 64;  // "BX" + 62
constexpr std::size_t OldHeapStart = 21;      // "AX" + 19

bool reserved(char16_t c) { return c == ch::Null || c == EntrySep || c == TitleSep; }

bool storableName(TextView name) {
  if (name.empty()) return false;
  return std::none_of(name.begin(), name.end(), [](char16_t c) { return reserved(c) || c == u'/'; });
}

// The bytes up to the first of `stops` at or after `from`, or all of them.
std::size_t firstOf(std::string_view bytes, std::string_view stops, std::size_t from) {
  const std::size_t at = bytes.find_first_of(stops, from);
  return at == std::string_view::npos ? bytes.size() : at;
}

// The text of [from, to) clipped to the text.
Text slice(TextView text, std::size_t from, std::size_t to) {
  from = std::min(from, text.size());
  to = std::clamp(to, from, text.size());
  return Text(text.substr(from, to - from));
}

// The title line of the current layout: field 1 is the title, field 0 the
// volume label. The line ends at the next code 16 or at the end marker; both
// are single bytes that never occur inside a double-byte character, so the
// cut is made before decoding and only the title line is decoded.
Text currentLayoutTitle(std::string_view heap) {
  const std::size_t end = std::min(firstOf(heap, std::string_view("\0", 1), 0),
                                   firstOf(heap, "\x10", std::min<std::size_t>(1, heap.size())));
  const Text text = cp932::decode(heap.substr(0, end));
  if (text.empty()) return {};
  const record::TitleLine line = record::titleLine(text);
  return CatalogIndex::entryTitle(line.title.text, line.label.text);
}

// The title line of the old layout: a record marker (the heap's first
// character), the label (a second name may follow after code 7), code 2, the
// title, code 2 … The record ends where its marker appears again.
Text oldLayoutTitle(std::string_view heap) {
  const std::size_t heapEnd = firstOf(heap, std::string_view("\0", 1), 0);
  const std::size_t firstSep = firstOf(heap, "\x02", 0);
  const std::size_t secondSep = firstSep < heapEnd ? firstOf(heap, "\x02", firstSep + 1) : heapEnd;
  const Text text = cp932::decode(heap.substr(0, std::min(heapEnd, secondSep)));
  if (text.empty()) return {};
  const std::size_t recordEnd = std::min(text.find(text[0], 1), text.size());
  const std::size_t sep = std::min(text.find(EntrySep, 1), recordEnd);
  Text label = slice(text, 1, sep);
  label = label.substr(0, label.find(OldNameEnd));
  const Text title = sep < recordEnd ? slice(text, sep + 1, recordEnd) : Text();
  return CatalogIndex::entryTitle(title, label);
}

// True when the bytes hold the end of the title line: the end of the heap,
// or the marker after the title (code 2 in the old layout) or the next record
// (code 16).
bool titleLineEnds(std::string_view bytes) {
  if (bytes.starts_with("AX")) {
    const std::string_view heap = bytes.substr(std::min(OldHeapStart, bytes.size()));
    const std::size_t first = firstOf(heap, "\x02", 0);
    return heap.find('\0') != std::string_view::npos || firstOf(heap, "\x02", first + 1) < heap.size();
  }
  const std::string_view heap = bytes.substr(std::min(CurrentHeapStart, bytes.size()));
  return heap.find('\0') != std::string_view::npos ||
         firstOf(heap, "\x10", std::min<std::size_t>(1, heap.size())) < heap.size();
}

// The entries with every name's first entry only: a name entered twice (by
// an older version, or two programs at once) would list its catalog twice.
std::vector<CatalogIndexEntry> withoutRepeats(std::vector<CatalogIndexEntry> entries) {
  std::unordered_set<Text> seen;
  std::erase_if(entries, [&](const CatalogIndexEntry& e) { return !seen.insert(e.name).second; });
  return entries;
}

}  // namespace

CatalogIndex::CatalogIndex(FileSystem& files, NativePath catalogFolder, NativePath programFolder)
    : files_(files), folder_(std::move(catalogFolder)), programFolder_(std::move(programFolder)) {}

NativePath CatalogIndex::indexPath() const { return fileops::resolved(files_, folder_ / FileName); }

void CatalogIndex::rebuildLookup() {
  lookup_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i) lookup_.emplace(entries_[i].name, i);
}

void CatalogIndex::append(CatalogIndexEntry entry) {
  added_.push_back(entry);
  lookup_.emplace(entry.name, entries_.size());
  entries_.push_back(std::move(entry));
  changed_ = true;
}

IoError CatalogIndex::load() {
  entries_.clear();
  lookup_.clear();
  changed_ = false;
  unreadable_ = {};
  added_.clear();
  removed_.clear();

  const NativePath path = indexPath();
  if (!files_.stat(path)) return {};
  std::string bytes;
  if (IoError error = files_.readFile(path, bytes, listfile::MaxFileSize)) {
    unreadable_ = error;
    return error;
  }
  const std::size_t end = bytes.find('\0');
  const std::string_view text =
      end == std::string::npos ? std::string_view(bytes) : std::string_view(bytes).substr(0, end + 1);
  entries_ = withoutRepeats(decode(text));
  rebuildLookup();
  prune();
  if (encode(entries_) == text) return {};
  changed_ = true;
  return write();
}

IoError CatalogIndex::loadFolder(NativePath catalogFolder) {
  folder_ = std::move(catalogFolder);
  return load();
}

bool CatalogIndex::prune() {
  IoError error;
  const std::vector<DirEntry> listing = files_.list(folder_, &error);
  if (error) return false;
  std::unordered_set<Text> present;
  for (const DirEntry& e : listing)
    if (!e.isFolder() && !e.linkToFolder) present.insert(asciiLower(fileops::nameOf(e)));
  const auto gone = [&](const CatalogIndexEntry& e) {
    if (present.contains(e.name)) return false;
    removed_.push_back(e.name);
    return true;
  };
  if (std::erase_if(entries_, gone) > 0) rebuildLookup();
  return true;
}

Text CatalogIndex::titleOf(TextView fileName) {
  if (!storableName(fileName)) return {};
  Text name = asciiLower(fileName);
  if (auto found = lookup_.find(name); found != lookup_.end()) return entries_[found->second].title;

  const NativePath path = fileops::resolved(files_, folder_ / cp932::toNativeName(fileName));
  std::string bytes;
  if (files_.readStart(path, bytes, listfile::TitleBytes)) return {};
  // A title line longer than the probe (a very long title) is read whole.
  if (bytes.size() == listfile::TitleBytes && !titleLineEnds(bytes) && files_.readFile(path, bytes, listfile::MaxFileSize))
    return {};
  Text title = titleFromListFile(bytes);
  if (title.empty()) return {};
  append({std::move(name), title});
  return title;
}

IoError CatalogIndex::removeEntry(TextView fileName) {
  const Text name = asciiLower(fileName);
  const auto same = [&](const CatalogIndexEntry& e) { return e.name == name; };
  std::erase_if(added_, same);
  removed_.push_back(name);
  if (std::erase_if(entries_, same) > 0) {
    rebuildLookup();
    changed_ = true;
  }
  return writeIfChanged();
}

IoError CatalogIndex::write() {
  if (unreadable_) return unreadable_;
  std::optional<WriteLock> lock;
  if (!programFolder_.empty() && !lock.emplace(programFolder_)) return {lock->error().code, lock->message()};
  const NativePath path = indexPath();
  if (files_.stat(path)) {
    std::string bytes;
    if (IoError error = files_.readFile(path, bytes, listfile::MaxFileSize)) return error;
    std::vector<CatalogIndexEntry> merged = withoutRepeats(decode(bytes));
    std::unordered_set<Text> gone(removed_.begin(), removed_.end());
    std::erase_if(merged, [&](const CatalogIndexEntry& e) { return gone.contains(e.name); });
    merged.insert(merged.end(), added_.begin(), added_.end());
    entries_ = withoutRepeats(std::move(merged));
    rebuildLookup();
  }
  IoError error = files_.writeFileAtomic(path, encode(entries_));
  if (error) return error;
  changed_ = false;
  added_.clear();
  removed_.clear();
  return {};
}

IoError CatalogIndex::writeIfChanged() {
  if (!changed_) return {};
  return write();
}

std::string CatalogIndex::encode(const std::vector<CatalogIndexEntry>& entries) {
  Text text(1, EntrySep);
  for (const CatalogIndexEntry& e : entries) {
    text += e.name;
    text += TitleSep;
    text += storableTitle(e.title);
    text += EntrySep;
  }
  text += ch::Null;
  return cp932::encode(text);
}

std::vector<CatalogIndexEntry> CatalogIndex::decode(std::string_view bytes) {
  std::vector<CatalogIndexEntry> entries;
  Text text = cp932::decode(bytes);
  text = text.substr(0, text.find(ch::Null));
  if (text.size() <= 1 || text[0] != EntrySep) return entries;
  forEachName(text, [&](TextView piece) {
    const std::size_t sep = piece.find(TitleSep);
    if (sep == TextView::npos || sep == 0) return;
    entries.push_back({Text(piece.substr(0, sep)), Text(piece.substr(sep + 1))});
  });
  return entries;
}

Text CatalogIndex::storableTitle(TextView title) {
  Text out(title);
  std::replace_if(out.begin(), out.end(), reserved, Blank);
  return out;
}

Text CatalogIndex::entryTitle(TextView title, TextView label) {
  Text trimmed = trim(storableTitle(title));
  if (!trimmed.empty()) return trimmed;
  if (label.empty()) return {};
  return Text(UntitledHead) + storableTitle(label) + Text(UntitledTail);
}

Text CatalogIndex::titleFromListFile(std::string_view bytes) {
  if (bytes.size() < 2) return {};
  if (bytes.starts_with("AX")) return oldLayoutTitle(bytes.substr(std::min(OldHeapStart, bytes.size())));
  return currentLayoutTitle(bytes.substr(std::min(CurrentHeapStart, bytes.size())));
}

Text CatalogIndex::indexName(const NativePath& listFile) {
  return asciiLower(cp932::fromNativeName(listFile.filename().native()));
}

}  // namespace zevro
