#pragma once
// A profile (INI) file in memory, read and changed the way the system's profile
// functions do, while every line the program does not change stays exactly as
// it was: its bytes, its order and its line end. Older versions' option files
// (and anything a user or another program put in them) survive a write.
//
//   [Options]\r\n                 a section; names compare ignoring ASCII case
//   ListInterleave= 5\r\n         a key: the name before the first "=", the value after it
//   ; a comment\r\n               lines starting with ";" are comments
//
// Text is CP932: each line is decoded on its own to find names and values,
// but kept as the bytes it was read as. Reading a value gives it the way the
// profile functions do: blanks and tabs around it removed, and one pair of
// quotes ("…" or '…') around the whole value removed. Of two sections or keys
// with the same name, the first one counts.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/Text.h"

namespace zevro {

class ProfileDocument {
public:
  ProfileDocument() = default;
  // Any bytes are accepted; lines end with LF or CR LF.
  explicit ProfileDocument(std::string_view bytes);

  // The value of a key of a section as read, like u"5" for "ListInterleave= 5";
  // nullopt when the section or the key is missing.
  std::optional<Text> value(TextView section, TextView key) const;

  // Stores a value: the first line of the key gets the new value (its name and
  // line end are kept); a missing key is added after the last line of the
  // section that is not blank; a missing section is added at the end of the
  // file. Line breaks in the value are stored as blanks (one value, one line).
  // Returns false, and changes nothing, when the value as read would stay the
  // same (" 5" over "5" is no change).
  bool setValue(TextView section, TextView key, TextView value);

  // The whole file; the bytes it was made from while nothing was set.
  std::string bytes() const;

  std::size_t lineCount() const { return lines_.size(); }

  // The value as a reader gets it back after storing text: trimmed, one pair
  // of enclosing quotes removed, line breaks read as blanks.
  static Text asRead(TextView stored);

private:
  enum class Kind { Other, Section, Key };
  struct Line {
    std::string bytes;  // without its line end
    std::string end;    // "\r\n", "\n", or "" for a last line without one
    Kind kind = Kind::Other;
    Text name;   // section or key name, ASCII lower case
    Text value;  // a key's value as read
  };

  static Line parse(std::string bytes, std::string end);
  // Index of the first section line of that name; lines_.size() when none.
  std::size_t findSection(const Text& foldedName) const;
  // One past the last line belonging to the section that starts at index.
  std::size_t sectionEnd(std::size_t section) const;
  void insertLine(std::size_t at, std::string bytes);

  std::vector<Line> lines_;
};

}  // namespace zevro
