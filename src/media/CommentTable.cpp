#include "media/CommentTable.h"

#include <algorithm>

#include "core/Strings.h"

namespace zevro {

Text CommentTable::keyOf(TextView path) { return asciiLower(path); }

bool CommentTable::add(TextView path, TextView comment) {
  Text text(comment);
  std::replace(text.begin(), text.end(), ch::Tab, u' ');
  return entries_.try_emplace(keyOf(path), std::move(text)).second;
}

std::optional<TextView> CommentTable::find(TextView path) const {
  const auto it = entries_.find(keyOf(path));
  if (it == entries_.end()) return std::nullopt;
  return TextView(it->second);
}

}  // namespace zevro
