#pragma once
// Pure text helpers shared by every subsystem: catalog paths, ASCII case,
// trimming, searching backwards, a readable dump of control characters and
// the code-2 separated name lists the listing helpers return.
//
// Paths are catalog paths as the user sees them: "\" separates folders and a
// drive is a letter and ":" ("C:\DATA\README.TXT"); the root of a drive is
// written with its "\" ("C:\"). Everything here works on UTF-16 text, so a
// Shift-JIS character whose second byte is 0x5C (表, ソ, 能 …) is one unit
// and never mistaken for a separator.
//
// Positions are 0-based unless a comment says "1-based".
#include <functional>
#include <vector>

#include "text/Text.h"

namespace zevro {

// --- Paths ---------------------------------------------------------------

// The folder that holds the path, without a trailing "\"; a drive ":" stays:
//   "C:\A\B.TXT" -> "C:\A",  "C:\A" -> "C:",  "C:\" -> "C:",  "B.TXT" -> "".
Text parentFolder(TextView path);

// The path minus its file name part, keeping the trailing "\":
//   "C:\A\B.TXT" -> "C:\A\",  "C:B.TXT" -> "C:",  "B.TXT" -> "".
Text folderWithSeparator(TextView path);

// Text after the last "\"; without "\", text after the first ":"; else all:
//   "C:\A\B.TXT" -> "B.TXT",  "C:B.TXT" -> "B.TXT",  "B.TXT" -> "B.TXT".
Text fileNamePart(TextView path);

// The file name part up to its last "." (or all of it):
//   "C:\A\ARCHIVE.TAR.GZ" -> "ARCHIVE.TAR",  "C:README" -> "README",
//   "A.VERYLONGEXT" -> "A" (unlike extensionOf, the "." may be anywhere).
Text baseName(TextView path);

// The text after the last "." among the last six characters of the name,
// upper-cased on request; "" when there is none:
//   "ARCHIVE.TAR.GZ" -> "GZ",  "README" -> "",  "A.VERYLONGEXT" -> "",
//   "C:\V1.0\README" -> "" (a "." in a folder name is not an extension).
Text extensionOf(TextView path, bool upper = false);
// The same extension as a view into path (as found, not upper-cased).
TextView extensionView(TextView path);

// The path with its extension (found as extensionOf finds it) replaced, or
// the new extension appended after a "." when there is none:
//   ("A.TXT", u"CSV") -> "A.CSV",  ("README", u"TXT") -> "README.TXT".
Text changeExtension(TextView path, TextView newExtension);

// A name taken relative to a folder:
//   ("C:\DATA", "..\X\Y.TXT") -> "C:\X\Y.TXT"  (each leading ".." goes up)
//   ("C:\DATA\", "\X")        -> "C:\DATA\X"
//   ("C:\DATA", "\X")         -> "C:\DATA\X"
//   ("C:\DATA", "D:\Y")       -> "D:\Y"        (a name with ":" is absolute)
Text joinPath(TextView folder, TextView name);

// The text without its last n characters; "" when it is shorter than n.
Text dropLast(TextView text, int n);

// --- Case and trimming ---------------------------------------------------

// Only A-Z / a-z change; full-width letters (Ａ, ａ) and all else stay.
Text asciiLower(TextView text);
Text asciiUpper(TextView text);

// Removes leading blanks, tabs and ideographic spaces (U+3000).
Text trimLeft(TextView text);

// trimLeft, then trailing tabs, then trailing blanks. A trailing U+3000 stays
// (titles of the catalog index are compared in that form):
//   "\t　 abc \t" -> "abc",  "abc\t " -> "abc\t",  "abc　" -> "abc　".
Text trim(TextView text);

// 1-based position of the last occurrence of pattern that starts at or before
// the 1-based position limit; 0 when there is none, or the pattern is empty:
//   (10, "a.b.c", ".") -> 4,  (3, "a.b.c", ".") -> 2,  (1, "a.b.c", ".") -> 0.
int lastOccurrence(int limit, TextView text, TextView pattern);

// A one-line dump of up to 256 characters of text from the 1-based position
// start: the start right-aligned in 6 characters, " [", the characters with
// each control character shown as [NL] [BS] [TB] [LF] [HM] [CL] [CR] [DL] or
// [hh] (two upper-case hex digits), and a closing "]" unless the dump already
// ends with one:
//   ("ab\rc", 1) -> "     1 [ab[CR]c]",  ("ab\r", 1) -> "     1 [ab[CR]".
Text controlDump(TextView text, int start);

// --- Name lists ----------------------------------------------------------
// Names joined by code 2: every name is preceded by one code 2 and the last
// is followed by one more, so {"A.TXT", "B.TXT"} is "\2A.TXT\2B.TXT\2"; the
// empty list is "". Names never contain code 2 (file names keep control
// characters escaped).

// Adds a name at the end of the list.
void appendName(Text& list, TextView name);

// The list of the names, in order.
Text nameList(const std::vector<Text>& names);

// Calls visit with every name of the list, in order. A list that lacks its
// final code 2 still yields its last name.
void forEachName(TextView list, const std::function<void(TextView)>& visit);

// The names of the list, in order.
std::vector<Text> namesOf(TextView list);

}  // namespace zevro
