#include "search/RawTermSearch.h"

#include <algorithm>
#include <vector>

#include "text/Cp932.h"

namespace zevro {

namespace {

using cp932::isLeadByte;

// Characters that more than one byte sequence reads as (the NEC and IBM
// duplicates of CP932: 87 90 and 81 E0 both read as "≒"). A term holding one
// cannot be found by its bytes alone.
std::vector<bool> charactersWithSeveralForms() {
  std::vector<bool> several(0x10000, false);
  const auto check = [&](std::string_view code) {
    const Text read = cp932::decode(code);
    if (read.size() != 1) return;
    if (cp932::encode(read) != code) several[read[0]] = true;
  };
  for (unsigned b = 0x80; b < 0x100; ++b) {
    const char single = static_cast<char>(b);
    if (!isLeadByte(b)) check(std::string_view(&single, 1));
    for (unsigned trail = 0x40; isLeadByte(b) && trail <= 0xFC; ++trail) {
      const char pair[2] = {static_cast<char>(b), static_cast<char>(trail)};
      check(std::string_view(pair, 2));
    }
  }
  return several;
}

bool hasSeveralForms(char16_t c) {
  // Built once: a fixed property of the code page.
  static const std::vector<bool> several = charactersWithSeveralForms();
  return several[c];
}

bool termSuits(const SearchTerm& term) {
  if (term.isPattern() || term.widthFolds() || term.caseFolds()) return false;
  for (const char16_t c : term.folded())
    if (c < 0x20 || !cp932::representable(c) || hasSeveralForms(c)) return false;
  return true;
}

}  // namespace

bool RawTermSearch::suits(const SearchRequest& request) {
  if (request.foldsText() || !termSuits(request.first())) return false;
  return request.condition() != Condition::Or || termSuits(request.second());
}

RawTermSearch::RawTermSearch(const SearchRequest& request) {
  needles_[0].bytes = ByteSearcher(cp932::encode(request.first().folded()));
  if (request.condition() == Condition::Or) {
    needles_[1].bytes = ByteSearcher(cp932::encode(request.second().folded()));
    count_ = 2;
  }
}

void RawTermSearch::reset(std::string_view bytes) {
  text_ = bytes;
  for (Needle& n : needles_) n.searched = false;
}

std::size_t RawTermSearch::next(std::size_t from) {
  std::size_t first = npos;
  for (std::size_t i = 0; i < count_; ++i) first = std::min(first, nextOf(needles_[i], from));
  return first;
}

std::size_t RawTermSearch::nextOf(Needle& needle, std::size_t from) const {
  // An occurrence found earlier is still the next one while it lies ahead.
  if (needle.searched && (needle.found == npos || needle.found >= from)) return needle.found;
  needle.searched = true;
  needle.found = npos;
  needle.found = needle.bytes.find(text_, from);
  return needle.found;
}

}  // namespace zevro
