#include "core/ProfileDocument.h"

#include "core/Strings.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr std::string_view NewLineEnd = "\r\n";

bool isBlankByte(char c) { return c == ' ' || c == '\t'; }
bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

TextView trimmed(TextView text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

// Trimmed, then one pair of quotes around the whole value removed.
Text valueAsRead(TextView text) {
  TextView t = trimmed(text);
  if (t.size() >= 2 && (t.front() == u'"' || t.front() == u'\'') && t.back() == t.front())
    t = t.substr(1, t.size() - 2);
  return Text(t);
}

// One value, one line: a line break inside it would end the line and make
// the rest a line of its own (a key or section the program never wrote).
Text oneLine(TextView value) {
  Text out(value);
  for (char16_t& c : out)
    if (c == ch::CR || c == ch::LF) c = u' ';
  return out;
}

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";

bool isBlankLine(std::string_view bytes) {
  for (char c : bytes)
    if (!isBlankByte(c)) return false;
  return true;
}

}  // namespace

ProfileDocument::ProfileDocument(std::string_view bytes) {
  // LF (0x0A) and CR (0x0D) are never part of a two-byte CP932 character, so
  // the bytes can be cut into lines before anything is decoded.
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t lf = bytes.find('\n', start);
    if (lf == std::string_view::npos) {
      lines_.push_back(parse(std::string(bytes.substr(start)), ""));
      break;
    }
    std::size_t contentEnd = lf > start && bytes[lf - 1] == '\r' ? lf - 1 : lf;
    lines_.push_back(parse(std::string(bytes.substr(start, contentEnd - start)),
                           std::string(bytes.substr(contentEnd, lf + 1 - contentEnd))));
    start = lf + 1;
  }
}

ProfileDocument::Line ProfileDocument::parse(std::string bytes, std::string end) {
  Line line;
  line.bytes = std::move(bytes);
  line.end = std::move(end);
  const std::string& b = line.bytes;
  // A file saved by an editor that marks UTF-8 starts with a byte-order mark;
  // it stays in the file, but is no part of the section or key after it
  // (else "[Options]" would not be found and a second one added).
  std::size_t first = b.starts_with(Utf8ByteOrderMark) ? Utf8ByteOrderMark.size() : 0;
  while (first < b.size() && isBlankByte(b[first])) ++first;
  if (first == b.size() || b[first] == ';') return line;

  if (b[first] == '[') {
    Text text = cp932::decode(std::string_view(b).substr(first + 1));
    std::size_t close = text.find(u']');
    line.kind = Kind::Section;
    line.name = asciiLower(trimmed(TextView(text).substr(0, close)));
    return line;
  }

  // "=" (0x3D) is never a byte of a two-byte character either.
  std::size_t equals = b.find('=');
  if (equals == std::string::npos) return line;
  line.kind = Kind::Key;
  line.name = asciiLower(trimmed(cp932::decode(std::string_view(b).substr(first, equals - first))));
  line.value = valueAsRead(cp932::decode(std::string_view(b).substr(equals + 1)));
  return line;
}

Text ProfileDocument::asRead(TextView stored) { return valueAsRead(oneLine(stored)); }

std::size_t ProfileDocument::findSection(const Text& foldedName) const {
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && lines_[i].name == foldedName) return i;
  return lines_.size();
}

std::size_t ProfileDocument::sectionEnd(std::size_t section) const {
  std::size_t i = section + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
  return i;
}

std::optional<Text> ProfileDocument::value(TextView section, TextView key) const {
  const std::size_t s = findSection(asciiLower(section));
  if (s == lines_.size()) return std::nullopt;
  const Text foldedKey = asciiLower(key);
  const std::size_t end = sectionEnd(s);
  for (std::size_t i = s + 1; i < end; ++i)
    if (lines_[i].kind == Kind::Key && lines_[i].name == foldedKey) return lines_[i].value;
  return std::nullopt;
}

void ProfileDocument::insertLine(std::size_t at, std::string bytes) {
  // The line before must end first, or the new one would join it.
  if (at > 0 && lines_[at - 1].end.empty()) lines_[at - 1].end = NewLineEnd;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), parse(std::move(bytes), std::string(NewLineEnd)));
}

bool ProfileDocument::setValue(TextView section, TextView key, TextView value) {
  const std::string stored = cp932::encode(oneLine(value));
  const Text foldedKey = asciiLower(key);

  std::size_t s = findSection(asciiLower(section));
  if (s == lines_.size()) {
    insertLine(lines_.size(), "[" + cp932::encode(section) + "]");
    insertLine(lines_.size(), cp932::encode(key) + "=" + stored);
    return true;
  }

  const std::size_t end = sectionEnd(s);
  for (std::size_t i = s + 1; i < end; ++i) {
    Line& line = lines_[i];
    if (line.kind != Kind::Key || line.name != foldedKey) continue;
    // Compared as the file would read it back, so that a character the file
    // stores in another form does not count as a change every time.
    if (valueAsRead(cp932::decode(stored)) == line.value) return false;
    std::string bytes = line.bytes.substr(0, line.bytes.find('=') + 1) + stored;
    line = parse(std::move(bytes), std::move(line.end));
    return true;
  }

  std::size_t at = end;
  while (at > s + 1 && isBlankLine(lines_[at - 1].bytes)) --at;
  insertLine(at, cp932::encode(key) + "=" + stored);
  return true;
}

std::string ProfileDocument::bytes() const {
  std::string out;
  for (const Line& line : lines_) {
    out += line.bytes;
    out += line.end;
  }
  return out;
}

}  // namespace zevro
