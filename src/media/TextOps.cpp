#include "media/TextOps.h"

#include <algorithm>
#include <array>

#include "text/Cp932.h"

namespace zevro::textops {

namespace {

constexpr char16_t FullBlank = 0x3000;

bool in(char16_t c, TextView set) { return set.find(c) != TextView::npos; }

bool isDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'０' && c <= u'９'); }

// Characters a date is written with, besides digits.
bool isDateCharacter(char16_t c) {
  return isDigit(c) || c == u' ' || c == FullBlank || c == u':' || c == u'/' || c == u'-' || c == u'年' ||
         c == u'月' || c == u'日' || c == u'元' || c == u'．' || c == u'.';
}

// Opening and closing characters of decoration pairs (blank and TAB count
// on both sides).
constexpr TextView OpeningDecoration = u"([<（［＜│|*=-'★☆■□◆◇ \t";
constexpr TextView ClosingDecoration = u")]>）］＞│|*=-'★☆■□◆◇ \t";
constexpr TextView LeadingMarks = u":･：・●◎○◇◆□■";

// The end of a date that starts at `start`, taking date characters; with
// `stopAtUnit` the date ends after its last 年, 月 or 日 when it has one.
std::size_t dateEnd(TextView text, std::size_t start, std::size_t limit) {
  std::size_t end = start;
  std::size_t lastUnit = TextView::npos;
  while (end < text.size() && end - start < limit && isDateCharacter(text[end])) {
    if (text[end] == u'年' || text[end] == u'月' || text[end] == u'日') lastUnit = end;
    ++end;
  }
  if (lastUnit != TextView::npos) return lastUnit + 1;
  // Without a unit the trailing blanks stay.
  while (end > start && isBlank(text[end - 1])) --end;
  return end;
}

// True when an issue mark "号" follows the date (blanks passed over).
bool issueFollows(TextView text, std::size_t end) {
  while (end < text.size() && isBlank(text[end])) ++end;
  return end < text.size() && text[end] == u'号';
}

bool blankRange(Text& text, std::size_t begin, std::size_t end) {
  if (end <= begin || issueFollows(text, end)) return false;
  std::fill(text.begin() + static_cast<std::ptrdiff_t>(begin), text.begin() + static_cast<std::ptrdiff_t>(end), u' ');
  return true;
}

int twoDigits(TextView text, std::size_t at) {
  if (at + 2 > text.size() || !isAsciiDigit(text[at]) || !isAsciiDigit(text[at + 1])) return -1;
  return (text[at] - u'0') * 10 + (text[at + 1] - u'0');
}

bool lowerEquals(TextView text, std::size_t at, TextView word) {
  if (at + word.size() > text.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i) {
    char16_t c = text[at + i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != word[i]) return false;
  }
  return true;
}

}  // namespace

bool isBlank(char16_t c) { return c == u' ' || c == FullBlank || c == u'\t'; }
bool isSeparator(char16_t c) { return isBlank(c) || c == u',' || c == u';' || c == u':' || isLineBreak(c); }
bool isLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }
bool isHiragana(char16_t c) { return c >= u'ぁ' && c <= u'ん'; }
bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool isDecoration(char16_t c) {
  const unsigned code = cp932::codeOf(c);
  if (code == cp932::NoCharCode) return false;
  if (code < 0x100) {
    return code <= 47 || (code >= 58 && code <= 63) || (code >= 91 && code <= 96) || (code >= 123 && code <= 159) ||
           code >= 224;
  }
  return (code >= 0x8140 && code <= 0x815A) || (code >= 0x815C && code <= 0x81FF) ||
         (code >= 0x8401 && code <= 0x84FF);
}

Text TrimDecoration(TextView text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && isDecoration(text[b])) ++b;
  while (e > b && isDecoration(text[e - 1])) --e;
  return Text(text.substr(b, e - b));
}

Text TrimBlanks(TextView text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && isBlank(text[b])) ++b;
  while (e > b && isBlank(text[e - 1])) --e;
  return Text(text.substr(b, e - b));
}

Text StripPairs(TextView text) {
  // One line break at each end (CR LF counts as one).
  if (text.starts_with(u"\r\n")) text.remove_prefix(2);
  else if (!text.empty() && isLineBreak(text.front())) text.remove_prefix(1);
  if (text.ends_with(u"\r\n")) text.remove_suffix(2);
  else if (!text.empty() && isLineBreak(text.back())) text.remove_suffix(1);
  Text t = TrimBlanks(text);
  TextView v = t;
  while (v.size() >= 2 && in(v.front(), OpeningDecoration) && in(v.back(), ClosingDecoration)) {
    v.remove_prefix(1);
    v.remove_suffix(1);
  }
  while (!v.empty() && in(v.front(), LeadingMarks)) {
    v.remove_prefix(1);
    while (!v.empty() && isBlank(v.front())) v.remove_prefix(1);
  }
  v = TextView(t).substr(v.data() - t.data(), v.size());
  Text trimmed = TrimBlanks(v);
  if (trimmed.size() >= 2 && trimmed.front() == u'"' && trimmed.back() == u'"')
    trimmed = trimmed.substr(1, trimmed.size() - 2);
  return TrimBlanks(trimmed);
}

void RemoveDates(Text& text, std::size_t from) {
  if (from >= text.size()) return;
  const TextView view = text;
  // An era date: 平成 and its year, month or day.
  if (const std::size_t era = view.find(u"平成", from); era != TextView::npos) {
    blankRange(text, era, dateEnd(view, era + 2, 20));
    return;
  }
  // A number followed by 年.
  for (std::size_t y = view.find(u'年', from); y != TextView::npos; y = view.find(u'年', y + 1)) {
    std::size_t start = y;
    while (start > from && y - start < 4 && isDigit(view[start - 1])) --start;
    if (start == y) continue;
    blankRange(text, start, dateEnd(view, start, 21));
    return;
  }
  // yy/mm or yy-mm with a year after 90 (and up to five digits before the
  // separator: 1999/12 as well as 99/12).
  for (std::size_t i = from + 2; i < view.size(); ++i) {
    if (view[i] != u'/' && view[i] != u'-') continue;
    const int year = twoDigits(view, i - 2);
    const int month = twoDigits(view, i + 1) >= 0 ? twoDigits(view, i + 1)
                      : (i + 1 < view.size() && isAsciiDigit(view[i + 1])) ? view[i + 1] - u'0'
                                                                           : -1;
    if (year <= 90 || month < 1 || month > 12) continue;
    std::size_t start = i;
    while (start > from && i - start < 5 && isAsciiDigit(view[start - 1])) --start;
    blankRange(text, start, dateEnd(view, i, 22));
    return;
  }
  // An English month with its digits: "Dec 24, 1999".
  if (view.find(u'9') == TextView::npos) return;
  static constexpr std::array<TextView, 12> Months = {u"jan", u"feb", u"mar", u"apr", u"may", u"jun",
                                                      u"jul", u"aug", u"sep", u"oct", u"nov", u"dec"};
  for (std::size_t i = from; i + 3 <= view.size(); ++i) {
    if (i > 0 && isAsciiLetter(view[i - 1])) continue;
    for (TextView m : Months) {
      if (!lowerEquals(view, i, m)) continue;
      std::size_t end = i + 3;
      while (end < view.size() && isAsciiLetter(view[end])) ++end;  // "December", "Dec."
      if (end < view.size() && view[end] == u'.') ++end;
      const std::size_t numbers = end;
      while (end < view.size() && (isAsciiDigit(view[end]) || view[end] == u',' || view[end] == u' ')) ++end;
      while (end > numbers && view[end - 1] == u' ') --end;
      if (end == numbers) continue;  // a month needs its digits
      blankRange(text, i, end);
      return;
    }
  }
}

std::optional<Match> FindWord(TextView text, TextView word, std::size_t from) {
  if (word.empty()) return std::nullopt;
  for (std::size_t start = from; start < text.size(); ++start) {
    std::size_t t = start;
    std::size_t w = 0;
    bool first = true;
    while (w < word.size()) {
      if (t < text.size() && text[t] == word[w]) {
        ++t;
        ++w;
        first = false;
      } else if (isHiragana(word[w]) || isBlank(word[w])) {
        ++w;  // missing from the text
      } else if (!first && t < text.size() && isBlank(text[t])) {
        ++t;  // an extra blank of the text
      } else {
        break;
      }
    }
    if (w == word.size() && !first) return Match{start, t};
    (void)first;
  }
  return std::nullopt;
}

std::optional<Match> FindWordBefore(TextView text, TextView word, std::size_t end) {
  if (word.empty() || end > text.size()) return std::nullopt;
  constexpr TextView MayBeMissing = u"いきしちにみりん \t　";
  std::size_t t = end;
  while (t > 0 && isBlank(text[t - 1])) --t;
  std::size_t matchedEnd = t;
  std::size_t w = word.size();
  bool any = false;
  while (w > 0) {
    if (t > 0 && text[t - 1] == word[w - 1]) {
      --t;
      --w;
      any = true;
    } else if (in(word[w - 1], MayBeMissing)) {
      --w;
    } else if (any && t > 0 && isBlank(text[t - 1])) {
      --t;
    } else {
      return std::nullopt;
    }
  }
  if (!any) return std::nullopt;
  return Match{t, matchedEnd};
}

bool RemoveWord(Text& text, TextView word) {
  const std::optional<Match> m = FindWord(text, word);
  if (!m) return false;
  text.erase(m->begin, m->end - m->begin);
  return true;
}

std::optional<Token> NextToken(TextView text, std::size_t from) {
  std::size_t b = from;
  while (b < text.size() && isSeparator(text[b])) ++b;
  if (b >= text.size()) return std::nullopt;
  Token token;
  token.begin = b;
  const char16_t q = text[b];
  if (q == u'"' || q == u'\'') {
    std::size_t e = b + 1;
    while (e < text.size() && text[e] != q && !isLineBreak(text[e])) ++e;
    token.text = Text(text.substr(b + 1, e - b - 1));
    token.next = e < text.size() && text[e] == q ? e + 1 : e;
    return token;
  }
  std::size_t e = b;
  while (e < text.size() && !isSeparator(text[e])) ++e;
  token.text = Text(text.substr(b, e - b));
  token.next = e;
  return token;
}

std::vector<TextView> LinesOf(TextView text, bool withLastLine) {
  std::vector<TextView> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!isLineBreak(text[i])) continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (withLastLine && start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::size_t ByteWidth(TextView text) {
  std::size_t n = 0;
  for (char16_t c : text) {
    const unsigned code = cp932::codeOf(c);
    n += code != cp932::NoCharCode && code >= 0x100 ? 2 : 1;
  }
  return n;
}

Text ByteColumns(TextView line, std::size_t first, std::size_t count) {
  const std::size_t last = count == std::u16string::npos ? std::u16string::npos : first + count;
  Text out;
  std::size_t column = 0;
  for (char16_t c : line) {
    const unsigned code = cp932::codeOf(c);
    const std::size_t width = code != cp932::NoCharCode && code >= 0x100 ? 2 : 1;
    if (column >= first && column + width <= last) out.push_back(c);
    column += width;
    if (column >= last) break;
  }
  return out;
}

bool EndsWith(TextView text, TextView end) { return text.ends_with(end); }
bool StartsWith(TextView text, TextView start) { return text.starts_with(start); }
bool Contains(TextView text, TextView part) { return text.find(part) != TextView::npos; }

void BlankControls(Text& text, bool keepLineBreaks) {
  for (char16_t& c : text)
    if (c < u' ' && !(keepLineBreaks && isLineBreak(c))) c = u' ';
}

Text SqueezeBlanks(TextView text) {
  Text out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool blank = text[i] == u' ' || text[i] == u'\t';
    if (blank && i > 0 && (text[i - 1] == u' ' || text[i - 1] == u'\t')) continue;
    out.push_back(text[i]);
  }
  return out;
}

Text FitComment(TextView text, std::size_t limit, bool keepLineBreaks) {
  Text out(text);
  BlankControls(out, keepLineBreaks);
  if (out.size() > limit) out = SqueezeBlanks(out);
  if (out.size() > limit) out.resize(limit);
  return out;
}

}  // namespace zevro::textops
