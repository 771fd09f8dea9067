#pragma once
// Width and case folding of search terms and searched text, and the two tests
// that decide whether a term needs them.
//
// Width folding turns half-width forms into full-width ones, so that both
// sides of a comparison hold one form:
//   "a b~"  -> "ａ　ｂ～"      (U+0020 -> U+3000, U+0021..U+007E -> U+FF01..U+FF5E)
//   "ｶﾞｲﾄﾞ" -> "ガイド"        (a following ﾞ or ﾟ joins its letter; the text shrinks)
//   "ﾊﾟﾝ"   -> "パン",  "ｳﾞ" -> "ヴ",  "ﾜﾞ" -> "ワ゛" (no joined form), "｡｢｣､･ｰ" -> "。「」、・ー"
//   "’ ” ￥" -> "＇ ＂ ＼"     (Japanese input widens ' " and the yen-sign
//                             backslash to these, so they count as the same)
// Everything else (kanji, hiragana, full-width forms, control characters and
// field markers) stays as it is.
//
// Case folding makes Latin letters upper case: "abcａｂｃßα" -> "ABCＡＢＣßα".
#include "text/Text.h"

namespace zevro {

// True when the text holds a character that takes part in width folding:
// a half-width character (U+0020..U+007E, ｡..ﾟ) or one of the full-width
// forms listed in Folding.cpp (ＡＢＣ, ０..９, ァ..ヶ, ー, 「」, ＊, …).
// "abc", "ＡＢＣ", "ガイド", "「本」" -> true; "漢字", "がいど", "東京、大阪" -> false.
bool NeedWidthFold(TextView text);

// True when the text holds a letter A-Z, a-z, Ａ-Ｚ or ａ-ｚ (not α, not é).
bool HasLatinLetter(TextView text);

// The full-width form of the text (see above).
Text toFullWidth(TextView text);

// Latin letters a-z and ａ-ｚ to upper case, in place.
void toUpperLatin(Text& text);

// out := the text folded as a search compares it: to full width when width
// is set, then to upper case when upper is set. out's storage is reused, so a
// caller folding many rows keeps one buffer.
void foldText(TextView text, bool width, bool upper, Text& out);

}  // namespace zevro
