#include "compare/CompareFormLogic.h"

#include "compare/DuplicateFinder.h"
#include "compare/OnlyHereFinder.h"
#include "core/Numbers.h"
#include "core/Strings.h"
#include "platform/FileView.h"
#include "search/ListFileBytes.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

// A result row's record: title, path, date, size (grouped digits).
Text recordOf(TextView title, TextView path, TextView date, std::uint64_t size) {
  Text r;
  r.reserve(title.size() + path.size() + date.size() + 24);
  r += u'\x10';
  r += title;
  r += u'\x11';
  r += path;
  r += u'\x12';
  r += date;
  r += u'\x13';
  r += groupedNumber(static_cast<std::int64_t>(size));
  r += u'\x14';
  return r;
}

}  // namespace

CompareFormLogic::CompareFormLogic(RowStore& grid) : grid_(grid) {}

CatalogScan::Hooks CompareFormLogic::withStop(CatalogScan::Hooks hooks) {
  std::function<bool()> pump = std::move(hooks.pump);
  hooks.pump = [this, pump] { return (!pump || pump()) && !stopRequested_; };
  return hooks;
}

void CompareFormLogic::start(Mode mode) {
  mode_ = mode;
  running_ = true;
  stopRequested_ = false;
  grid_.clear();
  targets_.clear();
  found_ = {};
  changes_.clear();
  subject_.clear();
}

bool CompareFormLogic::append(TextView title, TextView path, TextView date, std::uint64_t size, int mark,
                              Target target) {
  if (!grid_.appendShown(recordOf(title, path, date, size), 0, mark, 0, 0)) return false;
  targets_.push_back(std::move(target));
  return true;
}

void CompareFormLogic::fillRows() {
  std::vector<int> groupOf(found_.rows.size(), 0);
  for (std::size_t g = 0; g < found_.groups.size(); ++g) {
    const FileGroup& group = found_.groups[g];
    for (int i = group.first; i < group.first + group.count; ++i)
      groupOf[static_cast<std::size_t>(i)] = static_cast<int>(g) + 1;
  }
  for (std::size_t i = 0; i < found_.rows.size(); ++i) {
    const FoundRow& r = found_.rows[i];
    const SearchListEntry& catalog = found_.catalogs[static_cast<std::size_t>(r.catalog)];
    const int group = groupOf[i];
    const int mark = group > 0 ? (group - 1) % GroupColours + 1 : 0;
    if (!append(catalog.title, found_.pathOf(r), found_.dateOf(r), r.size, mark, {catalog.fileName, group})) break;
  }
}

bool CompareFormLogic::findDuplicates(FileSystem& files, const NativePath& catalogFolder,
                                      const CompareFilters& filters, CatalogScan::Hooks hooks) {
  start(Mode::Duplicates);
  CompareScan scan(files, catalogFolder, withStop(std::move(hooks)));
  scan.start(filters.media);
  found_ = DuplicateFinder::find(scan, filters);
  running_ = false;
  if (found_.cancelled) return false;
  fillRows();
  return true;
}

bool CompareFormLogic::findOnlyHere(FileSystem& files, const NativePath& catalogFolder, TextView fileName,
                                    const CompareFilters& filters, CatalogScan::Hooks hooks) {
  start(Mode::OnlyHere);
  FileView view;
  if (files.viewFile(catalogFolder / cp932::toNativeName(fileName), view) ||
      ListFileBytes(view.bytes()).layout() != ListFileBytes::Layout::Current) {
    running_ = false;
    return true;  // nothing to compare: the catalog is not there (any more)
  }
  CompareScan scan(files, catalogFolder, withStop(std::move(hooks)));
  scan.start(filters.media);
  found_ = OnlyHereFinder::find(scan, view.bytes(), fileName, filters);
  subject_ = found_.catalogs.empty() ? Text() : found_.catalogs[0].title;
  running_ = false;
  if (found_.cancelled) return false;
  fillRows();
  return true;
}

std::optional<int> CompareFormLogic::compareWith(FileSystem& files, const NativePath& catalogFolder,
                                                 TextView shownName, const NativePath& other, bool members) {
  start(Mode::Changes);
  running_ = false;
  FileView before;
  FileView after;
  if (files.viewFile(other, before) || ListFileBytes(before.bytes()).layout() != ListFileBytes::Layout::Current)
    return std::nullopt;
  if (files.viewFile(catalogFolder / cp932::toNativeName(shownName), after)) return std::nullopt;
  ListFileBytes shown(after.bytes());
  if (shown.layout() != ListFileBytes::Layout::Current) return std::nullopt;
  subject_ = shown.title();
  const Text otherName = cp932::fromNativeName(other.filename().native());
  const bool otherInFolder = other.parent_path() == catalogFolder;
  changes_ = CatalogDiff::compare(before.bytes(), after.bytes(), {members, SameFileKey::By::NameSize});
  for (const CatalogDiff::Change& c : changes_) {
    const int kind = static_cast<int>(c.kind);
    Text title(ChangeNames[kind]);
    // A removed row is only in the other catalog; it can be shown when
    // that one lies in the catalog folder.
    const bool removed = c.kind == CatalogDiff::Kind::Removed;
    Text fileName = removed ? (otherInFolder ? otherName : Text()) : Text(shownName);
    Text path = c.path;
    if (c.kind == CatalogDiff::Kind::Moved) title += u"  ← " + c.oldPath;
    if (c.kind == CatalogDiff::Kind::Changed) title += u"  " + groupedNumber(static_cast<std::int64_t>(c.oldSize)) + u" " + c.oldDate;
    if (!append(title, path, c.date, c.size, kind + 1, {std::move(fileName), 0})) break;
  }
  return static_cast<int>(changes_.size());
}

int CompareFormLogic::groupOf(int storedRow) const {
  if (storedRow < 0 || storedRow >= static_cast<int>(targets_.size())) return 0;
  return targets_[static_cast<std::size_t>(storedRow)].group;
}

Text CompareFormLogic::summary() const {
  switch (mode_) {
    case Mode::None: return {};
    case Mode::Duplicates: {
      std::uint64_t wasted = 0;
      for (const FileGroup& g : found_.groups) wasted += g.wasted();
      return groupedNumber(static_cast<std::int64_t>(found_.groups.size())) + u" グループ  " +
             groupedNumber(static_cast<std::int64_t>(found_.rows.size())) + u" ファイル  " +
             groupedNumber(static_cast<std::int64_t>(wasted)) + u" バイト";
    }
    case Mode::OnlyHere: {
      std::uint64_t bytes = 0;
      for (const FoundRow& r : found_.rows) bytes += r.size;
      return groupedNumber(static_cast<std::int64_t>(found_.rows.size())) + u" ファイル  " +
             groupedNumber(static_cast<std::int64_t>(bytes)) + u" バイト";
    }
    case Mode::Changes: return groupedNumber(static_cast<std::int64_t>(changes_.size())) + u" 件";
  }
  return {};
}

Text CompareFormLogic::caption() const {
  switch (mode_) {
    case Mode::None:
    case Mode::Duplicates: return Text(DuplicatesCaption);
    case Mode::OnlyHere: return Text(OnlyHereCaption) + (subject_.empty() ? Text() : u"【" + subject_ + u"】");
    case Mode::Changes: return Text(ChangesCaption) + (subject_.empty() ? Text() : u"【" + subject_ + u"】");
  }
  return {};
}

bool CompareFormLogic::jump(int displayRow, bool show, JumpTarget& target) {
  if (running_ || displayRow < 0 || displayRow >= grid_.shownCount()) return false;
  const std::span<const std::int32_t> order = grid_.displayOrder();
  const int row = order[static_cast<std::size_t>(displayRow)];
  if (row < 0 || row >= static_cast<int>(targets_.size())) return false;
  const Target& t = targets_[static_cast<std::size_t>(row)];
  if (t.fileName.empty()) return false;
  target.loadCatalog(t.fileName);
  // A load that did not happen leaves another catalog shown: its rows must not be marked.
  if (asciiLower(target.currentListFile()) != asciiLower(t.fileName)) return false;
  // The other copies of the file in the same catalog.
  if (t.group > 0) {
    for (std::size_t r = 0; r < targets_.size(); ++r) {
      if (static_cast<int>(r) == row || targets_[r].group != t.group) continue;
      if (asciiLower(targets_[r].fileName) == asciiLower(t.fileName))
        target.markRow(grid_.fieldView(1, static_cast<int>(r)), false);
    }
  }
  const TextView path = grid_.fieldView(1, row);
  target.showPage(path, show);
  target.markRow(path, true);
  return true;
}

}  // namespace zevro
