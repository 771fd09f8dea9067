#include "media/IndexReaders.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "core/Strings.h"
#include "media/TextOps.h"
#include "text/Cp932.h"

namespace zevro {

using namespace textops;

namespace {

constexpr std::size_t BulletinHeadingLimit = 256;
constexpr std::size_t FixedNameBytes = 14;
constexpr std::size_t FixedDescriptionByte = 36;   // the 37th byte
constexpr std::size_t DatedDescriptionByte = 22;   // the 23rd byte
constexpr std::size_t CollectionNameBytes = 12;
constexpr std::size_t CollectionDescriptionByte = 37;  // the 38th byte
constexpr std::size_t CollectionFolderBytes = 35;      // bytes 2 to 36
constexpr int DiskSectionsLimit = 9;

bool isNameCharacter(char16_t c) { return isAsciiLetter(c) || isAsciiDigit(c) || c == u'@' || c == u'_'; }

// An 8.3 name padded to columns: "TOOL    .LZH" -> "TOOL.LZH".
Text unpadded(TextView name) {
  Text n = TrimBlanks(name);
  const std::size_t dot = n.find(u'.');
  if (dot == Text::npos) return n;
  std::size_t b = dot;
  while (b > 0 && n[b - 1] == u' ') --b;
  n.erase(b, dot - b);
  return n;
}

// The text after position `at` up to the line end, TAB, CR and LF at its
// start skipped; nothing for a line of LongLine characters or more.
Text restOf(TextView line, std::size_t at) {
  if (line.size() >= IndexReaders::LongLine) return {};
  while (at < line.size() && (line[at] == u'\t' || isLineBreak(line[at]))) ++at;
  return at < line.size() ? Text(line.substr(at)) : Text();
}

// Lines that end with a line break (a last line without one is not read).
std::vector<TextView> endedLines(TextView text) { return LinesOf(text, false); }

// Twice the whole byte pairs of the text's Shift-JIS form exceed its
// characters: with d double-byte characters among c, 2 * ((c + d) / 2) > c,
// which holds for d >= 2, and for d == 1 when c is odd.
bool holdsDoubleBytes(TextView text) {
  std::size_t doubles = 0;
  for (char16_t c : text) {
    if (c < 0x80) continue;
    if (ByteWidth(TextView(&c, 1)) == 2 && ++doubles == 2) return true;
  }
  return doubles == 1 && text.size() % 2 == 1;
}

// The folder of a path.
Text folderOf(TextView path) { return parentFolder(path); }


}  // namespace

Text IndexReaders::textOf(TextView path, std::size_t cap) {
  std::string bytes;
  if (!files_.read(path, bytes, cap)) return {};
  // A double-byte character cut by the cap is left out.
  Text text = cp932::decode(bytes);
  if (bytes.size() == cap && !text.empty() && text.back() >= 0xDC80 && text.back() <= 0xDCFF) text.pop_back();
  const std::size_t nul = text.find(u'\0');
  if (nul != Text::npos) text.resize(nul);
  return text;
}

bool IndexReaders::enter(TextView path, TextView comment) {
  if (!table_.add(path, comment)) return false;
  entered_ = true;
  return true;
}

void IndexReaders::advance(int every) {
  ++count_;
  if (progress_ && count_ % every == 0) progress_(count_);
}

bool IndexReaders::ReadBulletinIndex(TextView path, TextView folderName) { return readList(path, folderName, true); }
bool IndexReaders::ReadFileList(TextView path, TextView folderName) { return readList(path, folderName, false); }

bool IndexReaders::readFixedColumns(TextView text, TextView folder, TextView folderName) {
  if (folderName.empty() || !text.starts_with(u"====")) return false;
  // Fields end at a TAB or a line end.
  std::vector<TextView> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != u'\t' && !isLineBreak(text[i])) continue;
    fields.push_back(text.substr(start, i - start));
    start = i + 1;
  }
  if (fields.size() < 3 || folderName.empty()) return false;
  if (!fields[0].substr(0, BulletinHeadingLimit).starts_with(u"====")) return false;
  const Text second = asciiLower(TrimBlanks(fields[1]));
  if (!second.ends_with(asciiLower(folderName))) return false;
  for (std::size_t f = 3; f < fields.size(); ++f) {
    if (fields[f].empty()) continue;
    Text name = unpadded(ByteColumns(fields[f], 0, FixedNameBytes));
    if (name.ends_with(ch::PathSeparator)) name.pop_back();
    const Text description = TrimBlanks(ByteColumns(fields[f], FixedDescriptionByte));
    advance(8);
    if (name.empty() || description.empty()) continue;
    enter(joinPath(folder, name), description);
  }
  return entered_;
}

// One file list read line by line, with its base folder.
struct IndexReaders::ListRun {
  IndexReaders& r;
  bool bulletin;
  Text listFolder;  // the folder holding the list, u"E:\\TOOLS"
  Text base;        // where names are joined, starts as listFolder
  Text drive;       // u"E:"

  bool exists(TextView p) { return r.files_.exists(p); }

  void put(TextView target, TextView description) {
    Text d = TrimBlanks(description);
    if (bulletin && d == u"path :") return;
    if (d.empty()) return;
    r.enter(target, d);
  }

  // Steps 6 and 7 for one name; returns true when something was entered.
  bool place(TextView name, TextView description) {
    const Text target = joinPath(base, name);
    const MediumFiles::Kind kind = r.files_.kindOf(target);
    if (kind != MediumFiles::Kind::None) {
      put(target, description);
      if (kind == MediumFiles::Kind::Folder) base = target;
      return true;
    }
    if (!extensionOf(name).empty() || name.find(u'.') != TextView::npos) return false;
    if (const std::optional<Text> found = r.files_.firstFile(target + u".*")) {
      put(asciiLower(*found), description);
      return true;
    }
    if (asciiLower(base) != asciiLower(listFolder)) {
      for (Text up = parentFolder(base); !up.empty();) {
        const Text candidate = joinPath(up, name);
        if (r.files_.isFolder(candidate)) {
          base = candidate;
          put(candidate, description);
          return true;
        }
        if (up.size() <= 2) break;
        up = parentFolder(up);
      }
    }
    return false;
  }
};

bool IndexReaders::readList(TextView path, TextView folderName, bool bulletin) {
  entered_ = false;
  const Text text = textOf(path, bulletin ? WholeFileCap : FileListBytes);
  if (text.empty()) return false;
  const Text folder = folderOf(path);
  ListRun run{*this, bulletin, folder, folder, files_.drive()};

  if (bulletin) {
    if (holdsDoubleBytes(text)) return readFixedColumns(text, folder, folderName);
    // The same layout in plain ASCII is read as it is, too.
    if (readFixedColumns(text, folder, folderName)) return true;
  }

  // The heading: the folder's own comment before the lines.
  std::size_t startAt = 0;
  const Text lower = asciiLower(text);
  if (folderName.empty() && LinesOf(text).size() > 0 && LinesOf(text).front().find(ch::PathSeparator) == TextView::npos) {
    const TextView first = LinesOf(text).front();
    const Text comment = TrimDecoration(first);
    if (!comment.empty()) enter(folder, comment);
    startAt = first.size();
  } else {
    const Text name = asciiLower(folderName);
    std::size_t at = 0;
    bool found = true;
    if (!name.empty()) {
      at = lower.find(name);
      found = at != Text::npos && (!bulletin || at < BulletinHeadingLimit);
    }
    if (found) {
      const std::size_t after = at + name.size();
      std::size_t lineEnd = after;
      while (lineEnd < text.size() && !isLineBreak(text[lineEnd])) ++lineEnd;
      const TextView rest = TextView(text).substr(after, lineEnd - after);
      bool heading = true;
      if (after + 1 < text.size() && text[after] == ch::PathSeparator && isNameCharacter(text[after + 1]))
        heading = false;
      if (rest.size() < 2) heading = false;
      const std::size_t dot = rest.find(u'.', 2);
      if (heading && dot == TextView::npos && !bulletin) return false;
      if (heading && dot != TextView::npos && isNameCharacter(rest[dot - 1])) heading = false;
      if (heading) {
        Text comment;
        if (bulletin) {
          comment = TrimDecoration(rest);
        } else if (std::optional<Token> t = NextToken(rest)) {
          comment = t->text;
          for (char16_t open : {u'(', u'（'}) {
            const std::size_t p = comment.find(open, 1);
            if (p != Text::npos) comment.resize(p);
          }
          comment = trimLeft(comment);
        }
        if (!comment.empty()) enter(folder, comment);
        startAt = lineEnd;
      }
    }
  }

  const std::vector<TextView> lines = endedLines(TextView(text).substr(startAt));
  table_.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const TextView line = lines[i];
    if (line.empty()) continue;
    std::optional<Token> first = NextToken(line);
    if (!first) continue;
    advance(bulletin ? 8 : 1);
    Text name = first->text;
    Text description = TrimBlanks(restOf(line, first->next));
    if (bulletin && description.size() >= 9 && std::all_of(description.begin(), description.begin() + 6, isAsciiDigit) &&
        TextView(description).substr(6, 3) == u"   ")
      description = TrimBlanks(ByteColumns(restOf(line, first->next), DatedDescriptionByte));

    // 2. A path in the description.
    if (const std::size_t slash = description.find(ch::PathSeparator); slash != Text::npos) {
      std::size_t b = slash;
      while (b > 0 && !isBlank(description[b - 1])) --b;
      const Text word = description.substr(b);
      const Text before = description.substr(0, b);
      description = StripPairs(name + u" " + before);
      name = StripPairs(word);
    }
    if (name.starts_with(u"[")) {
      const std::size_t close = name.find(u']');
      if (close != Text::npos && name.find(u'.', close) != Text::npos) {
        Text dir = name.substr(1, close - 1);
        if (dir.starts_with(ch::PathSeparator)) dir = run.drive + dir;
        else dir = joinPath(run.base, dir);
        if (files_.isFolder(dir)) {
          run.base = dir;
          const Text file = name.substr(close + 1);
          const Text target = joinPath(dir, file);
          if (files_.exists(target)) {
            run.put(target, description);
          } else {
            const std::size_t dot = target.find(u'.', dir.size());
            if (const std::optional<Text> found = files_.firstFile(target.substr(0, dot) + u"*.*"))
              run.put(asciiLower(*found), description);
          }
          continue;
        }
      }
    }
    if (name.starts_with(ch::PathSeparator)) {
      const Text absolute = run.drive + name;
      if (files_.exists(absolute)) {
        if (files_.isFolder(absolute)) run.base = absolute;
        run.put(absolute, description);
        continue;
      }
      name = fileNamePart(name);
    }
    // 3. "README------説明書".
    if (const std::size_t dashes = name.find(u"------"); dashes != Text::npos) {
      std::size_t e = dashes;
      while (e < name.size() && name[e] == u'-') ++e;
      description = TrimBlanks(name.substr(e) + u" " + description);
      name.resize(dashes);
    }
    // 4. A provider on the next line.
    if (!bulletin && description.ends_with(u"提供") && i + 1 < lines.size() && !lines[i + 1].empty() &&
        isBlank(lines[i + 1].front())) {
      const std::size_t descAt = line.find(description.substr(0, 1));
      if (descAt != TextView::npos && descAt >= 2) {
        description += u" ";
        description += StripPairs(lines[i + 1]);
      }
    }
    // 5.
    if (name.size() >= 2 && name.front() == u'[' && name.back() == u']') name = name.substr(1, name.size() - 2);
    if (bulletin && name.ends_with(ch::PathSeparator)) name.pop_back();
    if (name.empty()) continue;
    // 8. The two-line form "プログラム ..." / "ファイル名 ...".
    if (!bulletin && name == u"プログラム" && asciiLower(run.base) == asciiLower(folder) &&
        !files_.exists(joinPath(run.base, name)) && i + 1 < lines.size() && lines[i + 1].starts_with(u"ファイル名")) {
      Text file = StripPairs(lines[i + 1].substr(5));
      if (const std::size_t comma = file.find(u','); comma != Text::npos) {
        const Text left = file.substr(0, comma);
        file = files_.isFile(joinPath(run.base, left)) ? left : file.substr(comma + 1);
      }
      Text target = joinPath(run.base, file);
      if (!files_.exists(target)) {
        const Text lowerFile = asciiLower(file);
        const bool archive = lowerFile.size() > 3 && (lowerFile.ends_with(u"exe") || lowerFile.ends_with(u"lzh") ||
                                                      lowerFile.ends_with(u"zip"));
        const Text ext = extensionOf(file);
        const bool numericExt = !ext.empty() && std::all_of(ext.begin(), ext.end(), isAsciiDigit);
        if (archive && !numericExt && file[file.size() - 4] != u'.') {
          target = joinPath(run.base, file.substr(0, file.size() - 3) + u"." + file.substr(file.size() - 3));
        } else {
          // Version digits before the extension may differ: TOOL12.LZH for TOOL11.LZH.
          Text pattern = file;
          const std::size_t dot = pattern.rfind(u'.');
          if (dot != Text::npos) {
            std::size_t d = dot;
            while (d > 3 && isAsciiDigit(pattern[d - 1])) pattern[--d] = u'?';
          }
          if (const std::optional<Text> found = files_.firstFile(joinPath(run.base, pattern))) target = *found;
        }
      }
      if (files_.exists(target)) run.put(asciiLower(target), description);
      ++i;  // reading goes on after the "ファイル名" line
      continue;
    }
    if (description.empty()) continue;
    run.place(name, description);
  }
  return entered_;
}

IndexReaders::DiskListResult IndexReaders::ReadDiskList(TextView path, TextView rootComment) {
  entered_ = false;
  DiskListResult result;
  const Text text = textOf(path, WholeFileCap);
  if (text.empty()) return result;
  const Text drive = files_.drive();
  const Text listFolder = folderOf(path);

  // Section starts: "DISK" (else "disk", else "Disk") whose 5th to 11th
  // characters begin, after blanks, with a digit and then a blank.
  std::vector<std::size_t> sections;
  TextView word = u"DISK";
  if (text.find(word) == Text::npos) word = u"disk";
  if (text.find(word) == Text::npos) word = u"Disk";
  std::size_t at = 0;
  for (int n = 0; n < DiskSectionsLimit; ++n) {
    at = text.find(word, at);
    if (at == Text::npos) break;
    std::size_t c = at + 4;
    while (c < text.size() && c < at + 11 && isBlank(text[c])) ++c;
    if (c < at + 11 && c + 1 < text.size() && isAsciiDigit(text[c]) && isBlank(text[c + 1])) sections.push_back(at);
    at += 4;
  }
  if (sections.empty()) return result;

  // The lines of a section, the "DISK" line first.
  const auto sectionLines = [&](std::size_t s) {
    const std::size_t b = sections[s];
    const std::size_t e = s + 1 < sections.size() ? sections[s + 1] : text.size();
    std::size_t lineStart = b;
    while (lineStart > 0 && !isLineBreak(text[lineStart - 1])) --lineStart;
    return LinesOf(TextView(text).substr(lineStart, e - lineStart));
  };
  const auto folderOfLine = [&](TextView line) { return joinPath(drive, TrimDecoration(line)); };
  std::size_t chosen = sections.size() - 1;
  for (std::size_t s = 0; s < sections.size(); ++s) {
    bool all = true;
    for (TextView line : sectionLines(s)) {
      if (line.find(ch::PathSeparator) == TextView::npos) continue;
      if (!files_.isFolder(folderOfLine(line))) {
        all = false;
        break;
      }
    }
    if (all) {
      chosen = s;
      break;
    }
  }

  const std::vector<TextView> lines = sectionLines(chosen);
  if (lines.empty()) return result;
  const Text sectionTitle = TrimDecoration(lines.front());
  Text current = listFolder;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const TextView line = lines[i];
    if (line.find(ch::PathSeparator) != TextView::npos) {
      current = folderOfLine(line);
      continue;
    }
    std::optional<Token> t = NextToken(line);
    if (!t) continue;
    if (TrimDecoration(t->text).empty()) t = NextToken(line, t->next);
    if (!t) continue;
    Text name = t->text;
    std::size_t after = t->next;
    std::optional<Token> next = NextToken(line, after);
    if (next && name.find(u'.') == Text::npos && next->text.starts_with(u".")) {
      name += next->text;
      after = next->next;
      next = NextToken(line, after);
    }
    // The token after the name (the size) is passed over; the description
    // starts at the 20th character after its end ("  98-01-01 12:00   "
    // fills the 19 between).
    if (next) after = next->next;
    const std::size_t descAt = after + 19;
    const Text description = descAt < line.size() ? TrimDecoration(line.substr(descAt)) : Text();
    if (description.empty()) continue;
    enter(joinPath(current, name), description);
    advance(10);
  }
  result.read = entered_;
  if (!sectionTitle.empty() && sectionTitle != rootComment) result.title = sectionTitle;
  return result;
}

bool IndexReaders::ReadCollectionList(TextView path) {
  entered_ = false;
  const Text text = textOf(path, CollectionBytes);
  const std::vector<TextView> lines = endedLines(text);
  const Text drive = files_.drive();
  std::size_t i = 0;
  while (i < lines.size() && !lines[i].starts_with(u"======")) ++i;
  Text folder;
  for (++i; i < lines.size(); ++i) {
    const TextView line = lines[i];
    if (line.starts_with(u"=====")) {
      folder.clear();
      continue;
    }
    if (line.starts_with(ch::PathSeparator)) {
      Text name = ByteColumns(line, 1, CollectionFolderBytes);
      while (!name.empty() && name.back() == u' ') name.pop_back();
      folder = joinPath(drive, name);
      if (!files_.isFolder(folder) && asciiLower(name).starts_with(u"win\\"))
        folder = joinPath(drive, u"WIN31" + name.substr(3));
      if (i + 1 < lines.size() && lines[i + 1].starts_with(u"-----")) ++i;
      continue;
    }
    if (folder.empty() || line.empty()) continue;
    Text name = unpadded(ByteColumns(line, 0, CollectionNameBytes));
    if (name.empty()) continue;
    advance(1);
    if (name.ends_with(ch::PathSeparator)) {
      name.pop_back();
      const Text target = joinPath(folder, name);
      const Text description = TrimBlanks(ByteColumns(line, CollectionDescriptionByte - 1));
      if (!description.empty() && files_.exists(target)) enter(target, description);
      continue;
    }
    const Text target = joinPath(folder, name);
    const Text description = TrimBlanks(ByteColumns(line, CollectionDescriptionByte));
    if (!description.empty() && files_.exists(target)) enter(target, description);
  }
  return entered_;
}

bool IndexReaders::ReadOutline(TextView path) {
  entered_ = false;
  const Text text = textOf(path, WholeFileCap);
  const std::vector<TextView> lines = LinesOf(text);
  const Text drive = files_.drive();
  bool started = false;
  std::vector<Text> levels;  // folder path per indentation level
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const TextView line = lines[i];
    if (!started) {
      if (!line.empty() || i + 1 >= lines.size()) continue;
      const TextView next = lines[i + 1];
      if (next.empty() || isBlank(next.front())) continue;
      if (!next.starts_with(ch::PathSeparator) || next.substr(0, 16).find(u'\t') == TextView::npos) continue;
      started = true;
      continue;
    }
    if (line.empty()) continue;
    std::size_t depth = 0;
    while (depth < line.size() && line[depth] == u'\t') ++depth;
    const TextView rest = line.substr(depth);
    const std::size_t tab = rest.find(u'\t');
    if (tab == TextView::npos) continue;
    Text name(rest.substr(0, tab));
    Text description = TrimBlanks(Text(rest.substr(tab + 1)));
    std::replace(description.begin(), description.end(), u'\t', u' ');
    description = TrimBlanks(description);
    for (auto [open, close] : {std::pair{u'(', u')'}, std::pair{u'（', u'）'}}) {
      if (description.size() >= 2 && description.front() == open && description.back() == close)
        description = description.substr(1, description.size() - 2);
    }
    Text target;
    if (depth == 0 && name.starts_with(ch::PathSeparator)) {
      target = drive + name;
      levels.assign(1, target);
    } else {
      if (depth == 0 || levels.size() < depth) continue;
      levels.resize(depth);
      target = joinPath(levels.back(), name);
      levels.push_back(target);
    }
    advance(1);
    if (!description.empty()) enter(target, description);
  }
  return entered_;
}

bool IndexReaders::ReadMenu(TextView path) {
  entered_ = false;
  const Text text = textOf(path, WholeFileCap);
  const std::vector<TextView> lines = LinesOf(text);
  if (lines.empty() || asciiLower(TrimBlanks(lines.front())) != u"[menu]") return false;
  const Text drive = files_.drive();
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    const Text section = TrimBlanks(lines[i]);
    if (section.size() < 3 || section.front() != u'[' || section.back() != u']') continue;
    const Text name = StripPairs(TextView(section).substr(1, section.size() - 2));
    const Text folder = joinPath(drive, name);
    if (name.empty() || !files_.isFolder(folder)) continue;
    const TextView next = lines[i + 1];
    if (!asciiLower(next).starts_with(u"title")) continue;
    const std::size_t eq = next.find(u'=', 5);
    if (eq == TextView::npos) continue;
    Text comment = StripPairs(next.substr(eq + 1));
    std::replace(comment.begin(), comment.end(), u'\t', u' ');
    advance(1);
    if (!comment.empty()) enter(folder, comment);
  }
  return entered_;
}

Text IndexReaders::SettingsTitle(TextView path, TextView key) {
  const Text text = textOf(path, SettingsBytes);
  const Text lower = asciiLower(text);
  for (TextView k : {key, TextView(u"title")}) {
    for (std::size_t at = lower.find(asciiLower(k)); at != Text::npos; at = lower.find(asciiLower(k), at + 1)) {
      std::size_t p = at + k.size();
      while (p < text.size() && isBlank(text[p])) ++p;
      if (p >= text.size() || text[p] != u'=') continue;
      std::size_t e = ++p;
      while (e < text.size() && !isLineBreak(text[e])) ++e;
      Text value = TrimBlanks(TextView(text).substr(p, e - p));
      for (TextView tail : {u"setup", u"ｾｯﾄｱｯﾌﾟ", u"セットアップ", u"ｲﾝｽﾄｰﾗ"}) {
        if (asciiLower(value).ends_with(tail)) {
          value.resize(value.size() - tail.size());
          break;
        }
      }
      return TrimDecoration(value);
    }
  }
  return {};
}

Text IndexReaders::BatchTitle(TextView path) {
  const Text text = textOf(path, SettingsBytes);
  const Text lower = asciiLower(text);
  for (std::size_t at = lower.find(u"echo "); at != Text::npos; at = lower.find(u"echo ", at + 1)) {
    std::size_t e = at + 5;
    while (e < text.size() && !isLineBreak(text[e])) ++e;
    const Text rest = TrimDecoration(TextView(text).substr(at + 5, e - at - 5));
    if (!rest.empty() && asciiLower(rest) != u"off") return rest;
  }
  return {};
}

}  // namespace zevro
