#pragma once
// The four matching switches the user sets in the main window and in the
// search window (they share the values): option names AlphaSame, HanZenSame,
// UseWildCard and FindTerm.

namespace zevro {

struct MatchSwitches {
  bool caseFold = false;   // AlphaSame: "abc" and "ABC" (and "ａｂｃ"/"ＡＢＣ") match
  bool widthFold = false;  // HanZenSame: "abc" and "ａｂｃ", "ｶﾞ" and "ガ" match
  bool pattern = false;    // UseWildCard: "a*b", "a?c", "[xy]z" are patterns
  bool wholeWord = false;  // FindTerm: "cat" finds "my cat", not "concat"
};

}  // namespace zevro
