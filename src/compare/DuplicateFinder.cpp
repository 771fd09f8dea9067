#include "compare/DuplicateFinder.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <tuple>

#include "compare/FileRows.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

// One file row of the first pass.
struct KeyedRow {
  std::uint64_t hash;
  std::uint64_t size;
  std::uint32_t catalog;
  std::uint32_t row;
};

// A row of a candidate group, looked at again.
struct Candidate {
  std::uint32_t catalog;
  std::uint32_t row;
  std::uint32_t run;  // the candidate group (rows of one hash and size)
  bool seen = false;  // still in its catalog
  Text key;           // the exact key, to split rows that only hash alike
  FoundRow found;
};

// The window system gets a chance after this many rows of one catalog.
constexpr int RowsBetweenPumps = 65536;

template <class It, class MediumOf>
bool onTwoMedia(It first, It last, MediumOf mediumOf) {
  const int medium = mediumOf(*first);
  return std::any_of(first + 1, last, [&](const auto& r) { return mediumOf(r) != medium; });
}

}  // namespace

FoundFiles DuplicateFinder::find(CompareScan& scan, const CompareFilters& filters) {
  FoundFiles found;
  const std::uint64_t minSize = std::max<std::uint64_t>(filters.minSize, 1);
  SameFileKey key(filters.by);

  // First pass: every file row as a hash of its key.
  std::vector<KeyedRow> keyed;
  const bool whole = scan.each(filters.genres, [&](const CompareScan::Catalog& c) {
    FileRows rows(c.bytes);
    int sincePump = 0;
    bool go = true;
    rows.forEach(filters.members, [&](const FileRow& r) {
      if (r.size < minSize) return true;
      keyed.push_back({key.hashOf(r), r.size, static_cast<std::uint32_t>(c.index), static_cast<std::uint32_t>(r.row)});
      if (++sincePump == RowsBetweenPumps) {
        sincePump = 0;
        go = scan.pump();
      }
      return go;
    });
    return go;
  });
  found.catalogs = scan.catalogs();
  found.skipped = scan.skipped();
  found.catalogsRead = scan.catalogsRead();
  if (!whole) {
    found.cancelled = true;
    return found;
  }

  std::sort(keyed.begin(), keyed.end(), [](const KeyedRow& a, const KeyedRow& b) {
    return std::tie(a.hash, a.size, a.catalog, a.row) < std::tie(b.hash, b.size, b.catalog, b.row);
  });
  const auto mediumOfKeyed = [&](const KeyedRow& r) { return scan.mediumOf(static_cast<int>(r.catalog)); };
  std::vector<Candidate> candidates;
  std::uint32_t runs = 0;
  for (std::size_t i = 0; i < keyed.size();) {
    std::size_t j = i + 1;
    while (j < keyed.size() && keyed[j].hash == keyed[i].hash && keyed[j].size == keyed[i].size) ++j;
    if (j - i >= 2 && (filters.sameMedium || onTwoMedia(keyed.begin() + static_cast<std::ptrdiff_t>(i),
                                                        keyed.begin() + static_cast<std::ptrdiff_t>(j), mediumOfKeyed))) {
      for (std::size_t k = i; k < j; ++k) candidates.push_back({keyed[k].catalog, keyed[k].row, runs, false, {}, {}});
      ++runs;
    }
    i = j;
  }
  std::vector<KeyedRow>().swap(keyed);
  if (!scan.pump()) {
    found.cancelled = true;
    return found;
  }

  // Second pass: the candidates' catalogs again, for names, paths and dates.
  std::sort(candidates.begin(), candidates.end(),
            [](const Candidate& a, const Candidate& b) { return std::tie(a.catalog, a.row) < std::tie(b.catalog, b.row); });
  FileView view;
  for (std::size_t i = 0; i < candidates.size();) {
    const std::uint32_t catalog = candidates[i].catalog;
    std::size_t end = i;
    while (end < candidates.size() && candidates[end].catalog == catalog) ++end;
    if (!scan.pump()) {
      found.cancelled = true;
      return found;
    }
    if (scan.reread(static_cast<int>(catalog), view)) {
      FileRows rows(view.bytes());
      std::size_t next = i;
      rows.forEach(filters.members, [&](const FileRow& r) {
        while (next < end && candidates[next].row < static_cast<std::uint32_t>(r.row)) ++next;
        if (next == end) return false;
        if (candidates[next].row != static_cast<std::uint32_t>(r.row)) return true;
        Candidate& c = candidates[next++];
        c.seen = true;
        c.key = key.textOf(r);
        c.found = FoundRow{static_cast<int>(catalog), r.row, r.size, cp932::decode(r.name), rows.pathOf(r),
                           cp932::decode(r.date)};
        return next < end;
      });
    }
    i = end;
  }
  view.release();

  // Groups: the rows of one run with one exact key.
  std::erase_if(candidates, [](const Candidate& c) { return !c.seen; });
  std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
    return std::tie(a.run, a.key, a.catalog, a.row) < std::tie(b.run, b.key, b.catalog, b.row);
  });
  struct Span {
    std::size_t first, last;
  };
  std::vector<Span> spans;
  const auto mediumOfCandidate = [&](const Candidate& c) { return scan.mediumOf(static_cast<int>(c.catalog)); };
  for (std::size_t i = 0; i < candidates.size();) {
    std::size_t j = i + 1;
    while (j < candidates.size() && candidates[j].run == candidates[i].run && candidates[j].key == candidates[i].key) ++j;
    if (j - i >= 2 && (filters.sameMedium || onTwoMedia(candidates.begin() + static_cast<std::ptrdiff_t>(i),
                                                        candidates.begin() + static_cast<std::ptrdiff_t>(j),
                                                        mediumOfCandidate)))
      spans.push_back({i, j});
    i = j;
  }
  // Largest waste first, then by name (folded, so case does not part them).
  std::sort(spans.begin(), spans.end(), [&](const Span& a, const Span& b) {
    const Candidate& ca = candidates[a.first];
    const Candidate& cb = candidates[b.first];
    const std::uint64_t wa = ca.found.size * (a.last - a.first - 1);
    const std::uint64_t wb = cb.found.size * (b.last - b.first - 1);
    if (wa != wb) return wa > wb;
    return std::tie(ca.key, ca.catalog, ca.row) < std::tie(cb.key, cb.catalog, cb.row);
  });
  for (const Span& s : spans) {
    FileGroup group{candidates[s.first].found.size, static_cast<int>(found.rows.size()),
                    static_cast<int>(s.last - s.first)};
    for (std::size_t k = s.first; k < s.last; ++k) found.rows.push_back(std::move(candidates[k].found));
    found.groups.push_back(group);
  }
  return found;
}

}  // namespace zevro
