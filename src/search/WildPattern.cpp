#include "search/WildPattern.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/Record.h"

namespace zevro {

namespace {

constexpr char16_t Star = u'*';
constexpr char16_t AnyOne = u'?';
constexpr char16_t DigitMark = u'#';
constexpr char16_t SetOpen = u'[';
constexpr char16_t SetClose = u']';
constexpr char16_t SetNot = u'!';
constexpr char16_t SetRange = u'-';
constexpr char16_t FirstPrintable = 32;

// Which tail elements have matched so far: one flag per state 0..m. Patterns
// are short, so the flags normally live on the stack.
class StateSet {
public:
  explicit StateSet(std::size_t n) : n_(n) {
    if (n_ > Inline) heap_.assign(n_, 0);
  }
  StateSet(const StateSet&) = delete;
  StateSet& operator=(const StateSet&) = delete;

  bool has(std::size_t s) const { return data()[s] != 0; }
  void add(std::size_t s) { data()[s] = 1; }
  void clear() { std::fill_n(data(), n_, std::uint8_t{0}); }
  bool empty() const { return std::find(data(), data() + n_, std::uint8_t{1}) == data() + n_; }

private:
  static constexpr std::size_t Inline = 64;
  std::uint8_t* data() { return n_ > Inline ? heap_.data() : inline_.data(); }
  const std::uint8_t* data() const { return n_ > Inline ? heap_.data() : inline_.data(); }

  std::size_t n_;
  std::array<std::uint8_t, Inline> inline_{};
  std::vector<std::uint8_t> heap_;
};

}  // namespace

bool IsWildKey(TextView term, bool patternMode) {
  if (!patternMode || term.empty()) return false;
  if (term.find_first_of(u"?*") != TextView::npos) return term[0] != Star && term[0] != AnyOne;
  const std::size_t open = term.find(SetOpen);
  if (open == TextView::npos) return false;
  const std::size_t close = term.rfind(SetClose);
  return close != TextView::npos && close > open + 1;
}

WildPattern::WildPattern(TextView pattern) {
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char16_t c = pattern[i];
    std::vector<Element>& out = tail_.empty() ? head_ : tail_;
    if (c == Star) {
      if (tail_.empty() || tail_.back().op != Op::Star) tail_.push_back({.op = Op::Star});
    } else if (c == AnyOne) {
      out.push_back({.op = Op::Any});
    } else if (c == DigitMark && !tail_.empty()) {
      out.push_back({.op = Op::Digit});
    } else if (c == SetOpen) {
      const std::size_t close = pattern.find(SetClose, i + 1);
      if (close == TextView::npos) {
        out.push_back({.op = Op::Never});  // an unclosed list matches nothing
        break;
      }
      addSet(pattern.substr(i + 1, close - i - 1), out);
      i = close;
    } else {
      out.push_back({.op = Op::Char, .c = c});
    }
  }
  Text prefix;
  for (const Element& e : head_) {
    if (e.op != Op::Char) break;
    prefix.push_back(e.c);
  }
  prefix_ = PlainSearcher(prefix);
}

void WildPattern::addSet(TextView list, std::vector<Element>& out) {
  Element e{.op = Op::Set, .first = static_cast<std::uint32_t>(ranges_.size())};
  std::size_t k = 0;
  if (!list.empty() && list[0] == SetNot) {
    e.negated = true;
    k = 1;
  }
  while (k < list.size()) {
    const char16_t low = list[k];
    if (k + 2 < list.size() && list[k + 1] == SetRange) {
      ranges_.push_back({low, list[k + 2]});
      k += 3;
    } else {
      ranges_.push_back({low, low});
      k += 1;
    }
  }
  e.count = static_cast<std::uint32_t>(ranges_.size() - e.first);
  out.push_back(e);
}

bool WildPattern::setHas(const Element& e, char16_t x) const {
  bool in = false;
  for (std::uint32_t i = e.first; i < e.first + e.count && !in; ++i) in = x >= ranges_[i].low && x <= ranges_[i].high;
  return in != e.negated;
}

bool WildPattern::headMatches(const Element& e, char16_t x) const {
  switch (e.op) {
    case Op::Char: return x == e.c;
    case Op::Any: return x >= FirstPrintable;
    case Op::Set: return !record::endsField(x) && setHas(e, x);
    default: return false;
  }
}

bool WildPattern::tailMatches(const Element& e, char16_t x) const {
  switch (e.op) {
    case Op::Char: return x == e.c;
    case Op::Any: return true;
    case Op::Digit: return x >= u'0' && x <= u'9';
    case Op::Set: return setHas(e, x);
    default: return false;
  }
}

std::size_t WildPattern::matchAt(TextView text, std::size_t n, bool wholeWord) const {
  std::size_t l = n;
  for (const Element& e : head_) {
    if (l >= text.size()) return TextEnded;
    if (!headMatches(e, text[l])) return NoMatch;
    ++l;
  }
  if (tail_.empty()) return wholeWord && !EndsWord(text, l) ? NoMatch : l - n;
  if (l >= text.size()) return TextEnded;
  if (text[l] < FirstPrintable) return NoMatch;
  const std::size_t run = longestTail(text, l, wholeWord);
  return run == NoMatch ? NoMatch : l + run - n;
}

// Runs the elements from the first "*" on over the rest of the field that
// starts at l, following every way they can match at once; answers the
// longest run of characters they can take (with a whole-word end), or NoMatch.
std::size_t WildPattern::longestTail(TextView text, std::size_t l, bool wholeWord) const {
  std::size_t fieldEnd = l;
  while (fieldEnd < text.size() && !record::endsField(text[fieldEnd])) ++fieldEnd;

  const std::size_t m = tail_.size();
  StateSet a(m + 1);
  StateSet b(m + 1);
  StateSet* now = &a;
  StateSet* next = &b;
  const auto passStars = [&](StateSet& set) {
    for (std::size_t s = 0; s < m; ++s)
      if (set.has(s) && tail_[s].op == Op::Star) set.add(s + 1);
  };
  now->add(0);
  passStars(*now);

  std::size_t best = NoMatch;
  for (std::size_t j = 0;; ++j) {
    if (now->has(m) && (!wholeWord || EndsWord(text, l + j))) best = j;
    if (l + j == fieldEnd) break;
    const char16_t x = text[l + j];
    next->clear();
    for (std::size_t s = 0; s < m; ++s) {
      if (!now->has(s)) continue;
      if (tail_[s].op == Op::Star)
        next->add(s);
      else if (tailMatches(tail_[s], x))
        next->add(s + 1);
    }
    passStars(*next);
    std::swap(now, next);
    if (now->empty()) break;
  }
  return best;
}

Match WildPattern::find(TextView text, std::size_t from, std::size_t candidatesEnd, bool wholeWord,
                        TextStart start) const {
  if (head_.empty() && tail_.empty()) return {};
  const std::size_t limit = std::min(candidatesEnd, text.size());
  const TextView prefix = prefix_.needle();
  // Candidates start before limit; a prefix occurrence may reach past it.
  const std::size_t prefixEnd = limit + (prefix.empty() ? 0 : prefix.size() - 1);
  for (std::size_t n = from; n < limit; ++n) {
    if (!prefix.empty()) {
      n = prefix_.find(text, n, prefixEnd);
      if (n == TextView::npos) return {};
    }
    if (wholeWord && !StartsWord(text, n, start)) continue;
    const std::size_t length = matchAt(text, n, wholeWord);
    if (length == TextEnded) return {};
    if (length != NoMatch) return {n, length};
  }
  return {};
}

Match FindWild(std::size_t from, TextView text, TextView pattern) { return WildPattern(pattern).find(text, from); }

}  // namespace zevro
