#include "listview/DisplayCollator.h"

#include <unicode/ucol.h>

namespace zevro {

namespace {

// Room for a key on the first try: ICU's keys at secondary strength take
// about two bytes a character and a few more.
std::size_t firstGuess(std::size_t length) { return 3 * length + 16; }

}  // namespace

DisplayCollator::DisplayCollator() {
  UErrorCode status = U_ZERO_ERROR;
  collator_ = ucol_open("ja", &status);
  if (U_FAILURE(status)) {
    // Without the Japanese data ICU still has its root order, built in.
    status = U_ZERO_ERROR;
    collator_ = ucol_open("", &status);
  }
  ucol_setStrength(collator_, UCOL_SECONDARY);
}

DisplayCollator::~DisplayCollator() { ucol_close(collator_); }

void DisplayCollator::appendKey(TextView text, std::string& out) const {
  const std::size_t start = out.size();
  std::size_t room = firstGuess(text.size());
  for (;;) {
    out.resize(start + room);
    const int32_t need =
        ucol_getSortKey(collator_, reinterpret_cast<const UChar*>(text.data()), static_cast<int32_t>(text.size()),
                        reinterpret_cast<uint8_t*>(out.data() + start), static_cast<int32_t>(room));
    if (need <= static_cast<int32_t>(room)) {
      out.resize(start + static_cast<std::size_t>(need));  // the key with its final zero byte
      return;
    }
    room = static_cast<std::size_t>(need);
  }
}

int DisplayCollator::compare(TextView a, TextView b) const {
  std::string ka;
  std::string kb;
  appendKey(a, ka);
  appendKey(b, kb);
  return std::string_view(ka).compare(kb);
}

}  // namespace zevro
