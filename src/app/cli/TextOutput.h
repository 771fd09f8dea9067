#pragma once
// How zevro-cli writes catalog text: UTF-8, one record a line with fields
// separated by TAB, or JSON strings.
#include <ios>
#include <string>

#include "text/Text.h"

namespace zevro::cli {

// A field as one piece of a TAB-separated line: TAB, CR and LF become blanks.
std::string oneLineField(TextView text);
// The same, written onto the end of out (no text of its own for the usual
// plain-ASCII field).
void appendOneLineField(TextView text, std::string& out);

// A JSON string literal of the text, quotes included, spelled as the name on
// the medium is: u"tab&#x0009;name" -> "\"tab\\u0009name\"". `"` and `\` are
// escaped, control characters written \u00XX, and a byte of a name that is
// not UTF-8 (U+DC80..U+DCFF in catalog text) \udcXX, as Python's
// surrogateescape reads it.
std::string jsonString(TextView text);

// Flushes what a command wrote to out. When any of it could not be written
// (a full disk, /dev/full, a closed pipe), a script must not take the cut
// output for the whole: one line naming the error goes to err and the exit
// status becomes ExitError; else the command's own status stands. code: the
// errno of a write that failed already (0: none known); exceptions: the
// stream's exception mask to put back.
int finishOutput(std::ostream& out, std::ostream& err, int status, int code, std::ios::iostate exceptions);

}  // namespace zevro::cli
