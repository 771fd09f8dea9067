#pragma once
// How zevro-cli writes catalog text: UTF-8, one record a line with fields
// separated by TAB, or JSON strings.
#include <string>

#include "text/Text.h"

namespace zevro::cli {

// A field as one piece of a TAB-separated line: TAB, CR and LF become blanks.
std::string oneLineField(TextView text);

// A JSON string literal of the text, quotes included: `"` and `\` escaped,
// control characters as \u00XX.
std::string jsonString(TextView text);

}  // namespace zevro::cli
