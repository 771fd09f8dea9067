#include "dialogs/MessageMarkup.h"

namespace zevro {

Text normaliseMessage(TextView text) {
  Text out;
  out.reserve(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == ch::CR) {
      out.push_back(markup::LineBreak);
      if (i + 1 < text.size() && text[i + 1] == ch::LF) ++i;
    } else if (c == ch::LF) {
      out.push_back(markup::LineBreak);
    } else {
      out.push_back(c);
    }
  }
  const bool endsWithBreak =
      !text.empty() && (text.back() == markup::LineBreak || text.back() == ch::CR || text.back() == ch::LF);
  if (!endsWithBreak) out.push_back(markup::LineBreak);
  return out;
}

std::vector<Text> messageLines(TextView text) {
  const Text normalised = normaliseMessage(text);
  std::vector<Text> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < normalised.size(); ++i) {
    if (normalised[i] != markup::LineBreak) continue;
    lines.emplace_back(normalised, start, i - start);
    start = i + 1;
  }
  return lines;
}

bool hasBold(TextView text) { return text.find(markup::BoldOn) != TextView::npos; }

Text withoutSwitches(TextView line) {
  Text out;
  out.reserve(line.size());
  for (char16_t c : line) {
    if (!markup::isSwitch(c)) out.push_back(c);
  }
  return out;
}

Text plainMessageText(TextView text) {
  Text out(text);
  for (char16_t& c : out) {
    if (markup::isSwitch(c)) {
      c = u' ';
    } else if (c == markup::LineBreak) {
      c = ch::CR;
    }
  }
  return out;
}

}  // namespace zevro
