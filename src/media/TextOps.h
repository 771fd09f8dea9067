#pragma once
// Text operations of the readme analysis and the index readers, on catalog
// text (one unit per CP932 character). The character classes are the ones
// readme authors decorate titles with, stated in CP932 codes and tested
// through cp932::codeOf, so a full-width "（" and a half-width "(" fall where
// a Shift-JIS reader expects them.
//
//   TrimDecoration(u"★☆ すごいツール Ver1 ☆★") -> u"すごいツール Ver1"
//   TrimBlanks(u"　 abc \t")                    -> u"abc"
//   StripPairs(u"\r\n 【 \"ABC\" 】")            -> u"ABC"
//   RemoveDates(u"1999年12月 ツール", 0)         -> u"          ツール" (blanked)
//   FindWord(u"ご使用 説明 書", u"使用説明書")     -> {2, 9}
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/Text.h"

namespace zevro::textops {

// --- Character classes ---------------------------------------------------
bool isBlank(char16_t c);      // blank, full-width blank, TAB
bool isSeparator(char16_t c);  // blank, full-width blank, "," ";" ":" TAB CR LF
bool isLineBreak(char16_t c);  // CR or LF
bool isHiragana(char16_t c);   // ぁ to ん (as CP932 orders them: 0x829F to 0x82F1)
// Not a letter or digit in the sense of TrimDecoration: single-byte codes up
// to 47, 58 to 63, 91 to 96, 123 to 159 and from 224; double-byte 0x8140 to
// 0x815A, 0x815C to 0x81FF and 0x8401 to 0x84FF. A character CP932 cannot
// hold counts as a letter.
bool isDecoration(char16_t c);
bool isAsciiDigit(char16_t c);
bool isAsciiLetter(char16_t c);

// --- Trimming --------------------------------------------------------------
Text TrimDecoration(TextView text);
Text TrimBlanks(TextView text);
// A line break at either end and blanks at both ends go; then, while the
// first character opens and the last closes a decoration pair, both go;
// then leading marks (":･：・●◎○◇◆□■") and the blanks after them; then one
// pair of enclosing double quotes; the result is trimmed of blanks.
Text StripPairs(TextView text);

// --- Dates -----------------------------------------------------------------
// Blanks (replaces by blanks, keeping positions) the first date at or after
// `from`: a 平成 era date, else a number with 年 and what follows up to 日, 月
// or 年, else a yy/mm or yy-mm date with a year above 90, else (when the text
// holds a "9") an English month abbreviation with its digits. A date followed
// by 号 (a magazine issue) stays.
void RemoveDates(Text& text, std::size_t from = 0);

// --- Fuzzy words -----------------------------------------------------------
struct Match {
  std::size_t begin = 0;  // first matched character of the text
  std::size_t end = 0;    // one past the last
};
// The first place at or after `from` where the word stands in the text in
// order: hiragana and blanks of the word may be missing from the text, and
// blanks of the text between its characters are passed over. The match
// starts on a character of the word (never on a skipped blank).
std::optional<Match> FindWord(TextView text, TextView word, std::size_t from = 0);
// The word ending right before position `end` (blanks of the text before
// `end` passed over): the characters い き し ち に み り ん and blanks of
// the word may be missing from the text.
std::optional<Match> FindWordBefore(TextView text, TextView word, std::size_t end);
// Removes the first fuzzy match; true when there was one.
bool RemoveWord(Text& text, TextView word);

// --- Tokens ----------------------------------------------------------------
// The token starting at or after `from`: the first character that is no
// separator begins it; a double or single quote there runs the token to the
// same quote on the same line (quotes left out), otherwise it runs to the
// next separator. `next` is set past the token (past the closing quote).
struct Token {
  Text text;
  std::size_t begin = 0;  // first character (the quote for a quoted token)
  std::size_t next = 0;
};
std::optional<Token> NextToken(TextView text, std::size_t from = 0);

// --- Lines -----------------------------------------------------------------
// The lines of a text, split at CR or LF (CR LF once); `withLastLine` keeps
// a last line that has no line end.
std::vector<TextView> LinesOf(TextView text, bool withLastLine = true);

// --- CP932 byte columns ------------------------------------------------------
// Bytes [first, first + count) of the line's CP932 form as text (first is
// 0-based); a double-byte character that a boundary cuts in two is left
// out. count npos: to the end.
//   (u"表示ABC", 1, 3) -> u"示"  (表 takes bytes 0 and 1 and is cut)
//   (u"表示ABC", 4)    -> u"ABC"
Text ByteColumns(TextView line, std::size_t first, std::size_t count = std::u16string::npos);
// The number of bytes the text takes as CP932 (one for a character CP932
// does not hold).
std::size_t ByteWidth(TextView text);

// --- Small helpers -----------------------------------------------------------
bool EndsWith(TextView text, TextView end);
bool StartsWith(TextView text, TextView start);
bool Contains(TextView text, TextView part);
// Every character below the blank becomes a blank; CR and LF stay when
// `keepLineBreaks`.
void BlankControls(Text& text, bool keepLineBreaks);
// Runs of blanks and TABs become one character each (the first of the run).
Text SqueezeBlanks(TextView text);
// A generated comment made fit for a row: controls blanked (line breaks
// kept when asked), squeezed when longer than `limit`, then cut to it.
Text FitComment(TextView text, std::size_t limit, bool keepLineBreaks);

}  // namespace zevro::textops
