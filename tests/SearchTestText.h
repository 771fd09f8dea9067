#pragma once
// Helpers for the search tests: record text written readably, and the
// matching switches written as letters.
#include <string_view>

#include "search/MatchSwitches.h"
#include "text/Text.h"

namespace zevro::searchtest {

// Record text with its control characters written as visible stand-ins:
//   ^ row start (code 16)   | name end (17)   ~ comment end (18)
//   ` date end (19)         $ end marker (0)
// so "^ab|c~99`" is "\x10ab\x11c\x1299\x13".
inline Text marked(std::u16string_view text) {
  Text out(text);
  for (char16_t& c : out) {
    switch (c) {
      case u'^': c = 16; break;
      case u'|': c = 17; break;
      case u'~': c = 18; break;
      case u'`': c = 19; break;
      case u'$': c = 0; break;
      default: break;
    }
  }
  return out;
}

// "c" case folding, "w" width folding, "p" pattern mode, "t" whole words
// (whole terms); "" all off.
inline MatchSwitches switches(std::string_view letters) {
  MatchSwitches s;
  s.caseFold = letters.find('c') != std::string_view::npos;
  s.widthFold = letters.find('w') != std::string_view::npos;
  s.pattern = letters.find('p') != std::string_view::npos;
  s.wholeWord = letters.find('t') != std::string_view::npos;
  return s;
}

}  // namespace zevro::searchtest
