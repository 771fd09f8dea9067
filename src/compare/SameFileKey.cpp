#include "compare/SameFileKey.h"

#include <charconv>
#include <string>

#include "search/Folding.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr std::uint64_t FnvOffset = 0xcbf29ce484222325ULL;
constexpr std::uint64_t FnvPrime = 0x100000001b3ULL;

std::uint64_t mix(std::uint64_t h, std::uint64_t v) { return (h ^ v) * FnvPrime; }

// A final scramble, so that keys differing in the last unit spread over
// every bit.
std::uint64_t finish(std::uint64_t h) {
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  return h;
}

// The folded unit of each ASCII byte (a name of ASCII bytes alone folds
// unit by unit; "&" may start an escape of another character and is left
// to the full folding).
struct AsciiFolds {
  char16_t unit[128];
  AsciiFolds() {
    Text folded;
    for (int c = 0; c < 128; ++c) {
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

bool plainAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80 || c == '&' || c < 0x20) return false;
  }
  return true;
}

}  // namespace

const Text& SameFileKey::fold(std::string_view nameBytes) {
  if (plainAscii(nameBytes)) {
    const AsciiFolds& folds = asciiFolds();
    folded_.resize(nameBytes.size());
    for (std::size_t i = 0; i < nameBytes.size(); ++i)
      folded_[i] = folds.unit[static_cast<unsigned char>(nameBytes[i])];
    return folded_;
  }
  decoded_.resize(nameBytes.size());
  decoded_.resize(cp932::decodeInto(nameBytes, decoded_.data()));
  foldText(decoded_, true, true, folded_);
  return folded_;
}

std::uint64_t SameFileKey::hashOf(const FileRow& row) {
  std::uint64_t h = FnvOffset;
  if (plainAscii(row.name)) {
    const AsciiFolds& folds = asciiFolds();
    for (const char c : row.name) h = mix(h, folds.unit[static_cast<unsigned char>(c)]);
  } else {
    for (const char16_t c : fold(row.name)) h = mix(h, c);
  }
  h = mix(h, 0x10000);  // the end of the name
  h = mix(h, row.size);
  if (by_ == By::NameSizeDate) {
    for (const char c : row.date) h = mix(h, static_cast<unsigned char>(c));
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
