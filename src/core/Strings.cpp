#include "core/Strings.h"

#include <algorithm>

#include "core/Numbers.h"

namespace zevro {

namespace {

constexpr char16_t Colon = u':';
constexpr char16_t Dot = u'.';
constexpr char16_t Blank = u' ';

// How far from the end a "." may stand and still start an extension.
constexpr std::size_t ExtensionWindow = 6;
constexpr std::size_t DumpLength = 256;
constexpr int DumpPositionWidth = 6;

bool isDriveName(TextView path) { return path.size() >= 2 && path[1] == Colon; }

// Index of the "." that starts the extension, or npos. Only the last six
// characters are looked at, and never past the start of the file name.
std::size_t extensionDot(TextView path) {
  // Backwards through the window only (catalogs ask this for every row): a
  // separator met first means the "." would be in a folder's name.
  const std::size_t windowStart = path.size() > ExtensionWindow ? path.size() - ExtensionWindow : 0;
  for (std::size_t i = path.size(); i-- > windowStart;) {
    if (path[i] == Dot) return i;
    if (path[i] == ch::PathSeparator || path[i] == u':') return TextView::npos;
  }
  return TextView::npos;
}

// A leading ".." of a relative name: ".." alone or followed by "\".
bool startsWithParentStep(TextView name) {
  return name.starts_with(u"..") && (name.size() == 2 || name[2] == ch::PathSeparator);
}

const char16_t* controlName(char16_t c) {
  switch (c) {
    case 0: return u"[NL]";
    case 8: return u"[BS]";
    case 9: return u"[TB]";
    case 10: return u"[LF]";
    case 11: return u"[HM]";
    case 12: return u"[CL]";
    case 13: return u"[CR]";
    case 127: return u"[DL]";
    default: return nullptr;
  }
}

bool isControl(char16_t c) { return c < 32 || c == 127; }

}  // namespace

// --- Paths ---------------------------------------------------------------

Text parentFolder(TextView path) {
  const std::size_t at = path.find_last_of(u"\\:");
  if (at == TextView::npos) return {};
  if (path[at] == Colon) return Text(path.substr(0, at + 1));
  return Text(path.substr(0, at));
}

Text fileNamePart(TextView path) {
  const std::size_t sep = path.rfind(ch::PathSeparator);
  if (sep != TextView::npos) return Text(path.substr(sep + 1));
  const std::size_t colon = path.find(Colon);
  if (colon != TextView::npos) return Text(path.substr(colon + 1));
  return Text(path);
}

Text folderWithSeparator(TextView path) {
  const std::size_t nameLength = fileNamePart(path).size();
  return Text(path.substr(0, path.size() - nameLength));
}

Text baseName(TextView path) {
  std::size_t start = 0;
  const std::size_t sep = path.rfind(ch::PathSeparator);
  if (sep != TextView::npos) {
    start = sep + 1;
  } else if (isDriveName(path)) {
    start = 2;
  }
  const TextView name = path.substr(start);
  const std::size_t dot = name.rfind(Dot);
  return Text(dot == TextView::npos ? name : name.substr(0, dot));
}

TextView extensionView(TextView path) {
  const std::size_t dot = extensionDot(path);
  return dot == TextView::npos ? TextView() : path.substr(dot + 1);
}

Text extensionOf(TextView path, bool upper) {
  const TextView extension = extensionView(path);
  return upper ? asciiUpper(extension) : Text(extension);
}

Text changeExtension(TextView path, TextView newExtension) {
  const std::size_t dot = extensionDot(path);
  Text result = dot == TextView::npos ? Text(path) + Dot : Text(path.substr(0, dot + 1));
  result += newExtension;
  return result;
}

Text joinPath(TextView folder, TextView name) {
  if (name.find(Colon) != TextView::npos) return Text(name);
  if (folder.ends_with(ch::PathSeparator)) {
    if (name.starts_with(ch::PathSeparator)) name.remove_prefix(1);
    return Text(folder) + Text(name);
  }
  if (name.starts_with(ch::PathSeparator)) return Text(folder) + Text(name);

  Text base(folder);
  while (startsWithParentStep(name)) {
    base = parentFolder(base);
    name.remove_prefix(std::min<std::size_t>(3, name.size()));
  }
  return base + ch::PathSeparator + Text(name);
}

Text dropLast(TextView text, int n) {
  const std::size_t drop = static_cast<std::size_t>(std::max(n, 0));
  if (text.size() < drop) return {};
  return Text(text.substr(0, text.size() - drop));
}

// --- Case and trimming ---------------------------------------------------

Text asciiLower(TextView text) {
  Text out(text);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
  }
  return out;
}

Text asciiUpper(TextView text) {
  Text out(text);
  for (char16_t& c : out) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - (u'a' - u'A'));
  }
  return out;
}

Text trimLeft(TextView text) {
  const std::size_t first = text.find_first_not_of(u" \t\u3000");
  if (first == TextView::npos) return {};
  return Text(text.substr(first));
}

Text trim(TextView text) {
  const Text left = trimLeft(text);
  TextView rest(left);
  while (rest.ends_with(ch::Tab)) rest.remove_suffix(1);
  while (rest.ends_with(Blank)) rest.remove_suffix(1);
  return Text(rest);
}

int lastOccurrence(int limit, TextView text, TextView pattern) {
  if (pattern.empty() || limit < 1) return 0;
  const std::size_t at = text.rfind(pattern, static_cast<std::size_t>(limit - 1));
  if (at == TextView::npos) return 0;
  return static_cast<int>(at) + 1;
}

Text controlDump(TextView text, int start) {
  const int position = std::max(start, 1);
  const std::size_t from = static_cast<std::size_t>(position - 1);
  const TextView slice = from < text.size() ? text.substr(from, DumpLength) : TextView{};

  Text dump;
  for (const char16_t c : slice) {
    if (!isControl(c)) {
      dump += c;
    } else if (const char16_t* name = controlName(c)) {
      dump += name;
    } else {
      dump += u'[' + hexField(c, 2) + u']';
    }
  }

  Text result = rightAligned(position, DumpPositionWidth) + u" [" + dump;
  if (!dump.ends_with(u']')) result += u']';
  return result;
}

// --- Name lists ----------------------------------------------------------

void appendName(Text& list, TextView name) {
  if (list.empty()) list += ch::ListSep;
  list += name;
  list += ch::ListSep;
}

Text nameList(const std::vector<Text>& names) {
  Text list;
  for (const Text& name : names) appendName(list, name);
  return list;
}

void forEachName(TextView list, const std::function<void(TextView)>& visit) {
  if (list.starts_with(ch::ListSep)) list.remove_prefix(1);
  while (!list.empty()) {
    const std::size_t end = list.find(ch::ListSep);
    visit(list.substr(0, end));
    if (end == TextView::npos) return;
    list.remove_prefix(end + 1);
  }
}

std::vector<Text> namesOf(TextView list) {
  std::vector<Text> names;
  forEachName(list, [&names](TextView name) { names.emplace_back(name); });
  return names;
}

}  // namespace zevro
