#include "search/TrigramIndex.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <span>

#include "core/Record.h"
#include "search/IndexBytes.h"
#include "search/Folding.h"
#include "search/WildPattern.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

using namespace indexbytes;

constexpr std::string_view Magic = "ZVTRIX1\n";
constexpr char16_t VoicedMark = 0x309B;      // ゛
constexpr char16_t SemiVoicedMark = 0x309C;  // ゜
constexpr char16_t HalfFirst = 0xFF61;
constexpr char16_t HalfLast = 0xFF9D;  // the letters before ﾞ ﾟ
constexpr char16_t FirstPrintable = 0x20;

struct Decomposition {
  char16_t letter = 0;
  char16_t mark = 0;
};

// The katakana that width folding joins from a letter and a mark, split again.
const std::array<Decomposition, 0x10000>& decompositions() {
  static const auto table = [] {
    auto t = std::make_unique<std::array<Decomposition, 0x10000>>();
    for (char16_t c = HalfFirst; c <= HalfLast; ++c) {
      const Text letter = toFullWidth(TextView(&c, 1));
      for (char16_t mark : {char16_t{0xFF9E}, char16_t{0xFF9F}}) {
        const char16_t pair[] = {c, mark};
        const Text joined = toFullWidth(TextView(pair, 2));
        if (joined.size() == 1 && letter.size() == 1)
          (*t)[joined[0]] = {letter[0], mark == 0xFF9E ? VoicedMark : SemiVoicedMark};
      }
    }
    return t;
  }();
  return *table;
}

// Index folding of one unit: one or two units.
struct UnitFold {
  char16_t units[2] = {0, 0};
  std::uint8_t length = 0;
};

const std::array<UnitFold, 0x10000>& unitFolds() {
  static const auto table = [] {
    auto t = std::make_unique<std::array<UnitFold, 0x10000>>();
    const auto& split = decompositions();
    Text folded;
    for (std::uint32_t u = 0; u < 0x10000; ++u) {
      const char16_t c = static_cast<char16_t>(u);
      foldText(TextView(&c, 1), true, true, folded);
      UnitFold& out = (*t)[u];
      // One unit folds to one unit: only joining makes width folding shrink a text.
      const char16_t f = folded.empty() ? c : folded[0];
      if (split[f].letter) {
        out = {{split[f].letter, split[f].mark}, 2};
      } else {
        out = {{f, 0}, 1};
      }
    }
    return t;
  }();
  return *table;
}

std::uint64_t keyOf(const char16_t* p) {
  return (std::uint64_t{p[0]} << 32) | (std::uint64_t{p[1]} << 16) | std::uint64_t{p[2]};
}

void addTrigrams(TextView folded, std::vector<std::uint64_t>& keys) {
  for (std::size_t i = 0; i + 3 <= folded.size(); ++i) keys.push_back(keyOf(folded.data() + i));
}

// The runs of a (folded) pattern that it matches character for character.
std::vector<Text> literalRuns(TextView pattern) {
  std::vector<Text> runs(1);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    if (c == u'?' || c == u'*' || c == u'#' || c == u'[' || c == u']') {
      runs.emplace_back();
      if (c == u'[') {
        const std::size_t close = pattern.find(u']', i + 1);
        if (close == TextView::npos) break;  // what follows is left out: fewer trigrams, never wrong ones
        i = close;
      }
      continue;
    }
    runs.back().push_back(c);
  }
  return runs;
}

void intersect(std::vector<int>& into, const std::vector<int>& other) {
  std::vector<int> out;
  std::set_intersection(into.begin(), into.end(), other.begin(), other.end(), std::back_inserter(out));
  into.swap(out);
}

}  // namespace

void indexFold(TextView text, Text& out) {
  const auto& folds = unitFolds();
  out.resize(2 * text.size());
  std::size_t n = 0;
  for (char16_t c : text) {
    const UnitFold& f = folds[c];
    out[n] = f.units[0];
    out[n + 1] = f.units[1];
    n += f.length;
  }
  out.resize(n);
}

std::uint64_t TrigramIndex::headerHashOf(std::string_view listFileBytes) {
  return fnv(listFileBytes.substr(0, 64));
}

namespace {

// The blocks each trigram occurs in, gathered in one pass: keys are numbered
// as they are first met (an open-addressing table), and a key's blocks come
// in order, each once.
class Postings {
public:
  void add(std::uint64_t key, std::uint32_t block) {
    if (2 * (keys_.size() + 1) > table_.size()) grow();
    const std::uint64_t tagged = key | Used;
    for (std::size_t at = slotOf(key);; at = (at + 1) & (table_.size() - 1)) {
      Slot& slot = table_[at];
      if (slot.key == tagged) {
        if (slot.lastBlock != block) {
          slot.lastBlock = block;
          pairs_.push_back({slot.id, block});
        }
        return;
      }
      if (slot.key == 0) {
        const auto id = static_cast<std::uint32_t>(keys_.size());
        slot = {tagged, id, block};
        keys_.push_back(key);
        pairs_.push_back({id, block});
        return;
      }
    }
  }

  // Empty again, keeping the room (a builder is reused from list file to list file).
  void clear() {
    std::fill(table_.begin(), table_.end(), Slot{});
    keys_.clear();
    pairs_.clear();
  }

  std::size_t keyCount() const { return keys_.size(); }
  std::size_t pairCount() const { return pairs_.size(); }

  // (key, blocks) in ascending key order.
  template <typename Each>
  void forEach(Each each) const {
    std::vector<std::uint32_t> start(keys_.size() + 1, 0);
    for (const Pair& p : pairs_) ++start[p.id + 1];
    for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
    std::vector<std::uint32_t> blocks(pairs_.size());
    std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
    for (const Pair& p : pairs_) blocks[fill[p.id]++] = p.block;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> order(keys_.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = {keys_[i], i};
    std::sort(order.begin(), order.end());
    for (const auto& [key, id] : order)
      each(key, std::span<const std::uint32_t>(blocks.data() + start[id], start[id + 1] - start[id]));
  }

private:
  static constexpr std::uint64_t Used = std::uint64_t{1} << 63;
  // A key, its number and the last block it was met in: one look per trigram.
  struct Slot {
    std::uint64_t key = 0;  // with Used; 0: empty
    std::uint32_t id = 0;
    std::uint32_t lastBlock = 0;
  };
  struct Pair {
    std::uint32_t id;
    std::uint32_t block;
  };
  // The top bits of the product: every unit of the trigram counts.
  std::size_t slotOf(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  void grow() {
    std::vector<Slot> old = std::move(table_);
    const std::size_t size = old.empty() ? 4096 : 2 * old.size();
    table_.assign(size, Slot{});
    shift_ = 64 - std::countr_zero(size);
    for (const Slot& s : old) {
      if (s.key == 0) continue;
      std::size_t at = slotOf(s.key & ~Used);
      while (table_[at].key != 0) at = (at + 1) & (size - 1);
      table_[at] = s;
    }
  }

  std::vector<Slot> table_;
  int shift_ = 64;
  std::vector<std::uint64_t> keys_;
  std::vector<Pair> pairs_;
};

}  // namespace

namespace {

// A varint written at p; the position after it.
char* putVarintAt(char* p, std::uint64_t v) {
  while (v >= 0x80) {
    *p++ = static_cast<char>((v & 0x7F) | 0x80);
    v >>= 7;
  }
  *p++ = static_cast<char>(v);
  return p;
}

std::string serialize(const Postings& postingsOf, std::uint32_t rows, std::uint32_t rowsPerBlock,
                      const TrigramIndex::Stamp& stamp) {
  // Written in place into room for the longest varints (10 bytes), cut to size after.
  const std::size_t keys = postingsOf.keyCount();
  std::string directory, entries(20 * keys, '\0'), postings(10 * postingsOf.pairCount(), '\0');
  directory.reserve(16 * (keys / TrigramIndex::DirectoryStride + 1));
  char* entry = entries.data();
  char* posting = postings.data();
  std::uint32_t trigrams = 0;
  std::uint64_t lastKey = 0;
  postingsOf.forEach([&](std::uint64_t key, std::span<const std::uint32_t> blocks) {
    if (trigrams % TrigramIndex::DirectoryStride == 0) {
      putU64(directory, key);
      putU32(directory, static_cast<std::uint32_t>(entry - entries.data()));
      putU32(directory, static_cast<std::uint32_t>(posting - postings.data()));
      lastKey = key;
    }
    char* const postingStart = posting;
    std::int64_t previous = -1;
    for (std::uint32_t b : blocks) {
      posting = putVarintAt(posting, static_cast<std::uint64_t>(b - previous - 1));
      previous = b;
    }
    entry = putVarintAt(entry, key - lastKey);
    entry = putVarintAt(entry, static_cast<std::uint64_t>(posting - postingStart));
    lastKey = key;
    ++trigrams;
  });
  entries.resize(static_cast<std::size_t>(entry - entries.data()));
  postings.resize(static_cast<std::size_t>(posting - postings.data()));

  std::string out(Magic);
  out.reserve(TrigramIndex::HeaderBytes + directory.size() + entries.size() + postings.size());
  putU64(out, stamp.size);
  putU64(out, static_cast<std::uint64_t>(stamp.modified));
  putU64(out, stamp.headerHash);
  putU32(out, rows);
  putU32(out, trigrams);
  putU32(out, static_cast<std::uint32_t>(directory.size()));
  putU32(out, static_cast<std::uint32_t>(entries.size()));
  putU32(out, static_cast<std::uint32_t>(postings.size()));
  putU32(out, rowsPerBlock);
  putU64(out, fnv(postings, fnv(entries, fnv(directory))));
  putU64(out, fnv(out));
  out += directory;
  out += entries;
  out += postings;
  return out;
}

}  // namespace

namespace {

// The index folding of every CP932 character by its code (a single byte, or
// lead byte * 256 + trail byte), so that a list file's bytes are folded
// without being decoded first. Length 0: a code that does not decode to one
// unit on its own (a lead byte alone, an unmapped pair); a text holding one
// is decoded as a whole instead.
const std::array<UnitFold, 0x10000>& codeFolds() {
  static const auto table = [] {
    auto t = std::make_unique<std::array<UnitFold, 0x10000>>();
    const auto& folds = unitFolds();
    std::string bytes;
    for (unsigned code = 0; code < 0x10000; ++code) {
      bytes.clear();
      if (code < 0x100) {
        if (cp932::isLeadByte(code)) continue;
        bytes.push_back(static_cast<char>(code));
      } else {
        if (!cp932::isLeadByte(code >> 8) || !cp932::isTrailByte(code & 0xFF)) continue;
        bytes.push_back(static_cast<char>(code >> 8));
        bytes.push_back(static_cast<char>(code & 0xFF));
      }
      const Text unit = cp932::decode(bytes);
      if (unit.size() != 1) continue;
      const bool control = unit[0] < FirstPrintable;
      const UnitFold f = control ? UnitFold{{unit[0], 0}, 1} : folds[unit[0]];
      // Folding never turns a character into a field marker.
      if (!control && (f.units[0] < FirstPrintable || (f.length == 2 && f.units[1] < FirstPrintable))) continue;
      (*t)[code] = f;
    }
    return t;
  }();
  return *table;
}

// The trigrams of a heap, row by row, into a builder. A trigram with a field
// marker is left out: no term holds one (see termTrigrams), and so trigrams
// never span two rows either.
class TrigramWalk {
public:
  explicit TrigramWalk(Postings& postings) : postings_(postings) {}

  // A field marker (or another control character); first: the heap's first character.
  void control(char16_t c, bool first) {
    if (c == record::FirstMarker && !first && ++row_ % TrigramIndex::RowsPerBlock == 0) {
      ++block_;
      seen_.fill(0);
    }
    run_ = 0;
  }
  void unit(char16_t unit) {
    key_ = ((key_ << 16) | unit) & 0xFFFFFFFFFFFFull;
    if (++run_ < 3) return;
    std::uint64_t& slot = seen_[(key_ * 0x9E3779B97F4A7C15ull) >> (64 - SeenBits)];
    if (slot == key_) return;
    slot = key_;
    postings_.add(key_, block_);
  }
  void folded(const UnitFold& f) {
    unit(f.units[0]);
    if (f.length == 2) unit(f.units[1]);
  }
  std::uint32_t rows(bool empty) const { return empty ? 0 : row_ + 1; }

private:
  // Rows of a block repeat most of their trigrams (extensions, dates, common
  // words): a small table of those met in this block spares the builder's
  // lookup for them.
  static constexpr int SeenBits = 10;
  Postings& postings_;
  std::array<std::uint64_t, std::size_t{1} << SeenBits> seen_{};
  std::uint32_t row_ = 0;
  std::uint32_t block_ = 0;
  std::uint64_t key_ = 0;
  int run_ = 0;  // printable units just before
};

// Walks the heap's bytes straight through codeFolds(); false at a code that
// does not decode on its own.
bool walkBytes(std::string_view heap, TrigramWalk& walk) {
  const UnitFold* const folds = codeFolds().data();
  const auto* p = reinterpret_cast<const unsigned char*>(heap.data());
  const auto* const begin = p;
  const auto* const end = p + heap.size();
  while (p < end) {
    unsigned code = *p;
    const bool first = p == begin;
    if (cp932::isLeadByte(code)) {
      if (p + 1 == end) return false;
      code = (code << 8) | p[1];
      p += 2;
    } else {
      ++p;
    }
    const UnitFold& f = folds[code];
    if (f.length == 0) return false;
    if (f.units[0] < FirstPrintable)
      walk.control(f.units[0], first);
    else
      walk.folded(f);
  }
  return true;
}

}  // namespace

std::string TrigramIndex::build(ListFileBytes& file, const Stamp& stamp) {
  // One builder per thread, kept between list files: its table keeps its room.
  thread_local Postings builder;
  Postings& postingsOf = builder;
  postingsOf.clear();
  const std::string_view bytes = file.heap();
  std::optional<TrigramWalk> walk(std::in_place, postingsOf);
  if (!walkBytes(bytes, *walk)) {
    // Decoded whole, as the search decodes it, and folded unit by unit.
    postingsOf.clear();
    walk.emplace(postingsOf);
    Text heap(bytes.size(), u'\0');
    heap.resize(cp932::decodeInto(bytes, heap.data()));
    const auto& folds = unitFolds();
    for (std::size_t i = 0; i < heap.size(); ++i) {
      if (heap[i] < FirstPrintable)
        walk->control(heap[i], i == 0);
      else
        walk->folded(folds[heap[i]]);
    }
  }
  return serialize(postingsOf, walk->rows(bytes.empty()), RowsPerBlock, stamp);
}

bool TrigramIndex::buildOverCatalogs(const std::vector<const TrigramIndex*>& catalogs, std::string& out) {
  Postings postingsOf;
  std::vector<std::uint64_t> keys;
  for (std::size_t n = 0; n < catalogs.size(); ++n) {
    if (!catalogs[n]->keys(keys)) return false;
    for (std::uint64_t key : keys) postingsOf.add(key, static_cast<std::uint32_t>(n));
  }
  out = serialize(postingsOf, static_cast<std::uint32_t>(catalogs.size()), 1, Stamp{});
  return true;
}

bool TrigramIndex::keys(std::vector<std::uint64_t>& keys) const {
  keys.clear();
  if (!open_) return false;
  keys.reserve(trigrams_);
  std::uint64_t current = 0;
  std::size_t at = 0;
  for (std::uint32_t n = 0; n < trigrams_; ++n) {
    std::uint64_t delta = 0, length = 0;
    if (!getVarint(entries_, at, delta) || !getVarint(entries_, at, length)) return false;
    if (n % DirectoryStride == 0) {
      const std::uint64_t first = getU(directory_, (n / DirectoryStride) * 16, 8);
      if (delta != 0 || (n > 0 && first <= current)) return false;
      current = first;
    } else {
      if (delta == 0) return false;
      current += delta;
    }
    keys.push_back(current);
  }
  return at == entries_.size();
}

TrigramIndex::Status TrigramIndex::open(std::string_view bytes, const Stamp& expected) {
  open_ = false;
  if (bytes.size() < HeaderBytes || bytes.substr(0, Magic.size()) != Magic) return Status::Damaged;
  if (getU(bytes, 64, 8) != fnv(bytes.substr(0, 64))) return Status::Damaged;
  const std::uint64_t directoryBytes = getU(bytes, 40, 4), entryBytes = getU(bytes, 44, 4),
                      postingBytes = getU(bytes, 48, 4);
  rows_ = static_cast<std::uint32_t>(getU(bytes, 32, 4));
  trigrams_ = static_cast<std::uint32_t>(getU(bytes, 36, 4));
  if (bytes.size() != HeaderBytes + directoryBytes + entryBytes + postingBytes) return Status::Damaged;
  if (directoryBytes != 16 * ((std::uint64_t{trigrams_} + DirectoryStride - 1) / DirectoryStride))
    return Status::Damaged;
  rowsPerBlock_ = static_cast<std::uint32_t>(getU(bytes, 52, 4));
  if (rowsPerBlock_ != RowsPerBlock && rowsPerBlock_ != 1) return Status::Damaged;
  const Stamp stamp{getU(bytes, 8, 8), static_cast<std::int64_t>(getU(bytes, 16, 8)), getU(bytes, 24, 8)};
  if (!(stamp == expected)) return Status::Stale;
  directory_ = bytes.substr(HeaderBytes, directoryBytes);
  entries_ = bytes.substr(HeaderBytes + directoryBytes, entryBytes);
  postings_ = bytes.substr(HeaderBytes + directoryBytes + entryBytes, postingBytes);
  open_ = true;
  return Status::Fresh;
}

TrigramIndex::Status TrigramIndex::openChecked(std::string_view bytes, const Stamp& expected) {
  const Status status = open(bytes, expected);
  if (status == Status::Damaged || bytes.size() < HeaderBytes) return status;
  if (getU(bytes, 56, 8) != fnv(bytes.substr(HeaderBytes))) {
    open_ = false;
    return Status::Damaged;
  }
  return status;
}

std::vector<std::uint64_t> TrigramIndex::termTrigrams(const SearchTerm& term) {
  std::vector<std::uint64_t> keys;
  const Text& folded = term.folded();
  // A term with a field marker may match across rows: only the scan knows.
  if (std::any_of(folded.begin(), folded.end(), [](char16_t c) { return c < FirstPrintable; })) return keys;
  Text indexed;
  if (term.isPattern()) {
    for (const Text& run : literalRuns(folded)) {
      indexFold(run, indexed);
      addTrigrams(indexed, keys);
    }
  } else {
    indexFold(folded, indexed);
    addTrigrams(indexed, keys);
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

bool TrigramIndex::postingOf(std::uint64_t key, std::vector<int>& rows, bool& found) const {
  rows.clear();
  found = false;
  const std::size_t slots = directory_.size() / 16;
  // The last slot whose first key is at or below key.
  std::size_t low = 0, high = slots;
  while (low < high) {
    const std::size_t mid = (low + high) / 2;
    if (getU(directory_, mid * 16, 8) <= key)
      low = mid + 1;
    else
      high = mid;
  }
  if (low == 0) return true;
  const std::size_t slot = low - 1;
  std::uint64_t current = getU(directory_, slot * 16, 8);
  std::size_t entryAt = getU(directory_, slot * 16 + 8, 4);
  std::size_t postingAt = getU(directory_, slot * 16 + 12, 4);
  const std::size_t entryEnd = slot + 1 < slots ? getU(directory_, (slot + 1) * 16 + 8, 4) : entries_.size();
  if (entryAt > entryEnd || entryEnd > entries_.size() || postingAt > postings_.size()) return false;
  const std::string_view entries = entries_.substr(0, entryEnd);
  for (std::uint32_t n = 0; entryAt < entryEnd && n < DirectoryStride; ++n) {
    std::uint64_t delta = 0, length = 0;
    if (!getVarint(entries, entryAt, delta) || !getVarint(entries, entryAt, length)) return false;
    if (n > 0 && delta == 0) return false;  // keys strictly ascending
    current += delta;
    if (length == 0 || length > postings_.size() - postingAt) return false;
    if (current == key) {
      const std::string_view posting = postings_.substr(postingAt, length);
      std::size_t at = 0;
      std::int64_t row = -1;
      while (at < posting.size()) {
        std::uint64_t gap = 0;
        if (!getVarint(posting, at, gap)) return false;
        row += static_cast<std::int64_t>(gap) + 1;
        if (row * rowsPerBlock_ >= rows_) return false;
        rows.push_back(static_cast<int>(row));
      }
      found = true;
      return true;
    }
    if (current > key) return true;
    postingAt += length;
  }
  return true;
}

bool TrigramIndex::rowsWithAll(const std::vector<std::uint64_t>& keys, std::vector<int>& rows) const {
  std::vector<int> posting;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    bool found = false;
    if (!postingOf(keys[i], posting, found)) return false;
    if (!found) {
      rows.clear();
      return true;
    }
    if (i == 0)
      rows.swap(posting);
    else
      intersect(rows, posting);
    if (rows.empty()) return true;
  }
  return true;
}

bool TrigramIndex::candidates(const SearchRequest& request, std::vector<int>& rows) const {
  std::vector<int> blocks;
  if (!candidateBlocks(request, blocks)) return false;
  rows.clear();
  for (int block : blocks) {
    const int first = block * static_cast<int>(rowsPerBlock_);
    const int end = std::min(first + static_cast<int>(rowsPerBlock_), static_cast<int>(rows_));
    for (int row = first; row < end; ++row) rows.push_back(row);
  }
  return true;
}

bool TrigramIndex::candidateBlocks(const SearchRequest& request, std::vector<int>& rows) const {
  rows.clear();
  if (!open_) return false;
  const std::vector<std::uint64_t> first = termTrigrams(request.first());
  const std::vector<std::uint64_t> second =
      request.isTwoTerm() ? termTrigrams(request.second()) : std::vector<std::uint64_t>{};
  if (request.condition() == Condition::Or) {
    if (first.empty() || second.empty()) return false;
    std::vector<int> a, b;
    if (!rowsWithAll(first, a) || !rowsWithAll(second, b)) return false;
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(rows));
    return true;
  }
  // One term, or AND: every row found holds the first term, and with AND the second as well.
  std::vector<std::uint64_t> all = first;
  if (request.condition() == Condition::And) all.insert(all.end(), second.begin(), second.end());
  if (all.empty()) return false;
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  return rowsWithAll(all, rows);
}

}  // namespace zevro
