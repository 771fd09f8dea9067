#include "media/ReadingSplit.h"

#include "core/CatalogList.h"
#include "core/ListFile.h"
#include "core/Numbers.h"
#include "core/Strings.h"
#include "media/FolderWalker.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr std::size_t GenreHeadLength = 3;  // u"_04"
constexpr int MarginPercent = 90;

class Planner {
public:
  Planner(const RowStore& reading, SplitLimits limits) : s_(reading), limits_(limits) {
    const int n = s_.rowCount();
    end_.assign(static_cast<std::size_t>(n), n);
    prefix_.assign(static_cast<std::size_t>(n) + 1, 0);
    // The end of every row's subtree: the next row at its level or above.
    std::vector<int> open;
    for (int r = 0; r < n; ++r) {
      prefix_[r + 1] = prefix_[r] + cp932::fileLength(s_.record(r));
      while (!open.empty() && s_.level(open.back()) >= s_.level(r)) {
        end_[open.back()] = r;
        open.pop_back();
      }
      open.push_back(r);
    }
  }

  // The reading as one list: its rows and heap characters (the end marker
  // counts one) within the limits.
  bool fitsWhole(SplitLimits whole) const {
    const auto rows = static_cast<std::size_t>(s_.rowCount());
    return rows <= whole.rows && prefix_[rows] + 1 <= whole.characters;
  }

  std::vector<SplitPart> run(TextView rootPath) {
    if (s_.rowCount() > 0) splitFolder(0, Text(rootPath));
    return std::move(parts_);
  }

private:
  std::size_t characters(int first, int end) const { return prefix_[end] - prefix_[first]; }

  SplitPart newPart(int folderRow, const Text& path, int sequence) const {
    SplitPart part;
    part.folderRow = folderRow;
    part.folder = path;
    part.sequence = sequence;
    part.rows = 1;
    part.characters = characters(folderRow, folderRow + 1) + path.size() + ReadingSplit::TitleRoom + 1;
    return part;
  }

  static void add(SplitPart& part, int first, int end, std::size_t characters) {
    if (!part.ranges.empty() && part.ranges.back().second == first)
      part.ranges.back().second = end;
    else
      part.ranges.emplace_back(first, end);
    part.rows += static_cast<std::size_t>(end - first);
    part.characters += characters;
  }

  bool within(const SplitPart& part) const {
    return part.rows <= limits_.rows && part.characters <= limits_.characters;
  }

  void splitFolder(int folder, const Text& path) {
    std::vector<int> alone;
    SplitPart current = newPart(folder, path, 0);
    int sequence = 0;
    for (int r = folder + 1; r < end_[folder]; r = end_[r]) {
      const std::size_t rows = static_cast<std::size_t>(end_[r] - r);
      const std::size_t chars = characters(r, end_[r]);
      if (s_.kind(r) == catalog::KindFolder &&
          (rows * ReadingSplit::ShareDivisor >= limits_.rows || chars * ReadingSplit::ShareDivisor >= limits_.characters)) {
        alone.push_back(r);
        continue;
      }
      if (!current.ranges.empty() &&
          (current.rows + rows > limits_.rows || current.characters + chars > limits_.characters)) {
        parts_.push_back(std::move(current));
        current = newPart(folder, path, ++sequence);
      }
      add(current, r, end_[r], chars);
    }
    // The root's part is always there: it keeps the medium's plain name.
    if (!current.ranges.empty() || folder == 0) parts_.push_back(std::move(current));
    for (int r : alone) {
      Text sub = path;
      sub.push_back(ch::PathSeparator);
      sub += s_.fieldView(catalog::FieldName, r);
      SplitPart whole = newPart(r, sub, 0);
      if (end_[r] > r + 1) add(whole, r + 1, end_[r], characters(r + 1, end_[r]));
      if (within(whole))
        parts_.push_back(std::move(whole));
      else
        splitFolder(r, sub);
    }
  }

  const RowStore& s_;
  SplitLimits limits_;
  std::vector<int> end_;
  std::vector<std::size_t> prefix_;
  std::vector<SplitPart> parts_;
};

}  // namespace

SplitLimits SplitLimits::listFile() { return {listfile::MaxBlockLength, listfile::MaxHeapLength}; }

SplitLimits SplitLimits::margin() const { return {rows * MarginPercent / 100, characters * MarginPercent / 100}; }

bool ReadingSplit::fits(const RowStore& reading) { return listfile::checkLimits(reading) == listfile::Limit::Ok; }

std::vector<SplitPart> ReadingSplit::plan(const RowStore& reading, TextView rootPath, SplitLimits limits) {
  return Planner(reading, limits).run(rootPath);
}

std::vector<SplitPart> ReadingSplit::planIfTooLarge(const RowStore& reading, TextView rootPath, SplitLimits whole) {
  // The records are counted once, for the question and the plan alike.
  Planner planner(reading, whole.margin());
  if (planner.fitsWhole(whole)) return {};
  return planner.run(rootPath);
}

void ReadingSplit::build(const RowStore& reading, const SplitPart& part, TextView mark, RowStore& out) {
  const int top = part.folderRow;
  const int shift = reading.level(top);
  out.clear(static_cast<int>(part.rows));
  catalog::makeCatalogList(out);
  out.setSortOrder(reading.sortOrder());
  std::int64_t total = 0;
  for (const auto& [first, end] : part.ranges)
    for (int r = first; r < end; ++r)
      if (reading.level(r) == shift + 1) {
        const std::int64_t size = FolderWalker::SizeValue(reading.fieldView(catalog::FieldSize, r));
        total = size > INT64_MAX - total ? INT64_MAX : total + size;
      }
  const Text size = groupedNumber(total);
  const TextView source = top == 0 ? reading.fieldView(catalog::FieldMediumName, 0) : TextView(part.folder);
  const Text title = catalog::buildRecord({reading.fieldView(catalog::FieldName, 0),
                                           reading.fieldView(catalog::FieldComment, top), {}, size,
                                           reading.fieldView(catalog::FieldFlags, 0), source, {}, mark});
  const int titleKind = reading.kind(0);
  out.appendShown(title, catalog::colourIndexFor(titleKind, 0), catalog::HighlightNone, titleKind, 0);
  // Each range's records are copied in one piece; the colours follow the
  // new levels.
  for (const auto& [first, end] : part.ranges) out.appendRowsOf(reading, first, end, shift);
  for (int r = 1; r < out.rowCount(); ++r) out.setColour(r, catalog::colourIndexFor(out.kind(r), out.level(r)));
  out.deriveIndexAndTreeFlags();
  catalog::prepareMarks(out);
}

Text ReadingSplit::markOf(std::string_view firstBytes) {
  if (firstBytes.size() <= listfile::HeaderSize) return {};
  const Text start = cp932::decode(firstBytes.substr(listfile::HeaderSize));
  // The title line runs to the next record (code 16) or the heap's end.
  std::size_t endOfLine = start.find(record::FirstMarker, 1);
  const std::size_t nul = start.find(ch::Null);
  if (nul < endOfLine) endOfLine = nul;
  if (endOfLine == Text::npos) return {};  // cut off: not known
  const std::size_t at = start.find(record::marker(FieldMark));
  if (at == Text::npos || at >= endOfLine) return {};
  std::size_t stop = at + 1;
  while (stop < endOfLine && !record::isMarker(start[stop])) ++stop;
  return asciiUpper(TextView(start).substr(at + 1, stop - at - 1));
}

Text ReadingSplit::markOfName(TextView fileName) {
  if (fileName.size() <= GenreHeadLength) return {};
  return asciiUpper(fileName.substr(GenreHeadLength));
}

}  // namespace zevro
