#pragma once
// Character classes of the whole-word test, and the test itself.
//
//   class 0  the empty character (before the text, beyond its end); blanks,
//            ASCII punctuation, control characters and field markers; the
//            full-width 　、。，．；： and ！＂＃＄％＆＇（）＊＋，－．／
//   class 1  digits 0-9, ０-９
//   class 2  letters A-Z, a-z, Ａ-Ｚ, ａ-ｚ, and "_"
//   class 3  hiragana ぁ-ん, katakana ァ-ヴ, ー, half-width katakana ｡-ﾟ
//   class 4  every other full-width character: kanji, ・, ヵ, ヶ, ＝, ［, ＿, α …
//
// An occurrence is a whole word when the class changes at both of its edges:
// "cat" is a word in "cat.txt", "my cat" and "cat1", not in "concat", "cats"
// or "cat_1"; "ファイル" is a word in "ファイル名" (名 is class 4), not in
// "ファイルー".
#include <cstddef>

#include "text/Text.h"

namespace zevro {

inline constexpr int EmptyCharClass = 0;

// The class (0..4) of one character.
int CharClass(char16_t c);

// The class of text[i], or of the empty character when i lies outside the
// text (i == npos, the position before the text, included).
int CharClassAt(TextView text, std::size_t i);

// How the start of the text counts in the start test.
enum class TextStart {
  Empty,         // the character before the text is the empty character (class 0)
  WordBoundary,  // an occurrence at position 0 always passes the start test
};

// The start test: the classes of text[pos - 1] and text[pos] differ.
bool StartsWord(TextView text, std::size_t pos, TextStart start = TextStart::Empty);

// The end test for an occurrence ending before end: the classes of
// text[end - 1] and text[end] differ.
bool EndsWord(TextView text, std::size_t end);

// Both tests for the occurrence [pos, pos + length).
bool IsWholeWord(TextView text, std::size_t pos, std::size_t length, TextStart start = TextStart::Empty);

}  // namespace zevro
