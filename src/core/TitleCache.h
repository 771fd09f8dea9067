#pragma once
// The title cache "CATDRV.CCZ" of the program folder: the last volume label
// or medium title seen on each drive letter A to Z, kept across runs.
//
// The file is 26 CP932 text lines, line k (1-based) for letter A + k - 1,
// each ended by CR LF; an empty line when nothing was seen:
//   "GAMES\r\n" "\r\n" "MY DISK\r\n" … (26 lines)
// Reading accepts LF or CR alone as line ends too. A title cannot hold a
// line end (it would shift every later letter): CR and LF become blanks.
#include <array>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

class TitleCache {
public:
  static constexpr const char* FileName = "CATDRV.CCZ";
  static constexpr int Letters = 26;

  // letter 'A'..'Z' in either case; another character: empty / ignored.
  const Text& title(char letter) const;
  void setTitle(char letter, TextView title);

  std::string encode() const;
  // Missing lines are empty, lines after the 26th are ignored.
  static TitleCache decode(std::string_view bytes);

  // Reads CATDRV.CCZ; a missing file gives an empty cache and no error.
  IoError load(FileSystem& files, const NativePath& programFolder);
  // Replaces CATDRV.CCZ atomically.
  IoError write(FileSystem& files, const NativePath& programFolder) const;

  bool operator==(const TitleCache&) const = default;

private:
  std::array<Text, Letters> titles_;
};

// 0..25 for 'A'..'Z' in either case, -1 for any other character.
int driveSlot(char letter);

}  // namespace zevro
