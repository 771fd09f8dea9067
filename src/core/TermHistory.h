#pragma once
// A history of search terms: at most 32 entries, newest first. Committing a
// text puts it at the top and removes the first older entry that is the same
// text once both are lower-cased and trimmed, so the newly typed form wins:
//   {u"Readme", u"cat"} + u" README " -> {u" README ", u"cat"}
// An empty text commits nothing.
#include <cstddef>
#include <vector>

#include "text/Text.h"

namespace zevro::termhistory {

inline constexpr std::size_t Limit = 32;

// The comparison form of an entry: u"  ReadMe\t" -> u"readme".
Text keyOf(TextView text);

// The index of the first entry equal to text in comparison form; -1 none.
int findEqual(const std::vector<Text>& entries, TextView text);

// Commits text as described above; false (nothing changed) for empty text.
bool commit(std::vector<Text>& entries, TextView text);

}  // namespace zevro::termhistory
