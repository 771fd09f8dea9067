#pragma once
// How zevro-cli writes catalog text: UTF-8, one record a line with fields
// separated by TAB, or JSON strings.
#include <string>

#include "text/Text.h"

namespace zevro::cli {

// A field as one piece of a TAB-separated line: TAB, CR and LF become blanks.
std::string oneLineField(TextView text);

// A JSON string literal of the text, quotes included, spelled as the name on
// the medium is: u"tab&#x0009;name" -> "\"tab\\u0009name\"". `"` and `\` are
// escaped, control characters written \u00XX, and a byte of a name that is
// not UTF-8 (U+DC80..U+DCFF in catalog text) \udcXX, as Python's
// surrogateescape reads it.
std::string jsonString(TextView text);

}  // namespace zevro::cli
