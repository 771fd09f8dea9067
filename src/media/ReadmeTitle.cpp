#include "media/ReadmeTitle.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "core/Strings.h"
#include "media/TextOps.h"
#include "text/Cp932.h"

namespace zevro {

using namespace textops;

namespace {

constexpr std::size_t WriteHeaderBytes = 128;
constexpr std::size_t WriteLengthOffset = 14;
constexpr unsigned WriteLengthBias = 130;
constexpr std::size_t LongestTitle = 256;

bool contains(TextView text, TextView part) { return text.find(part) != TextView::npos; }

// Drops every occurrence of a word.
bool dropAll(Text& text, TextView word) {
  bool dropped = false;
  for (std::size_t at = text.find(word); at != Text::npos; at = text.find(word, at)) {
    text.erase(at, word.size());
    dropped = true;
  }
  return dropped;
}

void cutAt(Text& text, TextView word) {
  const std::size_t at = text.find(word);
  if (at != Text::npos) text.resize(at);
}

void blankOut(Text& text, std::size_t at, std::size_t length) {
  std::fill_n(text.begin() + static_cast<std::ptrdiff_t>(at), std::min(length, text.size() - at), u' ');
}

bool dropEnding(Text& text, TextView ending) {
  if (!text.ends_with(ending)) return false;
  text.resize(text.size() - ending.size());
  return true;
}

bool beginsLower(TextView text, TextView start) {
  if (text.size() < start.size()) return false;
  return asciiLower(text.substr(0, start.size())) == start;
}

bool isLetterOrDigit(char16_t c) { return isAsciiLetter(c) || isAsciiDigit(c); }

// TrimDecoration as the phrase rules use it: a title's own corner brackets
// stay ("「ABC」" names the software; "「ABC" is closed again by the last
// rule), though CP932 files them with the symbols.
Text trimKeepingBrackets(TextView text) {
  constexpr TextView Opening = u"「『";
  constexpr TextView Closing = u"」』";
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && isDecoration(text[b]) && Opening.find(text[b]) == TextView::npos) ++b;
  while (e > b && isDecoration(text[e - 1]) && Closing.find(text[e - 1]) == TextView::npos) --e;
  return Text(text.substr(b, e - b));
}

// Rule 15's idea of an extension: one to three ASCII letters or digits
// beginning with a letter (".txt", ".h", ".c", ".doc"), or "1st"; a
// version such as "1.00" is therefore no file name.
std::size_t extensionLength(TextView text, std::size_t dot) {
  std::size_t e = dot + 1;
  while (e < text.size() && isLetterOrDigit(text[e])) ++e;
  const std::size_t n = e - dot - 1;
  if (n < 1 || n > 3) return 0;
  const TextView ext = text.substr(dot + 1, n);
  if (asciiLower(ext) == u"1st" || isAsciiLetter(ext.front())) return n;
  return 0;
}

bool isNameStop(char16_t c) {
  return isBlank(c) || TextView(u",;|<>()「」『』]").find(c) != TextView::npos || isLineBreak(c);
}

bool isDateDigits(TextView text, std::size_t yearDigits) {
  // yyyymmdd / yymmdd with a month 1 to 12 and a day 1 to 31.
  const std::size_t n = yearDigits + 4;
  if (text.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i)
    if (!isAsciiDigit(text[i])) return false;
  const int month = (text[yearDigits] - u'0') * 10 + (text[yearDigits + 1] - u'0');
  const int day = (text[yearDigits + 2] - u'0') * 10 + (text[yearDigits + 3] - u'0');
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// "99/12/31", "99-12-31", "99.12.31" in eight characters.
bool isSeparatedDate(TextView text) {
  if (text.size() < 8) return false;
  const char16_t s = text[2];
  if ((s != u'/' && s != u'-' && s != u'.') || text[5] != s) return false;
  for (std::size_t i : {0, 1, 3, 4, 6, 7})
    if (!isAsciiDigit(text[i])) return false;
  const int month = (text[3] - u'0') * 10 + (text[4] - u'0');
  return month >= 1 && month <= 12;
}

}  // namespace

Text ReadmeTitle::PhraseRules(TextView candidate) {
  Text t(candidate);
  // 1, 2: greetings.
  if (dropAll(t, u"これは")) t = StripPairs(t);
  {
    bool any = false;
    for (TextView w : {u"このたびは", u"この度は", u"このデモは", u"デモは"}) any = dropAll(t, w) || any;
    if (any) t = StripPairs(t);
  }
  // 3: "本ソフトは", "このプログラムは".
  for (TextView prefix : {u"本", u"この"}) {
    bool done = false;
    for (TextView noun : {u"ソフトウェア", u"ソフト", u"プログラム", u"ファイル", u"アプリケーション"}) {
      const Text phrase = Text(prefix) + Text(noun);
      const std::size_t at = t.find(phrase);
      if (at == Text::npos) continue;
      std::size_t length = phrase.size();
      if (at + length < t.size() && t[at + length] == u'は') ++length;
      t.erase(at, length);
      t = StripPairs(t);
      done = true;
      break;
    }
    if (done) break;
  }
  // 4: texts that are about the readme, not the software.
  if (t.starts_with(u"この") || contains(t, u"お読み") || contains(t, u"ソフト紹介") || contains(t, u"注意") ||
      contains(t, u"同梱"))
    return {};
  if (const std::size_t at = t.find(u"方法"); at != Text::npos && at < 9) return {};
  // 5.
  for (TextView w : {u"の使い方", u"の概要", u"をご利用"}) {
    if (!contains(t, w)) continue;
    cutAt(t, w);
    t = StripPairs(t);
  }
  // 6: "使用説明書" (blanks between the words allowed); a version number
  // with a "." right after the words means the line is a file's heading.
  if (const std::size_t use = t.find(u"使用"); use != Text::npos) {
    if (const std::optional<Match> m = FindWord(t, u"使用説明書", use); m && m->begin == use) {
      t.erase(m->begin, m->end - m->begin);
      std::size_t d = m->begin;
      while (d < t.size() && isAsciiDigit(t[d])) ++d;
      if (d > m->begin && d < t.size() && t[d] == u'.') return {};
    }
  }
  // 7.
  for (bool again = true; again;) {
    again = false;
    for (TextView w : {u"をロード", u"をダウンロード"}) {
      if (!contains(t, w)) continue;
      cutAt(t, w);
      again = true;
    }
  }
  // 8.
  if (contains(t, u"の機能")) {
    cutAt(t, u"の機能");
    t = TrimBlanks(t);
  }
  // 9.
  if (contains(t, u"について")) {
    cutAt(t, u"について");
    t = TrimBlanks(t);
    if (const std::optional<Match> m = FindWordBefore(t, u"ディレクトリ", t.size())) t.erase(m->begin);
  }
  // 10.
  if (const std::size_t at = t.find(u"説明"); at != Text::npos) {
    std::size_t length = 2;
    if (at + length < t.size() && t[at + length] == u'書') ++length;
    t.erase(at, length);
    for (TextView w : {u"補足", u"ソフトウェア"}) {
      if (const std::optional<Match> m = FindWordBefore(t, w, at); m) {
        t.erase(m->begin, m->end - m->begin);
        break;
      }
    }
  }
  // 11.
  for (TextView w : {u"取り扱い", u"手順", u"設定", u"手引き"}) RemoveWord(t, w);
  // 12, 13.
  for (TextView w : {u"補足", u"解説", u"案内"}) {
    if (dropEnding(t, w)) {
      t = TrimBlanks(t);
      break;
    }
  }
  for (TextView w : {u"ご", u"お", u"の"}) {
    if (dropEnding(t, w)) {
      t = TrimBlanks(t);
      break;
    }
  }
  // 14.
  t = trimKeepingBrackets(t);
  if (t.size() > LongestTitle || t.size() <= 1) return {};
  // 15: a file name in the text is cut out ("TOOL.EXE すごいツール").
  for (std::size_t dot = t.find(u'.', 2); dot != Text::npos; dot = t.find(u'.', dot + 1)) {
    if (dot == 0 || !isLetterOrDigit(t[dot - 1])) continue;
    const std::size_t n = extensionLength(t, dot);
    if (n == 0) continue;
    std::size_t b = dot;
    while (b > 0 && !isNameStop(t[b - 1])) --b;
    std::size_t e = dot + 1 + n;
    while (e < t.size() && !isNameStop(t[e])) ++e;
    t.erase(b, e - b);
    t = StripPairs(t);
    break;
  }
  // 16: a leading date.
  if (isDateDigits(t, 4) || isSeparatedDate(t)) {
    t = StripPairs(TextView(t).substr(8));
  } else if (isDateDigits(t, 2)) {
    t = StripPairs(TextView(t).substr(6));
  }
  // 17.
  if (const std::size_t at = t.find(u"リリース"); at != Text::npos) {
    blankOut(t, at, 4);
    if (const std::size_t note = t.find(u"ノート", at); note != Text::npos) blankOut(t, note, 3);
  }
  // 18.
  if (const std::size_t at = asciiLower(t).find(u"readme"); at != Text::npos) {
    std::size_t e = at + 6;
    if (e < t.size() && t[e] == u'.') {
      ++e;
      while (e < t.size() && isLetterOrDigit(t[e])) ++e;
    }
    t.erase(at, e - at);
    t = StripPairs(t);
  }
  // 19.
  for (TextView w : {u"インストール", u"ｲﾝｽﾄｰﾙ", u"導入"}) {
    const std::size_t at = t.find(w);
    if (at != Text::npos && at > 5) t.resize(at);
  }
  // 20.
  for (TextView w : {u"となって", u"の", u"を", u"ファイル", u"テキスト", u"本体", u"の"}) dropEnding(t, w);
  // 21 to 24.
  if (t.starts_with(u"タイトル")) t.erase(0, 4);
  if (beginsLower(t, u"to ")) t = StripPairs(TextView(t).substr(3));
  if (beginsLower(t, u"thank you ")) {
    const std::size_t ing = asciiLower(t).find(u"ing ");
    t = StripPairs(TextView(t).substr(ing != Text::npos ? ing + 4 : 6));
  }
  if (beginsLower(t, u"the following ")) {
    const std::size_t f = asciiLower(t).find(u" for ");
    t = StripPairs(TextView(t).substr(f != Text::npos ? f + 5 : 10));
  }
  // 25.
  t = trimKeepingBrackets(t);
  // 26, 27: brackets left open by a cut are closed again.
  const auto lastOf = [&](TextView set) { return t.find_last_of(set); };
  if (const std::size_t open = lastOf(u"(（"); open != Text::npos) {
    const std::size_t close = t.find_first_of(u")）", open);
    if (close == Text::npos) t.push_back(u')');
  }
  for (auto [open, close] : {std::pair{u'「', u'」'}, std::pair{u'『', u'』'}}) {
    const bool hasOpen = t.find(open) != Text::npos;
    const bool hasClose = t.find(close) != Text::npos;
    if (hasOpen && !hasClose) t.push_back(close);
    if (hasClose && !hasOpen) t.insert(t.begin(), open);
  }
  return t;
}

Text ReadmeTitle::sampleOf(std::string_view bytes, bool writeDocument) {
  if (writeDocument) {
    if (bytes.size() < WriteHeaderBytes) return {};
    const unsigned length = static_cast<unsigned char>(bytes[WriteLengthOffset]) |
                            (static_cast<unsigned>(static_cast<unsigned char>(bytes[WriteLengthOffset + 1])) << 8);
    const std::size_t textBytes = length > WriteLengthBias ? length - WriteLengthBias : 0;
    std::string_view text = bytes.substr(WriteHeaderBytes, textBytes);
    const std::size_t lf = text.find('\n');
    text = lf == std::string_view::npos ? std::string_view() : text.substr(lf + 1);
    bytes = text;
  } else {
    if (bytes.starts_with("\xD0\xCF\x11") || bytes.starts_with("\xDB\xA5")) return {};
  }
  Text sample = cp932::decode(bytes.substr(0, std::min(bytes.size(), SampleCharacters * 2 + 2)));
  if (sample.size() > SampleCharacters) sample.resize(SampleCharacters);
  // Binary content: a code 16, a byte 255 (never part of Shift-JIS text), a
  // first character below TAB.
  if (sample.empty() || sample.front() < ch::Tab) return {};
  if (sample.find(u'\x10') != Text::npos || sample.find(u'\xDCFF') != Text::npos) return {};
  return sample;
}

namespace {

// The line of the sample holding position `at`.
TextView lineAround(TextView text, std::size_t at) {
  std::size_t b = at;
  while (b > 0 && !isLineBreak(text[b - 1])) --b;
  std::size_t e = at;
  while (e < text.size() && !isLineBreak(text[e])) ++e;
  return text.substr(b, e - b);
}

Text driverTitle(TextView sample, TextView lowerSample, std::size_t& scanFrom, const std::function<Text()>& firstDriver) {
  for (TextView label : {u"ドライバ名", u"ﾌｧｲﾙ名", u"ファイル名", u"ﾄﾞﾗｲﾊﾞ名"}) {
    const std::size_t at = sample.find(label);
    if (at == TextView::npos) continue;
    const Text driver = firstDriver ? firstDriver() : Text();
    if (driver.empty()) return {};
    std::size_t name = lowerSample.find(asciiLower(driver), at);
    if (name == TextView::npos) name = sample.find(asciiUpper(driver), at);
    if (name == TextView::npos) return {};
    const TextView line = lineAround(sample, name);
    const std::size_t inLine = name - static_cast<std::size_t>(line.data() - sample.data());
    Text text(line);
    blankOut(text, inLine, driver.size());
    RemoveDates(text, inLine);
    Text title = ReadmeTitle::PhraseRules(text);
    return title.size() > 5 ? title : Text();
  }
  // Without a label the scan starts at the line that names the driver.
  if (const std::size_t at = lowerSample.find(u"driver"); at != TextView::npos) {
    std::size_t b = at;
    while (b > 0 && !isLineBreak(sample[b - 1])) --b;
    scanFrom = b;
  }
  return {};
}

Text trialTitle(TextView sample) {
  for (TextView word : {u"体験版", u"試用版", u"デモ版"}) {
    const std::size_t at = sample.find(word);
    if (at == TextView::npos) continue;
    if (at < 3) return {};
    const std::size_t after = at + word.size();
    if (after < sample.size() && sample[after] >= u'あ' && sample[after] <= u'を') return {};
    if (FindWordBefore(sample, u"この", at)) return {};
    const TextView line = lineAround(sample, at);
    std::size_t cut = at - static_cast<std::size_t>(line.data() - sample.data());
    while (cut > 0 && (isBlank(line[cut - 1]) || TextView(u"「『（＜［【〔《(<[").find(line[cut - 1]) != TextView::npos))
      --cut;
    Text name = StripPairs(line.substr(0, cut));
    if (name.size() < 5) return {};
    // The name is the last word before the trial word: what stands before
    // the last blank or colon is a sentence about it ("新作 ABCツール").
    const std::size_t sep = name.find_last_of(u" 　\t:：");
    if (sep != Text::npos && sep + 1 < name.size()) name.erase(0, sep + 1);
    for (TextView w : {u"ここに", u"この", u"収録されている", u"プログラム"}) {
      for (std::size_t p = name.find(w); p != Text::npos; p = name.find(w, p + 1)) blankOut(name, p, w.size());
    }
    Text title = ReadmeTitle::PhraseRules(name);
    if (title.empty()) return {};
    return title + Text(ReadmeTitle::TrialTag);
  }
  return {};
}

Text labelTitle(TextView sample, std::size_t from) {
  for (TextView label : {u"【名称】", u"【ソフト名】"}) {
    const std::optional<Match> m = FindWord(sample, label, from);
    if (!m) continue;
    std::size_t e = m->end;
    while (e < sample.size() && !isLineBreak(sample[e])) ++e;
    Text rest = TrimDecoration(sample.substr(m->end, e - m->end));
    if (label == u"【名称】") {
      if (const std::optional<Token> first = NextToken(rest)) {
        const Text ext = extensionOf(first->text, true);
        if (ext == u"LZH" || ext == u"FIL") rest.erase(0, first->next);
      }
    }
    Text title = ReadmeTitle::PhraseRules(rest);
    if (!title.empty()) return title;
  }
  return {};
}

// The end of the run of blanks, "." and digits after a version word.
std::size_t versionEnd(TextView line, std::size_t from) {
  std::size_t e = from;
  while (e < line.size() && (isBlank(line[e]) || line[e] == u'.' || isAsciiDigit(line[e]))) ++e;
  return e;
}

enum class Scan { Next, Stop, Title };

struct LineScan {
  std::vector<TextView> lines;
  std::size_t index = 0;
  TextView rawSample;
  Text title;
};

// Steps 5.2 to 5.9 on one line. `next` is the following line for the rules
// that take it.
Scan scanLine(Text line, TextView next, Text& title, TextView fullText) {
  // 5.2
  RemoveDates(line);
  if (!line.empty() && ((line.front() > u' ' && line.front() < u'0') || line.front() == u'=')) {
    line = TrimDecoration(line);
    if (line.empty()) return Scan::Next;
  }
  // 5.3
  cutAt(line, u"が収録");
  // 5.4
  bool accepted = false;
  if (contains(line, u"。")) {
    const Text lower = asciiLower(line);
    const std::size_t ver = lower.find(u"ver", 2);
    if (ver != Text::npos && ver >= 2) {
      std::size_t after = ver + 3;
      if (lower.compare(after, 4, u"sion") == 0) after += 4;
      line.resize(versionEnd(line, after));
      accepted = true;
    } else if (const std::size_t desu = line.find(u"です。"); desu != Text::npos) {
      bool keep = false;
      for (TextView w : {u"プログラム", u"商標", u"ファイル", u"必要", u"通り", u"変更"})
        if (FindWordBefore(line, w, desu)) keep = true;
      if (!keep) line.resize(desu);
    }
  }
  if (!accepted) {
    // 5.5: lines that are no title.
    const Text lower = asciiLower(line);
    const std::size_t copy = lower.find(u"copy");
    if (copy != Text::npos && lower.find(u"ight", copy) != Text::npos && !contains(lower, u"for") &&
        !contains(lower, u"ver"))
      return Scan::Next;
    const Text trimmed = TrimBlanks(line);
    for (TextView end : {u"会社", u"部", u"各位", u"ください", u"下さい"})
      if (trimmed.ends_with(end)) return Scan::Next;
    for (TextView end : {u"グラム名", u"ァイル名", u"ソフト名"})
      if (trimmed.ends_with(end)) return Scan::Next;
    for (TextView w : {u"はじめに", u"注意", u"重要", u"窓口"})
      if (contains(line, w)) return Scan::Next;
    // 5.6: the system requirements and the licence end the part that names
    // the software.
    if (const std::size_t env = line.find(u"環境"); env != Text::npos) {
      const std::size_t no = line.rfind(u'の', env);
      if (no != Text::npos) {
        line.resize(no);
      } else if (!contains(lower, u"ver")) {
        return Scan::Stop;
      }
    }
    if (const std::size_t limit = line.find(u"制限"); limit != Text::npos) {
      const std::size_t no = line.rfind(u'の', limit);
      if (no == Text::npos) return Scan::Stop;
      line.resize(no);
    }
    if (contains(line, u"許諾") || contains(line, u"条件")) return Scan::Stop;
    // 5.7: "名称：", "名前：", "ファイル名：".
    if (contains(line, u"名")) {
      std::optional<Match> m = FindWord(line, u"名称");
      if (!m) m = FindWord(line, u"名前");
      if (m) {
        Text around = line.substr(0, m->begin) + line.substr(m->end);
        around = TrimDecoration(TrimBlanks(around));
        line = around.empty() ? Text(next) : around;
      }
    }
    if (line.starts_with(u"ファイル") || line.starts_with(u"ﾌｧｲﾙ")) {
      std::size_t at = 4;
      std::optional<Token> t = NextToken(line, at);
      if (t && t->text == u"名") {
        at = t->next;
        t = NextToken(line, at);
      }
      const std::size_t colon = line.find_first_of(u"：:", at);
      if (colon != Text::npos && TrimBlanks(TextView(line).substr(at, colon - at)).empty())
        line = line.substr(colon + 1);
    }
    // 5.8
    const Text lower2 = asciiLower(line);
    if (lower2.starts_with(u"program:")) {
      line = line.substr(8);
    } else if (std::size_t dir = line.find(u"ディレクトリには"), disk = line.find(u"ディスクには");
               dir != Text::npos || disk != Text::npos) {
      const std::size_t from = dir != Text::npos ? dir + 8 : disk + 6;
      const std::size_t ga = line.find(u'が', from);
      Text part = line.substr(from, ga == Text::npos ? Text::npos : ga - from);
      part = TrimBlanks(part);
      if (!part.empty() && TextView(u",，、､").find(part.front()) != TextView::npos) part.erase(0, 1);
      if (part.ends_with(u"の")) part.pop_back();
      line = part;
    } else if (lower2.starts_with(u"this ") && !contains(lower2, u"ver.") && !contains(lower2, u"version ")) {
      if (const std::size_t f = lower2.find(u" for"); f != Text::npos) line = StripPairs(TextView(line).substr(f + 4));
    }
  }
  // 5.9
  Text result = ReadmeTitle::PhraseRules(line);
  if (result.size() <= 3) return Scan::Next;
  if (result == u"このファイル" || result == u"インストール") return Scan::Stop;
  if (result == u"P & A シェアウェア") {
    // The name stands under a line of "=====" that follows two blanks.
    const TextView head = fullText.substr(0, std::min<std::size_t>(fullText.size(), 513));
    const std::size_t under = head.find(u"  \r\n=====");
    if (under == TextView::npos) return Scan::Stop;
    std::size_t b = under;
    while (b > 0 && !isLineBreak(head[b - 1])) --b;
    title = TrimBlanks(head.substr(b, under - b));
    return Scan::Title;
  }
  title = std::move(result);
  return Scan::Title;
}

}  // namespace

Text ReadmeTitle::of(std::string_view bytes, TextView path, const std::function<Text()>& firstDriver) {
  const bool write = extensionOf(path, true) == u"WRI";
  const Text sample = sampleOf(bytes, write);
  if (sample.empty()) return {};
  const Text lowerSample = asciiLower(sample);
  std::size_t scanFrom = 0;

  // 2. Driver folders.
  const Text lowerPath = asciiLower(path);
  if (contains(lowerPath, u"driver") || contains(lowerPath, u"drv")) {
    Text title = driverTitle(sample, lowerSample, scanFrom, firstDriver);
    if (!title.empty()) return title;
  }
  // 3. Trial versions.
  if (Text title = trialTitle(sample); !title.empty()) return title;
  // 4. Label lines.
  if (Text title = labelTitle(sample, scanFrom); !title.empty()) return title;
  // 5. The lines from the top.
  const std::vector<TextView> lines = LinesOf(TextView(sample).substr(scanFrom));
  const Text fullText = write ? sample : cp932::decode(bytes.substr(0, std::min<std::size_t>(bytes.size(), 1100)));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].empty()) continue;
    Text title;
    const TextView next = i + 1 < lines.size() ? lines[i + 1] : TextView();
    const Scan scan = scanLine(Text(lines[i]), next, title, fullText);
    if (scan == Scan::Title) return title;
    if (scan == Scan::Stop) break;
  }
  // 6. The line with "Ver.".
  if (const std::size_t ver = sample.find(u"Ver."); ver != Text::npos) return TrimDecoration(lineAround(sample, ver));
  return {};
}

}  // namespace zevro
