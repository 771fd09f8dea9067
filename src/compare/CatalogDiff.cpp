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
  std::uint64_t size = 0;
  std::string_view name;  // CP932 bytes of the list file
  std::string_view date;
};

// The file rows of a catalog in stored order.
std::vector<DiffRow> rowsOf(std::string_view bytes, const CatalogDiff::Options& options) {
  std::vector<DiffRow> rows;
  FileRows walk(bytes);
  walk.forEach(options.members, [&](const FileRow& r) {
    rows.push_back({walk.pathOf(r), r.size, r.name, r.date});
    return true;
  });
  return rows;
}

// Letter case as toUpperLatin folds it: a-z and ａ-ｚ.
char16_t upperLatin(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= u'ａ' && c <= u'ｚ')) return static_cast<char16_t>(c - 0x20);
  return c;
}

std::uint64_t foldedHash(TextView path) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (const char16_t c : path) h = (h ^ upperLatin(c)) * 0x100000001b3ULL;
  return h;
}

bool sameFolded(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && upperLatin(a[i]) != upperLatin(b[i])) return false;
  }
  return true;
}

Text keyOf(SameFileKey& key, const DiffRow& row) {
  FileRow r;
  r.name = row.name;
  r.date = row.date;
  r.size = row.size;
  return key.textOf(r);
}

// The keys that occur once among the rows of `indexes`, with their row.
std::unordered_map<Text, std::size_t> uniqueKeys(SameFileKey& key, const std::vector<DiffRow>& rows,
                                                 const std::vector<std::size_t>& indexes) {
  std::unordered_map<Text, std::size_t> once;
  std::unordered_map<Text, int> count;
  for (const std::size_t i : indexes) {
    Text k = keyOf(key, rows[i]);
    if (++count[k] == 1) once[std::move(k)] = i;
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
  // The old rows by a hash of the folded path, rows of one hash in stored
  // order; a new row takes the first unmatched row of its folded path, the
  // one spelled as it is when there are several, so two "a.txt" and
  // "A.TXT" of one catalog each find their own.
  std::vector<std::pair<std::uint64_t, std::uint32_t>> byHash(before.size());
  for (std::uint32_t i = 0; i < before.size(); ++i) byHash[i] = {foldedHash(before[i].path), i};
  std::sort(byHash.begin(), byHash.end());
  constexpr std::uint32_t None = 0xFFFFFFFF;
  std::vector<Change> changes;
  std::vector<bool> matched(before.size(), false);
  std::vector<std::size_t> removed;
  std::vector<std::size_t> added;
  for (std::size_t j = 0; j < after.size(); ++j) {
    const DiffRow& b = after[j];
    const std::uint64_t h = foldedHash(b.path);
    std::uint32_t pick = None;
    for (auto at = std::lower_bound(byHash.begin(), byHash.end(), std::pair<std::uint64_t, std::uint32_t>{h, 0});
         at != byHash.end() && at->first == h; ++at) {
      const std::uint32_t i = at->second;
      if (matched[i] || !sameFolded(before[i].path, b.path)) continue;
      if (pick == None) pick = i;
      if (before[i].path == b.path) {
        pick = i;
        break;
      }
    }
    if (pick == None) {
      added.push_back(j);
      continue;
    }
    matched[pick] = true;
    const DiffRow& a = before[pick];
    if (a.size != b.size || a.date != b.date)
      changes.push_back({Kind::Changed, b.path, b.size, cp932::decode(b.date), {}, a.size, cp932::decode(a.date)});
  }
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (!matched[i]) removed.push_back(i);
  }

  SameFileKey key(options.by);
  const std::unordered_map<Text, std::size_t> goneOnce = uniqueKeys(key, before, removed);
  const std::unordered_map<Text, std::size_t> cameOnce = uniqueKeys(key, after, added);
  std::vector<bool> movedAway(before.size(), false);
  for (const std::size_t i : added) {
    const DiffRow& b = after[i];
    const Text k = keyOf(key, b);
    const auto came = cameOnce.find(k);
    const auto gone = goneOnce.find(k);
    if (came != cameOnce.end() && gone != goneOnce.end()) {
      movedAway[gone->second] = true;
      changes.push_back({Kind::Moved, b.path, b.size, cp932::decode(b.date), before[gone->second].path, 0, {}});
    } else {
      changes.push_back({Kind::Added, b.path, b.size, cp932::decode(b.date), {}, 0, {}});
    }
  }
  for (const std::size_t k : removed) {
    if (!movedAway[k]) changes.push_back({Kind::Removed, before[k].path, before[k].size, cp932::decode(before[k].date), {}, 0, {}});
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
