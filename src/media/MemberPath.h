#pragma once
// Member paths of archives as extraction sees them.
#include <optional>
#include <vector>

#include "text/Text.h"

namespace zevro {

// The components a member is written at below a target, "\" and "/" both
// separating, "." and empty components dropped; nothing for a path that
// would leave the target or name no file:
//   u"doc\\readme.txt" -> {u"doc", u"readme.txt"},  u"./a//b" -> {u"a", u"b"}
//   u"../evil.txt", u"a/../../b", u"/etc/passwd", u"C:\\x", u"c:x", u"" -> nothing
std::optional<std::vector<Text>> safeMemberComponents(TextView path);

// The index of the member a requested path names ("\" read as "/"): the
// first exact match, else the first that differs only in ASCII case; -1
// when none.
int findMember(const std::vector<Text>& memberPaths, TextView requested);

}  // namespace zevro
