#include "core/ExportWriter.h"

#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr TextView LineEnd = u"\r\n";

// The value with each line break (CR LF, CR or LF) as one blank.
Text oneLine(TextView value) {
  Text out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char16_t c = value[i];
    if (c == u'\r' || c == u'\n') {
      out += u' ';
      if (c == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n') ++i;
      continue;
    }
    out += c;
  }
  return out;
}

// Appends `value` padded with blanks or cut to `width` characters.
void appendLeft(Text& line, TextView value, std::size_t width) {
  const TextView part = value.substr(0, width);
  line += part;
  line.append(width - part.size(), u' ');
}

void appendRight(Text& line, TextView value, std::size_t width) {
  if (value.size() >= width) {
    line += value.substr(value.size() - width);
    return;
  }
  line.append(width - value.size(), u' ');
  line += value;
}

}  // namespace

void ExportWriter::addHeader(const Values& values) {
  if (form_ == Form::Csv) addCsvLine(values);
}

void ExportWriter::addRow(const Values& values) {
  if (form_ == Form::Csv)
    addCsvLine(values);
  else
    addTextLine(values);
}

void ExportWriter::addTextLine(const Values& values) {
  const std::size_t start = text_.size();
  appendLeft(text_, oneLine(values[0]), NameWidth);
  text_ += u' ';
  appendLeft(text_, oneLine(values[1]), CommentWidth);
  text_ += u' ';
  appendLeft(text_, oneLine(values[2]), DateWidth);
  text_ += u' ';
  appendRight(text_, oneLine(values[3]), SizeWidth);
  std::size_t end = text_.size();
  while (end > start && text_[end - 1] == u' ') --end;
  text_.resize(end);
  text_ += LineEnd;
}

void ExportWriter::addCsvLine(const Values& values) {
  bool first = true;
  for (TextView value : values) {
    if (!first) text_ += u',';
    first = false;
    text_ += u'"';
    for (char16_t c : value) {
      if (c == u'"') text_ += u'"';
      text_ += c;
    }
    text_ += u'"';
  }
  text_ += LineEnd;
}

std::string ExportWriter::bytes() const { return cp932::encode(text_); }

}  // namespace zevro
