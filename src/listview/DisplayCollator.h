#pragma once
// The order names are shown in when a list is sorted by a column: Japanese
// dictionary order, without regard to case or width, as a Japanese desktop
// sorts file names.
//
//   digits and signs   "_x", "1.txt", "10.txt"  (signs first, then digits)
//   Latin letters      "alpha" = "ALPHA" = "ａｌｐｈａ"
//   kana               "あさ" = "アサ" = "ｱｻ"; "か" before "が" before "き"
//   kanji              "写真" after every kana, in the national standard's order
//
// The order is ICU's Japanese collation at secondary strength: case, width
// and hiragana against katakana are tertiary differences and count for
// nothing, so such names keep their stored order among each other (a sort is
// stable). A sort builds every row's key once (appendKey) and compares the
// keys as plain bytes.
#include <string>

#include "text/Text.h"

struct UCollator;

namespace zevro {

class DisplayCollator {
public:
  DisplayCollator();
  ~DisplayCollator();
  DisplayCollator(const DisplayCollator&) = delete;
  DisplayCollator& operator=(const DisplayCollator&) = delete;

  // Appends the key of `text`: bytes that order as the texts do when
  // compared as unsigned bytes (std::string_view's order), ending with a
  // zero byte that no other byte of a key is.
  void appendKey(TextView text, std::string& out) const;

  // < 0, 0 or > 0 as a sort orders a and b.
  int compare(TextView a, TextView b) const;

private:
  UCollator* collator_ = nullptr;
};

}  // namespace zevro
