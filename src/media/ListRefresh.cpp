#include "media/ListRefresh.h"

#include <array>
#include <string>
#include <unordered_map>
#include <utility>

#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "core/ListFile.h"
#include "core/Numbers.h"
#include "core/Strings.h"
#include "media/FolderWalker.h"
#include "media/MediaReading.h"
#include "media/ReadingSplit.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

using namespace catalog;

constexpr std::size_t DriveLength = 2;  // u"E:"

// The flag bits of a row; a missing or invalid flag character ("0".."?" are
// the valid ones) counts as none, so that no control character is written.
int flagBitsOf(const RowStore& store, int row) {
  const TextView f = store.fieldView(FieldFlags, row);
  if (f.empty() || f[0] < FlagBase || f[0] > FlagBase + 15) return 0;
  return f[0] - FlagBase;
}

// Paths from level 1 of every row, built level by level as the rows come
// (u"DOCS", u"DOCS\\README.TXT"), without walking up for each row.
class PathWalk {
public:
  // The path of row r (rows visited in stored order), its last part given.
  const Text& next(const RowStore& store, int r, TextView lastPart) {
    const int level = store.level(r);
    if (level < 1) {
      current_.clear();
      return current_;
    }
    if (static_cast<int>(prefixes_.size()) < level) prefixes_.resize(static_cast<std::size_t>(level));
    const std::size_t at = static_cast<std::size_t>(level - 1);
    current_ = level > 1 ? prefixes_[at - 1] : Text();
    if (level > 1) current_ += ch::PathSeparator;
    current_ += lastPart;
    return current_;
  }
  // Remembers row r's own path (by its name) as the prefix of its level.
  void keep(const RowStore& store, int r, TextView name) {
    const int level = store.level(r);
    if (level < 1) return;
    if (static_cast<int>(prefixes_.size()) < level) prefixes_.resize(static_cast<std::size_t>(level));
    const std::size_t at = static_cast<std::size_t>(level - 1);
    Text& prefix = prefixes_[at];
    prefix = level > 1 ? prefixes_[at - 1] : Text();
    if (level > 1) prefix += ch::PathSeparator;
    prefix += name;
  }

private:
  std::vector<Text> prefixes_;
  Text current_;
};

// The record of a row with some fields replaced.
Text recordWith(const RowStore& store, int row, std::span<const std::pair<int, TextView>> changes) {
  std::array<TextView, RowStore::MaxField + 1> fields{};
  store.fieldsOf(row, fields);
  for (const auto& [k, text] : changes) fields[static_cast<std::size_t>(k)] = text;
  return buildRecord(fields);
}

// Replaces the store's rows: records (without the end marker) and the byte
// blocks of each row.
struct Rows {
  Text heap;
  std::string levels, treeFlags, kinds, colours;
  void add(const RowStore& from, int r, TextView record) {
    heap += record;
    levels.push_back(static_cast<char>(from.level(r)));
    treeFlags.push_back(static_cast<char>(from.treeFlags(r)));
    kinds.push_back(static_cast<char>(from.kind(r)));
    colours.push_back(static_cast<char>(from.colour(r)));
  }
  // False when memory ran out (the store is then empty).
  bool storeInto(RowStore& store) {
    heap.push_back(ch::Null);
    return store.loadBlocks(heap, levels, treeFlags, kinds, colours);
  }
};

// The folder a part of a split medium reads, below its drive: u"\\MAIL",
// u"" for the root part of a whole medium.
Text partFolder(TextView sourceField, TextView rootPath, bool isRoot) {
  if (isRoot) return Text(rootPath.substr(std::min(rootPath.size(), DriveLength)));
  return Text(sourceField.substr(std::min(sourceField.size(), DriveLength)));
}

}  // namespace

int ListRefresh::mergeUserEdits(const RowStore& shown, RowStore& fresh) {
  // The edited rows of the shown list by their path on the medium (a renamed
  // row by its name there). A later row of the same path wins.
  std::unordered_map<Text, int> edited;
  PathWalk old;
  for (int i = 1; i < shown.rowCount(); ++i) {
    const TextView name = shown.fieldView(FieldName, i);
    if (flagBitsOf(shown, i) != 0) {
      const TextView onMedium = shown.fieldView(FieldMediumName, i);
      edited[old.next(shown, i, onMedium.empty() ? name : onMedium)] = i;
    }
    old.keep(shown, i, name);
  }

  Rows rows;
  rows.heap.reserve(fresh.heap().size() + fresh.heap().size() / 8);
  int found = 0;
  PathWalk walk;
  for (int h = 0; h < fresh.rowCount(); ++h) {
    const TextView name = fresh.fieldView(FieldName, h);
    if (h == 0) {
      // The title line keeps what names the catalog and where it came from.
      const TextView title = shown.fieldView(FieldComment, 0);
      std::vector<std::pair<int, TextView>> keep;
      if (!title.empty()) keep.emplace_back(FieldComment, title);
      for (int k : {FieldFlags, FieldMediumName, FieldImage, FieldSpare})
        keep.emplace_back(k, shown.fieldView(k, 0));
      rows.add(fresh, h, shown.rowCount() > 0 ? recordWith(fresh, h, keep) : Text(fresh.record(h)));
      continue;
    }
    walk.keep(fresh, h, name);
    const auto it = edited.empty() ? edited.end() : edited.find(walk.next(fresh, h, name));
    if (it == edited.end()) {
      rows.add(fresh, h, fresh.record(h));
      continue;
    }
    const int i = it->second;
    edited.erase(it);  // the first fresh row of the path takes the edits
    ++found;
    int bits = flagBitsOf(shown, i);
    std::vector<std::pair<int, TextView>> changes;
    if (bits & FlagMediumName) {
      changes.emplace_back(FieldMediumName, shown.fieldView(FieldMediumName, i));
      changes.emplace_back(FieldName, shown.fieldView(FieldName, i));
    }
    if (bits & FlagUserComment) {
      if (fresh.fieldView(FieldComment, h) != shown.fieldView(FieldComment, i))
        changes.emplace_back(FieldComment, shown.fieldView(FieldComment, i));
      else
        bits &= ~FlagUserComment;
    }
    if (bits & FlagUserDate) {
      if (fresh.fieldView(FieldDate, h) != shown.fieldView(FieldDate, i))
        changes.emplace_back(FieldDate, shown.fieldView(FieldDate, i));
      else
        bits &= ~FlagUserDate;
    }
    if (bits & FlagImage) changes.emplace_back(FieldImage, shown.fieldView(FieldImage, i));
    bits |= flagBitsOf(fresh, h);
    const Text flag(1, static_cast<char16_t>(FlagBase + bits));
    changes.emplace_back(FieldFlags, flag);
    rows.add(fresh, h, recordWith(fresh, h, changes));
  }
  return rows.storeInto(fresh) ? found : -1;
}

void ListRefresh::keepEntries(RowStore& fresh, const std::function<bool(TextView name)>& keep) {
  if (fresh.rowCount() == 0) return;
  Rows rows;
  rows.heap.reserve(fresh.heap().size());
  std::int64_t total = 0;
  bool kept = false;
  for (int r = 1; r < fresh.rowCount(); ++r) {
    if (fresh.level(r) == 1) {
      kept = keep(fresh.fieldView(FieldName, r));
      if (kept) {
        const std::int64_t size = FolderWalker::SizeValue(fresh.fieldView(FieldSize, r));
        total = size > INT64_MAX - total ? INT64_MAX : total + size;
      }
    }
    if (kept) rows.add(fresh, r, fresh.record(r));
  }
  const Text size = groupedNumber(total);
  const std::pair<int, TextView> change{FieldSize, size};
  Rows all;
  all.add(fresh, 0, recordWith(fresh, 0, {&change, 1}));
  all.heap += rows.heap;
  all.levels += rows.levels;
  all.treeFlags += rows.treeFlags;
  all.kinds += rows.kinds;
  all.colours += rows.colours;
  if (!all.storeInto(fresh)) return;
  fresh.deriveIndexAndTreeFlags();
  prepareMarks(fresh);
}

std::set<Text> ListRefresh::topNames(const RowStore& list) {
  std::set<Text> names;
  for (int r = 1; r < list.rowCount(); ++r)
    if (list.level(r) == 1) names.insert(list.field(FieldName, r));
  return names;
}

ListRefresh::Source ListRefresh::sourceOf(MediumLocator& locator, FileSystem& files, const NativePath& catalogFolder,
                                          const ShownCatalog& shown) {
  Source source;
  if (shown.list == nullptr || shown.list->rowCount() == 0) return source;
  const RowStore& list = *shown.list;
  const Text fileName = cp932::fromNativeName(shown.listFile.filename().native());
  const Text mark = asciiUpper(list.fieldView(ReadingSplit::FieldMark, 0));

  if (mark.empty()) {
    const Text located = locator.LocateMediumPath(shown);
    if (located.empty()) return source;
    source.path = located;
    // A whole medium whose recorded source folder is where it was found is
    // not read again over itself.
    if (fileName.find(u' ') == Text::npos && list.fieldView(FieldMediumName, 0) == TextView(located))
      source.outcome = Source::Outcome::SameAsSource;
    else
      source.outcome = Source::Outcome::Found;
    return source;
  }

  // A part of a split medium: the medium is found as its root part would
  // find it, and the part's folder is read below that.
  std::vector<Text> names;
  for (const DirEntry& e : files.list(catalogFolder))
    if (!e.isFolder()) names.push_back(fileops::nameOf(e));
  Text rootName;
  for (const Text& n : names)
    if (ReadingSplit::markOfName(n) == mark) rootName = n;
  if (rootName.empty()) rootName = u"_00" + mark;  // the root part was deleted: its name still finds the medium
  const ShownCatalog rootShown{catalogFolder / cp932::toNativeName(rootName), &list};
  const Text rootPath = locator.LocateMediumPath(rootShown);
  if (rootPath.empty()) return source;
  const bool isRoot = ReadingSplit::markOfName(fileName) == mark;
  const Text own = partFolder(list.fieldView(FieldMediumName, 0), rootPath, isRoot);
  source.path = rootPath.substr(0, DriveLength) + own;
  source.outcome = Source::Outcome::Found;

  // What the other parts hold of this folder: their entries when they read
  // the same folder, the first folder below it when they read one further down.
  std::set<Text> claimed;
  const Text ownUpper = asciiUpper(own);
  std::vector<Text> others;
  if (!isRoot) others.push_back(rootName);
  for (const MediaReading::ExistingCatalog& part : MediaReading::partsOf(files, catalogFolder, names, rootName))
    if (asciiUpper(part.fileName) != asciiUpper(fileName)) others.push_back(part.fileName);
  for (const Text& other : others) {
    RowStore part;
    if (!listfile::read(files, catalogFolder / cp932::toNativeName(other), part).loaded() || part.rowCount() == 0)
      continue;
    const bool otherRoot = ReadingSplit::markOfName(other) == mark;
    const Text folder = asciiUpper(partFolder(part.fieldView(FieldMediumName, 0), rootPath, otherRoot));
    if (folder == ownUpper) {
      const std::set<Text> theirs = topNames(part);
      claimed.insert(theirs.begin(), theirs.end());
    } else if (folder.size() > ownUpper.size() + 1 && folder.starts_with(ownUpper + ch::PathSeparator)) {
      // The folder below this part's folder, in the case the medium has it.
      const TextView rest = TextView(part.fieldView(FieldMediumName, 0)).substr(DriveLength + own.size() + 1);
      claimed.insert(Text(rest.substr(0, rest.find(ch::PathSeparator))));
    }
  }
  std::set<Text> mine = topNames(list);
  source.keepEntry = [mine = std::move(mine), claimed = std::move(claimed)](TextView name) {
    const Text n(name);
    return mine.contains(n) || !claimed.contains(n);
  };
  return source;
}

}  // namespace zevro
