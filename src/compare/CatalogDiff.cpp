#include "compare/CatalogDiff.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <unordered_map>

#include "compare/FileRows.h"
#include "search/Folding.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

struct DiffRow {
  Text path;
  Text folded;  // path in upper case, for matching
  std::uint64_t size = 0;
  Text date;
  Text key;  // exact same-file key
};

std::vector<DiffRow> rowsOf(std::string_view bytes, const CatalogDiff::Options& options) {
  std::vector<DiffRow> out;
  SameFileKey key(options.by);
  FileRows rows(bytes);
  rows.forEach(options.members, [&](const FileRow& r) {
    DiffRow d;
    d.path = rows.pathOf(r);
    d.folded = d.path;
    toUpperLatin(d.folded);
    d.size = r.size;
    d.date = cp932::decode(r.date);
    d.key = key.textOf(r);
    out.push_back(std::move(d));
    return true;
  });
  // By folded path; rows that fold alike keep their exact order, so two
  // "a.txt" and "A.TXT" of one catalog pair with their own spelling first.
  std::sort(out.begin(), out.end(),
            [](const DiffRow& a, const DiffRow& b) { return std::tie(a.folded, a.path) < std::tie(b.folded, b.path); });
  return out;
}

// The keys that occur once in the rows of `indexes`.
std::unordered_map<Text, std::size_t> uniqueKeys(const std::vector<DiffRow>& rows, const std::vector<std::size_t>& indexes) {
  std::unordered_map<Text, std::size_t> once;
  std::unordered_map<Text, int> count;
  for (const std::size_t i : indexes) {
    if (++count[rows[i].key] == 1) once[rows[i].key] = i;
  }
  for (const auto& [k, n] : count) {
    if (n > 1) once.erase(k);
  }
  return once;
}

}  // namespace

char CatalogDiff::markOf(Kind kind) {
  switch (kind) {
    case Kind::Added: return '+';
    case Kind::Removed: return '-';
    case Kind::Changed: return '~';
    case Kind::Moved: return '>';
  }
  return '?';
}

std::vector<CatalogDiff::Change> CatalogDiff::compare(std::string_view oldBytes, std::string_view newBytes,
                                                      const Options& options) {
  const std::vector<DiffRow> before = rowsOf(oldBytes, options);
  const std::vector<DiffRow> after = rowsOf(newBytes, options);
  std::vector<Change> changes;
  std::vector<std::size_t> removed;
  std::vector<std::size_t> added;
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < before.size() || j < after.size()) {
    if (j == after.size() || (i < before.size() && before[i].folded < after[j].folded)) {
      removed.push_back(i++);
      continue;
    }
    if (i == before.size() || after[j].folded < before[i].folded) {
      added.push_back(j++);
      continue;
    }
    const DiffRow& a = before[i++];
    const DiffRow& b = after[j++];
    if (a.size != b.size || a.date != b.date)
      changes.push_back({Kind::Changed, b.path, b.size, b.date, {}, a.size, a.date});
  }

  const std::unordered_map<Text, std::size_t> goneOnce = uniqueKeys(before, removed);
  const std::unordered_map<Text, std::size_t> cameOnce = uniqueKeys(after, added);
  std::vector<bool> movedAway(before.size(), false);
  for (const std::size_t k : added) {
    const DiffRow& b = after[k];
    const auto came = cameOnce.find(b.key);
    const auto gone = goneOnce.find(b.key);
    if (came != cameOnce.end() && gone != goneOnce.end()) {
      movedAway[gone->second] = true;
      changes.push_back({Kind::Moved, b.path, b.size, b.date, before[gone->second].path, 0, {}});
    } else {
      changes.push_back({Kind::Added, b.path, b.size, b.date, {}, 0, {}});
    }
  }
  for (const std::size_t k : removed) {
    if (!movedAway[k]) changes.push_back({Kind::Removed, before[k].path, before[k].size, before[k].date, {}, 0, {}});
  }

  // Sorted by path as the rows were; the folded form decides first.
  std::vector<Text> folded(changes.size());
  for (std::size_t c = 0; c < changes.size(); ++c) {
    folded[c] = changes[c].path;
    toUpperLatin(folded[c]);
  }
  std::vector<std::size_t> order(changes.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return std::tie(folded[a], changes[a].path, changes[a].kind) < std::tie(folded[b], changes[b].path, changes[b].kind);
  });
  std::vector<Change> sorted;
  sorted.reserve(changes.size());
  for (const std::size_t c : order) sorted.push_back(std::move(changes[c]));
  return sorted;
}

}  // namespace zevro
