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

std::optional<TextView> CommentTable::find(TextView folder, TextView name) const {
  // Asked for every file of a reading; most media have no index file.
  if (entries_.empty()) return std::nullopt;
  Text& key = key_;
  key.assign(folder);
  key.push_back(ch::PathSeparator);
  key += name;
  for (char16_t& c : key)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  const auto it = entries_.find(key);
  if (it == entries_.end()) return std::nullopt;
  return TextView(it->second);
}

std::optional<TextView> CommentTable::find(TextView path) const {
  const auto it = entries_.find(keyOf(path));
  if (it == entries_.end()) return std::nullopt;
  return TextView(it->second);
}

}  // namespace zevro
