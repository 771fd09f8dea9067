#include "app/cli/HeadlessUi.h"

#include <ostream>
#include <utility>

namespace zevro::cli {

namespace {

constexpr char16_t LastMarkupCode = 8;  // 0..6 colours, 7 and 8 bold

}  // namespace

HeadlessUi::HeadlessUi(std::ostream& err, std::string prefix, Text inputAnswer)
    : err_(err), prefix_(std::move(prefix)), inputAnswer_(std::move(inputAnswer)) {}

std::string HeadlessUi::plainLine(TextView markup) {
  Text line;
  for (char16_t c : markup) {
    if (c <= LastMarkupCode) continue;
    const bool lineBreak = c == u'|' || c == ch::CR || c == ch::LF;
    if (lineBreak || c == ch::Tab) {
      if (!line.empty() && line.back() != u' ') line.push_back(u' ');
      continue;
    }
    line.push_back(c);
  }
  while (!line.empty() && line.back() == u' ') line.pop_back();
  return toUtf8(line);
}

int HeadlessUi::report(TextView text, int flags) {
  ++messages_;
  err_ << prefix_ << plainLine(text) << '\n';
  switch (flags & mb::ButtonMask) {
    case mb::OkCancel:
    case mb::YesNoCancel: return AnswerCancel;
    case mb::YesNo: return AnswerNo;
    default: return AnswerOk;
  }
}

int HeadlessUi::showMessage(TextView text, int flags, TextView) { return report(text, flags); }

int HeadlessUi::systemMessage(TextView text, int flags, TextView) { return report(text, flags); }

Text HeadlessUi::inputLine(TextView, TextView, TextView) { return inputAnswer_; }

}  // namespace zevro::cli
