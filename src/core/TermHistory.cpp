#include "core/TermHistory.h"

#include "core/Strings.h"

namespace zevro::termhistory {

Text keyOf(TextView text) { return asciiLower(trim(text)); }

int findEqual(const std::vector<Text>& entries, TextView text) {
  const Text key = keyOf(text);
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (keyOf(entries[i]) == key) return static_cast<int>(i);
  return -1;
}

bool commit(std::vector<Text>& entries, TextView text) {
  if (text.empty()) return false;
  const int old = findEqual(entries, text);
  if (old >= 0) entries.erase(entries.begin() + old);
  entries.insert(entries.begin(), Text(text));
  if (entries.size() > Limit) entries.resize(Limit);
  return true;
}

}  // namespace zevro::termhistory
