#include "compare/SameFileKey.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string>

#include "search/Folding.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr std::uint64_t Seed = 0xcbf29ce484222325ULL;

std::uint64_t mix(std::uint64_t h, std::uint64_t v) {
  h = (h ^ v) * 0x9e3779b97f4a7c15ULL;
  return h ^ (h >> 29);
}

// A final scramble, so that keys differing in the last unit spread over
// every bit.
std::uint64_t finish(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  return h;
}

// Folded units four to a word (a name is a few words, not a few dozen
// steps one after the other), then their number.
std::uint64_t hashUnits(const char16_t* units, std::size_t count) {
  std::uint64_t h = Seed;
  std::size_t i = 0;
  for (; i + 4 <= count; i += 4) {
    std::uint64_t word;
    std::memcpy(&word, units + i, sizeof word);
    h = mix(h, word);
  }
  if (i < count) {
    std::uint64_t word = 0;
    std::memcpy(&word, units + i, (count - i) * sizeof(char16_t));
    h = mix(h, word);
  }
  return mix(h, count);
}

// The folded unit of each byte that folds by itself: ASCII, but not "&",
// which may start an escape of another character, nor control codes; 0 for
// the bytes left to the full folding.
struct AsciiFolds {
  char16_t unit[256] = {};
  AsciiFolds() {
    Text folded;
    for (int c = 0x20; c < 0x80; ++c) {
      if (c == '&') continue;
      const char16_t one = static_cast<char16_t>(c);
      foldText(TextView(&one, 1), true, true, folded);
      unit[c] = folded.size() == 1 ? folded[0] : one;
    }
  }
};
const AsciiFolds& asciiFolds() {
  static const AsciiFolds folds;
  return folds;
}

}  // namespace

const Text& SameFileKey::fold(std::string_view nameBytes) {
  static const AsciiFolds& folds = asciiFolds();
  folded_.resize(nameBytes.size());
  char16_t* const out = folded_.data();
  bool whole = true;  // every byte folded by itself
  for (std::size_t i = 0; i < nameBytes.size(); ++i) {
    const char16_t unit = folds.unit[static_cast<unsigned char>(nameBytes[i])];
    out[i] = unit;
    whole &= unit != 0;
  }
  if (whole) return folded_;
  decoded_.resize(nameBytes.size());
  decoded_.resize(cp932::decodeInto(nameBytes, decoded_.data()));
  foldText(decoded_, true, true, folded_);
  return folded_;
}

namespace {

// hashUnits of the name's folded units, for a name whose bytes all fold by
// themselves, without writing the folded name out; false for other names.
bool hashFoldedBytes(std::string_view name, const AsciiFolds& folds, std::uint64_t& hash) {
  std::uint64_t h = Seed;
  bool whole = true;
  const auto unit = [&](std::size_t i) {
    const char16_t u = folds.unit[static_cast<unsigned char>(name[i])];
    whole &= u != 0;
    return static_cast<std::uint64_t>(u);
  };
  std::size_t i = 0;
  for (; i + 4 <= name.size(); i += 4)
    h = mix(h, unit(i) | unit(i + 1) << 16 | unit(i + 2) << 32 | unit(i + 3) << 48);
  if (i < name.size()) {
    std::uint64_t word = 0;
    for (int shift = 0; i < name.size(); ++i, shift += 16) word |= unit(i) << shift;
    h = mix(h, word);
  }
  hash = mix(h, name.size());
  return whole;
}

}  // namespace

std::uint64_t SameFileKey::hashOf(const FileRow& row) {
  static const AsciiFolds& folds = asciiFolds();
  std::uint64_t h = 0;
  if (!hashFoldedBytes(row.name, folds, h)) {
    const Text& folded = fold(row.name);
    h = hashUnits(folded.data(), folded.size());
  }
  h = mix(h, row.size);
  if (by_ == By::NameSizeDate) {
    // The date's bytes eight to a word, then their number.
    std::size_t i = 0;
    for (; i < row.date.size(); i += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, row.date.data() + i, std::min<std::size_t>(8, row.date.size() - i));
      h = mix(h, word);
    }
    h = mix(h, row.date.size());
  }
  return finish(h);
}

const Text& SameFileKey::textOf(const FileRow& row) {
  key_ = fold(row.name);
  key_ += u'\0';
  char digits[24];
  const char* const end = std::to_chars(digits, digits + sizeof digits, row.size).ptr;
  for (const char* c = digits; c != end; ++c) key_ += static_cast<char16_t>(*c);
  if (by_ == By::NameSizeDate) {
    key_ += u'\0';
    key_ += cp932::decode(row.date);
  }
  return key_;
}

}  // namespace zevro
