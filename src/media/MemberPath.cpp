#include "media/MemberPath.h"

#include "core/Strings.h"

namespace zevro {

namespace {

Text withSlashes(TextView path) {
  Text out(path);
  for (char16_t& c : out)
    if (c == u'\\') c = u'/';
  return out;
}

bool isAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

}  // namespace

std::optional<std::vector<Text>> safeMemberComponents(TextView path) {
  const Text p = withSlashes(path);
  if (p.empty() || p.front() == u'/') return std::nullopt;
  if (p.size() >= 2 && isAsciiLetter(p[0]) && p[1] == u':') return std::nullopt;
  std::vector<Text> parts;
  std::size_t start = 0;
  while (start <= p.size()) {
    std::size_t end = p.find(u'/', start);
    if (end == Text::npos) end = p.size();
    Text part = p.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == u".") continue;
    if (part == u"..") return std::nullopt;
    parts.push_back(std::move(part));
  }
  if (parts.empty()) return std::nullopt;
  return parts;
}

int findMember(const std::vector<Text>& memberPaths, TextView requested) {
  const Text wanted = withSlashes(requested);
  for (std::size_t i = 0; i < memberPaths.size(); ++i)
    if (memberPaths[i] == wanted) return static_cast<int>(i);
  const Text folded = asciiLower(wanted);
  for (std::size_t i = 0; i < memberPaths.size(); ++i)
    if (asciiLower(memberPaths[i]) == folded) return static_cast<int>(i);
  return -1;
}

}  // namespace zevro
