#include "compare/DuplicateFinder.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <array>
#include <cstdint>
#include <numeric>
#include <span>
#include <tuple>

#include "compare/FileRows.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

// One file row of the first pass (the size is part of the hashed key; rows
// of other sizes that hash alike are parted by the exact key later).
struct KeyedRow {
  std::uint64_t hash;
  std::uint32_t catalog;
  std::uint32_t row;
};

// A row of a candidate group (rows of one hash and size, a "run"): where
// it is, and its number in the order the runs were found.
struct Candidate {
  std::uint32_t catalog;
  std::uint32_t row;
  std::uint32_t number;
};

// What the second look found of a candidate, all that groups are made
// and sorted by; its names are kept apart, in walk order (see place), so
// that the small facts stay close together in memory.
struct Detail {
  std::uint64_t size = 0;
  // The exact key, to part rows that only hash alike: its place in the
  // keys of its catalog.
  std::uint32_t keyChunk = 0;
  std::uint32_t keyAt = 0;
  std::uint32_t keySize = 0;
  int catalog = 0;
  int row = 0;
  std::uint32_t place = 0;  // its row found, in the walk's order
  bool seen = false;        // still in its catalog
};

// How many candidates ahead of the one being read the memory of the next
// ones is asked for.
constexpr std::size_t Ahead = 8;

// The window system gets a chance after this many rows of one catalog.
constexpr int RowsBetweenPumps = 65536;

// What the first pass keeps of one catalog: its file rows keyed, and the
// places of all its rows.
struct CatalogKeys {
  std::vector<KeyedRow> keyed;
  std::vector<FileRows::Place> places;
};

// Sorts rows of one bucket of the hash's top bits by hash, keeping the
// order of rows of equal hash (so catalog and row order stay): spread by
// the next bits into `room`, then the small buckets sorted by insertion.
void sortBucket(KeyedRow* first, KeyedRow* last, int shift, std::vector<KeyedRow>& room) {
  constexpr int Bits = 8;
  std::array<std::uint32_t, (1u << Bits) + 1> starts{};
  for (const KeyedRow* r = first; r != last; ++r) ++starts[((r->hash >> shift) & 0xFF) + 1];
  for (std::size_t b = 1; b < starts.size(); ++b) starts[b] += starts[b - 1];
  room.resize(static_cast<std::size_t>(last - first));
  std::array<std::uint32_t, 1u << Bits> next;
  std::copy(starts.begin(), starts.end() - 1, next.begin());
  for (const KeyedRow* r = first; r != last; ++r) room[next[(r->hash >> shift) & 0xFF]++] = *r;
  const auto less = [](const KeyedRow& a, const KeyedRow& b) {
    return std::tie(a.hash, a.catalog, a.row) < std::tie(b.hash, b.catalog, b.row);
  };
  constexpr std::uint32_t SmallBucket = 48;
  for (std::size_t b = 0; b + 1 < starts.size(); ++b) {
    KeyedRow* const from = room.data() + starts[b];
    KeyedRow* const to = room.data() + starts[b + 1];
    if (starts[b + 1] - starts[b] > SmallBucket) {
      std::sort(from, to, less);
      continue;
    }
    for (KeyedRow* i = from + 1; i < to; ++i) {
      const KeyedRow r = *i;
      KeyedRow* j = i;
      for (; j > from && (j - 1)->hash > r.hash; --j) *j = *(j - 1);
      *j = r;
    }
  }
  std::copy(room.begin(), room.end(), first);
}

// Marks which hashes were met twice or more: a bit a hash for "met",
// another for "met again", side by side in one table (bits chosen by the
// hash's low bits, so two hashes can share one: a row kept by that is
// parted later, as any row whose hash merely meets another's).
class HashesMet {
public:
  explicit HashesMet(std::size_t rows) {
    // About sixteen bits a row, at most 2^25 (8 MB with the second bits).
    int bits = 10;
    while (bits < 25 && (std::size_t{1} << bits) < rows * 16) ++bits;
    mask_ = (std::uint64_t{1} << bits) - 1;
    words_.assign(std::size_t{1} << (bits - 5), 0);
  }
  void add(std::uint64_t hash) {
    const std::uint64_t b = hash & mask_;
    const std::uint64_t bit = std::uint64_t{1} << (b & 63);
    std::uint64_t* const pair = &words_[(b >> 6) * 2];
    pair[1] |= pair[0] & bit;
    pair[0] |= bit;
  }
  bool metAgain(std::uint64_t hash) const {
    const std::uint64_t b = hash & mask_;
    return (words_[(b >> 6) * 2 + 1] >> (b & 63)) & 1;
  }

private:
  std::uint64_t mask_ = 0;
  std::vector<std::uint64_t> words_;  // met, met again, met, met again, …
};

// The rows of all catalogs whose hashes may meet another's, sorted by
// hash, catalog and row; the others (most rows) are left out first. The
// hashes are evenly spread: the rows are spread over buckets by the hash's
// top 8 bits, each bucket (a few thousand rows, in the cache) by the next
// 8, and those small ones sorted in place. Spreads keep the rows' order
// (catalog, then row), so sorts by hash alone give the whole order. The
// catalogs' rows are let go of as they are read.
std::vector<KeyedRow> sortByKey(std::vector<CatalogKeys>& catalogs) {
  std::size_t rows = 0;
  for (const CatalogKeys& c : catalogs) rows += c.keyed.size();
  HashesMet met(rows);
  for (const CatalogKeys& c : catalogs) {
    for (const KeyedRow& r : c.keyed) met.add(r.hash);
  }
  std::vector<KeyedRow> picked;
  // Room for every row, though few are kept: only the pages written are
  // ever taken from the system, and the table never moves.
  picked.reserve(rows);
  for (CatalogKeys& c : catalogs) {
    for (const KeyedRow& r : c.keyed) {
      if (met.metAgain(r.hash)) picked.push_back(r);
    }
    std::vector<KeyedRow>().swap(c.keyed);
  }
  constexpr int Bits = 8;
  std::vector<std::uint32_t> starts((1u << Bits) + 1, 0);
  for (const KeyedRow& r : picked) ++starts[(r.hash >> (64 - Bits)) + 1];
  for (std::size_t b = 1; b < starts.size(); ++b) starts[b] += starts[b - 1];
  std::vector<KeyedRow> spread(picked.size());
  std::vector<std::uint32_t> next(starts.begin(), starts.end() - 1);
  for (const KeyedRow& r : picked) spread[next[r.hash >> (64 - Bits)]++] = r;
  std::vector<KeyedRow>().swap(picked);
  std::vector<KeyedRow> room;
  for (std::size_t b = 0; b + 1 < starts.size(); ++b)
    sortBucket(spread.data() + starts[b], spread.data() + starts[b + 1], 64 - 2 * Bits, room);
  return spread;
}

// Sorts the candidates by catalog and row, the order of the second walk:
// spread by catalog first, then each catalog's rows put at their row
// numbers in a room as long as the catalog (a row is one candidate at
// most) and gathered in order from there.
void sortByPlace(std::vector<Candidate>& candidates, std::size_t catalogs) {
  std::vector<std::size_t> starts(catalogs + 2, 0);
  for (const Candidate& c : candidates) ++starts[std::min<std::size_t>(c.catalog, catalogs) + 1];
  for (std::size_t k = 1; k < starts.size(); ++k) starts[k] += starts[k - 1];
  std::vector<Candidate> spread(candidates.size());
  std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
  for (const Candidate& c : candidates) spread[next[std::min<std::size_t>(c.catalog, catalogs)]++] = c;
  constexpr std::uint32_t Empty = 0xFFFFFFFF;
  std::vector<std::uint32_t> room;  // room[row]: the place in spread of the row's candidate
  for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
    const auto first = spread.begin() + static_cast<std::ptrdiff_t>(starts[k]);
    const auto last = spread.begin() + static_cast<std::ptrdiff_t>(starts[k + 1]);
    if (last - first == 1) candidates[starts[k]] = *first;
    if (last - first < 2) continue;
    std::uint32_t rows = 0;
    for (auto c = first; c != last; ++c) rows = std::max(rows, c->row + 1);
    room.assign(rows, Empty);
    for (auto c = first; c != last; ++c) room[c->row] = static_cast<std::uint32_t>(c - spread.begin());
    auto to = candidates.begin() + static_cast<std::ptrdiff_t>(starts[k]);
    for (const std::uint32_t at : room) {
      if (at != Empty) *to++ = spread[at];
    }
  }
}

// One catalog's rows into `out`; keepGoing() is asked between long
// stretches of rows. False when it said stop.
template <class Go>
bool keyCatalog(std::string_view bytes, std::uint32_t catalog, const CompareFilters& filters, SameFileKey& key,
                CatalogKeys& out, Go&& keepGoing) {
  const std::uint64_t minSize = std::max<std::uint64_t>(filters.minSize, 1);
  FileRows rows(bytes);
  out.places.reserve(rows.rowsListed());
  out.keyed.reserve(rows.rowsListed());
  int sincePump = 0;
  bool go = true;
  rows.forEachPlacing(filters.members, out.places, [&](const FileRow& r) {
    if (r.size < minSize) return true;
    out.keyed.push_back({key.hashOf(r), catalog, static_cast<std::uint32_t>(r.row)});
    if (++sincePump == RowsBetweenPumps) {
      sincePump = 0;
      go = keepGoing();
    }
    return go;
  });
  return go;
}

// Threads that each take whole catalogs (or other numbered jobs) from a
// queue while the calling thread goes on (finding the next catalogs,
// keeping the window system running); each job writes only what is its
// own, so the results sit in their order whoever made them. A job gets
// the thread's own key and view, and the flag that says stop.
class CatalogWorkers {
public:
  using Job = std::function<void(int job, SameFileKey& key, FileView& view, const std::atomic<bool>& stopped)>;

  CatalogWorkers(int threads, SameFileKey::By by, Job job) : by_(by), job_(std::move(job)) {
    for (int t = 0; t < threads; ++t) threads_.emplace_back([this] { work(); });
  }
  ~CatalogWorkers() { stop(); }
  CatalogWorkers(const CatalogWorkers&) = delete;
  CatalogWorkers& operator=(const CatalogWorkers&) = delete;

  void add(int job) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      queue_.push_back(job);
    }
    ready_.notify_one();
  }

  // Waits for every job given; pump() runs every few milliseconds
  // meanwhile. False when it asked to stop.
  bool finish(const std::function<bool()>& pump) {
    std::unique_lock<std::mutex> lock(mutex_);
    closed_ = true;
    ready_.notify_all();
    while (!queue_.empty() || busy_ > 0) {
      idle_.wait_for(lock, std::chrono::milliseconds(10));
      lock.unlock();
      const bool go = pump();
      lock.lock();
      if (!go) {
        lock.unlock();
        stop();
        return false;
      }
    }
    lock.unlock();
    stop();
    if (failure_) std::rethrow_exception(failure_);
    return true;
  }

  // Lets every thread end (a job under way is left half done).
  void stop() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stopped_ = true;
    }
    ready_.notify_all();
    for (std::thread& t : threads_) {
      if (t.joinable()) t.join();
    }
  }

private:
  void work() {
    SameFileKey key(by_);
    FileView view;
    for (;;) {
      int job = 0;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return stopped_ || closed_ || !queue_.empty(); });
        if (stopped_ || queue_.empty()) return;
        job = queue_.front();
        queue_.pop_front();
        ++busy_;
      }
      try {
        job_(job, key, view, stopped_);
        view.release();
      } catch (...) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!failure_) failure_ = std::current_exception();
        stopped_ = true;
      }
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        --busy_;
      }
      idle_.notify_all();
    }
  }

  SameFileKey::By by_;
  Job job_;
  std::mutex mutex_;
  std::condition_variable ready_;
  std::condition_variable idle_;
  std::deque<int> queue_;
  int busy_ = 0;
  bool closed_ = false;
  std::atomic<bool> stopped_{false};
  std::exception_ptr failure_;
  std::vector<std::thread> threads_;
};

template <class It, class MediumOf>
bool onTwoMedia(It first, It last, MediumOf mediumOf) {
  const int medium = mediumOf(*first);
  return std::any_of(first + 1, last, [&](const auto& r) { return mediumOf(r) != medium; });
}

}  // namespace

int DuplicateFinder::threadsToUse() {
  // On two cores the threads' walks took as long as one thread's: the
  // mappings and page faults of several threads wait for one another.
  const unsigned cores = std::thread::hardware_concurrency();
  return cores > 2 ? static_cast<int>(std::min(cores, 4u)) : 1;
}

FoundFiles DuplicateFinder::find(CompareScan& scan, const CompareFilters& filters, int threads) {
  FoundFiles found;
  SameFileKey key(filters.by);
  if (threads <= 0) threads = threadsToUse();

  // First pass: every file row as a hash of its key; every row's place, so
  // that the second look goes straight to the rows it wants, paths and all.
  const std::size_t catalogCount = scan.catalogs().size();
  std::vector<CatalogKeys> perCatalog(catalogCount);
  bool whole = false;
  if (threads == 1) {
    whole = scan.each(filters.genres, [&](const CompareScan::Catalog& c) {
      return keyCatalog(c.bytes, static_cast<std::uint32_t>(c.index), filters, key,
                        perCatalog[static_cast<std::size_t>(c.index)], [&] { return scan.pump(); });
    });
  } else {
    // The catalog is mapped anew by the thread: the caller's mapping is
    // gone by then. A file replaced meanwhile gives its new rows, as a
    // second look would.
    CatalogWorkers workers(threads, filters.by,
                           [&](int catalog, SameFileKey& own, FileView& view, const std::atomic<bool>& stopped) {
                             bool unchanged = false;
                             if (!scan.reread(catalog, view, unchanged)) return;
                             keyCatalog(view.bytes(), static_cast<std::uint32_t>(catalog), filters, own,
                                        perCatalog[static_cast<std::size_t>(catalog)],
                                        [&] { return !stopped.load(std::memory_order_relaxed); });
                           });
    whole = scan.each(filters.genres, [&](const CompareScan::Catalog& c) {
              workers.add(c.index);
              return true;
            }) &&
            workers.finish([&] { return scan.pump(); });
  }
  found.catalogs = scan.catalogs();
  found.skipped = scan.skipped();
  found.catalogsRead = scan.catalogsRead();
  if (!whole) {
    found.cancelled = true;
    return found;
  }

  std::vector<KeyedRow> keyed = sortByKey(perCatalog);
  const auto mediumOfKeyed = [&](const KeyedRow& r) { return scan.mediumOf(static_cast<int>(r.catalog)); };
  std::vector<Candidate> candidates;
  candidates.reserve(keyed.size());
  std::vector<std::uint32_t> runStarts;  // runs [runStarts[k], runStarts[k + 1]) of candidate numbers
  runStarts.reserve(keyed.size() / 2 + 1);
  for (std::size_t i = 0; i < keyed.size();) {
    std::size_t j = i + 1;
    while (j < keyed.size() && keyed[j].hash == keyed[i].hash) ++j;
    if (j - i >= 2 &&
        (filters.sameMedium || onTwoMedia(keyed.begin() + static_cast<std::ptrdiff_t>(i),
                                          keyed.begin() + static_cast<std::ptrdiff_t>(j), mediumOfKeyed))) {
      runStarts.push_back(static_cast<std::uint32_t>(candidates.size()));
      for (std::size_t k = i; k < j; ++k)
        candidates.push_back({keyed[k].catalog, keyed[k].row, static_cast<std::uint32_t>(candidates.size())});
    }
    i = j;
  }
  runStarts.push_back(static_cast<std::uint32_t>(candidates.size()));
  std::vector<KeyedRow>().swap(keyed);
  if (!scan.pump()) {
    found.cancelled = true;
    return found;
  }

  // Second pass: the candidates' catalogs again, for names, paths and dates,
  // each catalog's texts and exact keys into texts of its own.
  std::vector<Detail> details(candidates.size());
  sortByPlace(candidates, scan.catalogs().size());
  struct Stretch {  // the candidates [first, end) of one catalog
    std::uint32_t catalog;
    std::size_t first, end;
  };
  std::vector<Stretch> stretches;
  for (std::size_t i = 0; i < candidates.size();) {
    std::size_t end = i;
    while (end < candidates.size() && candidates[end].catalog == candidates[i].catalog) ++end;
    stretches.push_back({candidates[i].catalog, i, end});
    i = end;
  }
  std::vector<FoundRow> foundByPlace(candidates.size());
  std::vector<Text> keys(stretches.size());  // the exact keys of each stretch's candidates
  found.texts.resize(stretches.size());      // their paths and dates
  const auto lookAgain = [&](std::size_t stretch, SameFileKey& own, FileView& view) {
    const auto [catalog, first, end] = stretches[stretch];
    Text& texts = found.texts[stretch];
    Text& exactKeys = keys[stretch];
    texts.reserve((end - first) * 48);
    exactKeys.reserve((end - first) * 24);
    // What a candidate gives: its exact key and its row, whose path
    // appendPath(text) writes (false when it cannot).
    const auto take = [&](std::size_t place, const FileRow& r, auto&& appendPath) {
      Detail& d = details[candidates[place].number];
      FoundRow& f = foundByPlace[place];
      f.catalog = static_cast<int>(catalog);
      f.row = r.row;
      f.size = r.size;
      f.textChunk = static_cast<std::uint32_t>(stretch);
      f.textAt = static_cast<std::uint32_t>(texts.size());
      std::size_t nameUnits = 0;
      if (!appendPath(texts, nameUnits)) return false;
      f.pathSize = static_cast<std::uint32_t>(texts.size() - f.textAt);
      f.nameSize = static_cast<std::uint32_t>(nameUnits);
      f.dateSize = static_cast<std::uint32_t>(FileRows::appendDecoded(r.date, texts));
      const Text& exact = own.textOf(r);
      d.size = r.size;
      d.keyChunk = static_cast<std::uint32_t>(stretch);
      d.keyAt = static_cast<std::uint32_t>(exactKeys.size());
      d.keySize = static_cast<std::uint32_t>(exact.size());
      d.catalog = f.catalog;
      d.row = r.row;
      d.place = static_cast<std::uint32_t>(place);
      d.seen = true;
      exactKeys += exact;
      return true;
    };
    bool unchanged = false;
    if (!scan.reread(static_cast<int>(catalog), view, unchanged)) return;
    FileRows rows(view.bytes());
    bool done = false;
    // The file first read: its rows are where the first pass saw them.
    if (unchanged && catalog < catalogCount) {
      const std::span<const FileRows::Place> mine(perCatalog[catalog].places);
      done = true;
      for (std::size_t place = first; place < end && done; ++place) {
        // The rows ahead are asked for early: they lie far apart in memory.
        if (place + Ahead < end) {
          const Candidate& ahead = candidates[place + Ahead];
          __builtin_prefetch(&details[ahead.number], 1);
          if (ahead.row < mine.size()) rows.prefetch(mine[ahead.row].at);
        }
        const int row = static_cast<int>(candidates[place].row);
        FileRow r;
        done = static_cast<std::size_t>(row) < mine.size() &&
               rows.rowAt(row, mine[static_cast<std::size_t>(row)].at, r) &&
               take(place, r, [&](Text& out, std::size_t& nameUnits) {
                 return rows.appendPathFrom(mine, row, out, nameUnits);
               });
      }
      if (!done) {
        texts.clear();
        exactKeys.clear();
        for (std::size_t place = first; place < end; ++place) details[candidates[place].number].seen = false;
      }
    }
    // Another file now: its rows are looked for by their numbers.
    if (!done) {
      std::size_t next = first;
      const auto wanted = [&](int row) {
        while (next < end && candidates[next].row < static_cast<std::uint32_t>(row)) ++next;
        return next < end && candidates[next].row == static_cast<std::uint32_t>(row);
      };
      rows.forEachWanted(filters.members, wanted, [&](const FileRow& r) {
        take(next++, r, [&](Text& out, std::size_t& nameUnits) {
          nameUnits = rows.appendPath(r, out);
          return true;
        });
        return next < end;
      });
    }
  };
  bool looked = true;
  if (threads == 1) {
    FileView view;
    for (std::size_t k = 0; k < stretches.size() && looked; ++k) {
      looked = scan.pump();
      if (looked) lookAgain(k, key, view);
    }
  } else {
    CatalogWorkers workers(threads, filters.by,
                           [&](int stretch, SameFileKey& own, FileView& view, const std::atomic<bool>& stopped) {
                             if (!stopped.load(std::memory_order_relaxed))
                               lookAgain(static_cast<std::size_t>(stretch), own, view);
                           });
    for (std::size_t k = 0; k < stretches.size(); ++k) workers.add(static_cast<int>(k));
    looked = workers.finish([&] { return scan.pump(); });
  }
  if (!looked) {
    found.cancelled = true;
    found.texts.clear();
    return found;
  }
  std::vector<Candidate>().swap(candidates);
  std::vector<CatalogKeys>().swap(perCatalog);

  // Groups: the rows of one run with one exact key, on two media (or one).
  struct Span {
    std::uint64_t wasted;
    // The key's first units (code 0 after its end), so that most
    // comparisons of names stay inside the spans.
    std::array<char16_t, 12> prefix;
    TextView key;
    std::uint32_t first;  // in members
    std::uint32_t count;
  };
  const auto prefixOf = [](TextView key) {
    std::array<char16_t, 12> p{};
    std::copy_n(key.begin(), std::min(key.size(), p.size()), p.begin());
    return p;
  };
  std::vector<Span> spans;
  spans.reserve(runStarts.size());  // a group a run, mostly
  std::vector<std::uint32_t> members;  // candidate numbers of each group, by catalog and row
  members.reserve(details.size());
  std::vector<std::uint32_t> order;
  const auto mediumOfNumber = [&](std::uint32_t n) { return scan.mediumOf(details[n].catalog); };
  const auto keyOf = [&](const Detail& d) { return TextView(keys[d.keyChunk]).substr(d.keyAt, d.keySize); };
  std::size_t ahead = 0;  // the keys asked for so far
  for (std::size_t run = 0; run + 1 < runStarts.size(); ++run) {
    // The keys lie in walk order, not in run order: asked for early.
    for (const std::size_t until = std::min<std::size_t>(runStarts[run + 1] + 2 * Ahead, details.size());
         ahead < until; ++ahead)
      __builtin_prefetch(keys[details[ahead].keyChunk].data() + details[ahead].keyAt);
    order.clear();
    for (std::uint32_t n = runStarts[run]; n < runStarts[run + 1]; ++n) {
      if (details[n].seen) order.push_back(n);
    }
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
      const Detail& da = details[a];
      const Detail& db = details[b];
      const int byKey = keyOf(da).compare(keyOf(db));
      if (byKey != 0) return byKey < 0;
      return std::tie(da.catalog, da.row) < std::tie(db.catalog, db.row);
    });
    for (std::size_t i = 0; i < order.size();) {
      std::size_t j = i + 1;
      while (j < order.size() && keyOf(details[order[j]]) == keyOf(details[order[i]])) ++j;
      if (j - i >= 2 &&
          (filters.sameMedium || onTwoMedia(order.begin() + static_cast<std::ptrdiff_t>(i),
                                            order.begin() + static_cast<std::ptrdiff_t>(j), mediumOfNumber))) {
        const Detail& d = details[order[i]];
        spans.push_back({d.size * (j - i - 1), prefixOf(keyOf(d)), keyOf(d), static_cast<std::uint32_t>(members.size()),
                         static_cast<std::uint32_t>(j - i)});
        members.insert(members.end(), order.begin() + static_cast<std::ptrdiff_t>(i),
                       order.begin() + static_cast<std::ptrdiff_t>(j));
      }
      i = j;
    }
  }
  // Largest waste first, then by name (folded, so case does not part them).
  std::sort(spans.begin(), spans.end(), [&](const Span& a, const Span& b) {
    if (a.wasted != b.wasted) return a.wasted > b.wasted;
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    const int byKey = a.key.compare(b.key);
    if (byKey != 0) return byKey < 0;
    const Detail& da = details[members[a.first]];
    const Detail& db = details[members[b.first]];
    return std::tie(da.catalog, da.row) < std::tie(db.catalog, db.row);
  });
  // The rows found, in group order.
  found.rows.reserve(members.size());
  // The groups are in another order than their rows: the memory of those
  // a few groups on is asked for early, one table after the other.
  const auto prefetchRows = [&](std::size_t span, int step) {
    if (span >= spans.size()) return;
    const Span& s = spans[span];
    for (std::uint32_t k = s.first; k < s.first + s.count; ++k) {
      if (step == 0) __builtin_prefetch(&members[k]);
      if (step == 1) __builtin_prefetch(&details[members[k]]);
      if (step == 2) __builtin_prefetch(&foundByPlace[details[members[k]].place]);
    }
  };
  for (std::size_t span = 0; span < spans.size(); ++span) {
    prefetchRows(span + 3 * Ahead, 0);
    prefetchRows(span + 2 * Ahead, 1);
    prefetchRows(span + Ahead, 2);
    const Span& s = spans[span];
    found.groups.push_back(
        {details[members[s.first]].size, static_cast<int>(found.rows.size()), static_cast<int>(s.count)});
    for (std::uint32_t k = s.first; k < s.first + s.count; ++k)
      found.rows.push_back(foundByPlace[details[members[k]].place]);
  }
  return found;
}

}  // namespace zevro
