#include "core/ExportWriter.h"

#include <algorithm>

#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr TextView LineEnd = u"\r\n";

bool isLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// Appends the value with each line break (CR LF, CR or LF) as one blank,
// cut to `width` characters (as counted after that); answers how many
// characters were appended.
std::size_t appendOneLine(Text& line, TextView value, std::size_t width) {
  // Most values hold no line break: they are copied in one piece.
  const TextView head = value.substr(0, width);
  if (std::none_of(head.begin(), head.end(), isLineBreak)) {
    line += head;
    return head.size();
  }
  std::size_t n = 0;
  for (std::size_t i = 0; i < value.size() && n < width; ++n) {
    const char16_t c = value[i++];
    if (!isLineBreak(c)) {
      line += c;
      continue;
    }
    line += u' ';
    if (c == u'\r' && i < value.size() && value[i] == u'\n') ++i;
  }
  return n;
}

// Characters the value takes on one line (a CR LF pair is one).
std::size_t oneLineLength(TextView value) {
  std::size_t n = value.size();
  for (std::size_t i = 0; i + 1 < value.size(); ++i)
    if (value[i] == u'\r' && value[i + 1] == u'\n') --n;
  return n;
}

// Appends `value` padded with blanks or cut to `width` characters, after
// `indent` blanks that count in the width.
void appendLeft(Text& line, TextView value, std::size_t width, std::size_t indent = 0) {
  const std::size_t blanks = std::min(indent, width);
  line.append(blanks, u' ');
  const std::size_t n = appendOneLine(line, value, width - blanks);
  line.append(width - blanks - n, u' ');
}

// `cut`: a longer value keeps its rightmost `width` characters; else it is
// written whole.
void appendRight(Text& line, TextView value, std::size_t width, bool cut) {
  const std::size_t length = oneLineLength(value);
  if (length >= width && !cut) {
    appendOneLine(line, value, length);
    return;
  }
  if (length >= width) {
    // The rightmost `width` characters: skip from the left what is too much.
    std::size_t skip = length - width;
    std::size_t i = 0;
    for (; skip > 0; --skip) {
      const char16_t c = value[i++];
      if (c == u'\r' && i < value.size() && value[i] == u'\n') ++i;
    }
    appendOneLine(line, value.substr(i), width);
    return;
  }
  line.append(width - length, u' ');
  appendOneLine(line, value, width);
}

}  // namespace

void ExportWriter::addHeader(const Values& values) {
  if (form_ == Form::Csv) addCsvLine(values, 0);
}

void ExportWriter::addRow(const Values& values, std::size_t indent) {
  if (form_ == Form::Csv)
    addCsvLine(values, indent);
  else
    addTextLine(values, indent);
}

void ExportWriter::endLine() {
  text_ += LineEnd;
  cp932::encodeAppend(text_, bytes_);
  text_.clear();
}

void ExportWriter::addTextLine(const Values& values, std::size_t indent) {
  const std::size_t start = text_.size();
  appendLeft(text_, values[0], NameWidth, indent);
  text_ += u' ';
  appendLeft(text_, values[1], CommentWidth);
  text_ += u' ';
  appendLeft(text_, values[2], DateWidth);
  text_ += u' ';
  appendRight(text_, values[3], SizeWidth, last_ == LastColumn::KeepRight);
  std::size_t end = text_.size();
  while (end > start && text_[end - 1] == u' ') --end;
  text_.resize(end);
  endLine();
}

void ExportWriter::addCsvLine(const Values& values, std::size_t indent) {
  bool first = true;
  for (TextView value : values) {
    if (!first) text_ += u',';
    text_ += u'"';
    if (first) text_.append(indent, u' ');
    first = false;
    // Runs up to each inner quote are copied whole; the quote is doubled.
    for (std::size_t from = 0; from < value.size();) {
      const std::size_t quote = value.find(u'"', from);
      const std::size_t to = quote == TextView::npos ? value.size() : quote + 1;
      text_.append(value.substr(from, to - from));
      if (quote != TextView::npos) text_ += u'"';
      from = to;
    }
    text_ += u'"';
  }
  endLine();
}


}  // namespace zevro
