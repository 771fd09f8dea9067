#pragma once
// The two search histories of the program folder, both CP932 text with CR LF:
//
// Catalog.Opt, the find box's words, newest first:
//   [ZEVRO32]\r\n          line 1, kept as found
//   \r\n                   line 2, kept as found (empty in a new file)
//   表計算\r\n              one word a line
//   readme\r\n
//   \x1A\x00               the end: code 26 and code 0, no line end
// Reading skips the first two lines and stops at code 26.
//
// SearchText.Opt, the search window's second terms, top entry first:
//   表計算\r\n
//   readme\r\n
//
// A word never holds a line break or code 26 (either would end it early when
// read back): they are written as blanks. Empty lines are not words.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro {

inline constexpr std::string_view SearchWordFileName = "Catalog.Opt";
inline constexpr std::string_view SecondTermFileName = "SearchText.Opt";

struct SearchWordHistory {
  static constexpr std::string_view FirstLine = "[ZEVRO32]";
  std::string firstLine{FirstLine};  // CP932 bytes as found, without the line end
  std::string secondLine;            // likewise
  std::vector<Text> words;           // newest first, like u"表計算"
};

// --- Catalog.Opt ------------------------------------------------------------

SearchWordHistory parseSearchWords(std::string_view bytes);
std::string searchWordBytes(const SearchWordHistory& history);

// The history in the file; a missing or unreadable file gives an empty one
// with the first lines of a new file.
SearchWordHistory readSearchWords(FileSystem& files, const NativePath& file);

// Writes the words, keeping lines 1 and 2 of the file that is there (those
// of a new file when there is none). A failed write shows
// "File書き込みエラー：" + path and leaves the old file; false then.
bool saveSearchWords(Platform& platform, const NativePath& file, const std::vector<Text>& words);

// --- SearchText.Opt ---------------------------------------------------------

std::vector<Text> parseSecondTerms(std::string_view bytes);
std::string secondTermBytes(const std::vector<Text>& terms);

// The terms in the file; none when it is missing or unreadable.
std::vector<Text> readSecondTerms(FileSystem& files, const NativePath& file);

// Writes the terms; a failure is shown like saveSearchWords's.
bool saveSecondTerms(Platform& platform, const NativePath& file, const std::vector<Text>& terms);

}  // namespace zevro
