#pragma once
// The text and CSV forms in which a list leaves the program: four values a
// row, written as CP932 with CR LF after every line. The main window's list
// export and the search window's result export both write through it.
//
// Text form, one line a row, widths in characters (not bytes):
//   value 0 left in 30, blank, value 1 left in 40, blank, the first 8
//   characters of value 2, blank, value 3 right-aligned in 12 (its rightmost
//   12 when longer); trailing blanks removed. With LastColumn::Whole the
//   last value is right-aligned in 12 but never cut (the search results put
//   a comment there, and its start matters as much as its end). A line break inside a value
//   becomes one blank, so that a row stays one line:
//   {u"  DOCS", u"Manuals", u"03/04/05 12:34", u"1,234"} ->
//   "  DOCS                         Manuals                                  03/04/05        1,234\r\n"
// CSV form: every value in double quotes, commas between, a double quote
// inside a value doubled (a lone one would end the value for every reader),
// line breaks kept inside the quotes:
//   {u"a\"b", u"x,y", u"", u"1"} -> "\"a\"\"b\",\"x,y\",\"\",\"1\"\r\n"
#include <array>
#include <string>

#include "text/Text.h"

namespace zevro {

class ExportWriter {
public:
  enum class Form { Text, Csv };
  // How the text form treats a last value longer than its 12 characters.
  enum class LastColumn { KeepRight, Whole };
  using Values = std::array<TextView, 4>;

  static constexpr int NameWidth = 30;
  static constexpr int CommentWidth = 40;
  static constexpr int DateWidth = 8;
  static constexpr int SizeWidth = 12;

  explicit ExportWriter(Form form, LastColumn last = LastColumn::KeepRight) : form_(form), last_(last) {}

  Form form() const { return form_; }

  // A header line (CSV only; the text form has none).
  void addHeader(const Values& values);
  // `indent` blanks go before value 0 (two per level for a list's names).
  void addRow(const Values& values, std::size_t indent = 0);

  // Room for about this many bytes of lines, so that a long export grows
  // its buffer once.
  void reserve(std::size_t bytes) { bytes_.reserve(bytes); }

  // Everything added so far as CP932 bytes.
  const std::string& bytes() const { return bytes_; }
  std::string takeBytes() { return std::move(bytes_); }

private:
  void addTextLine(const Values& values, std::size_t indent);
  void addCsvLine(const Values& values, std::size_t indent);

  void endLine();

  Form form_;
  LastColumn last_;
  Text text_;          // the line being made
  std::string bytes_;  // the lines made, CP932
};

}  // namespace zevro
