#pragma once
// The drive-letter map "drives.map" of the program folder: which letter
// stands for which medium or folder. A plain text file the user may edit; the
// program adds a line whenever it sees a medium for the first time, so that
// the medium keeps its letter in later runs. One letter a line, fields
// separated by TAB:
//
//   # Drive letters: letter, TAB, the folder (or the drive /dev/NAME) it stands for.
//   D	/dev/sr0
//   E	/media/kaori/STICK
//   K	/srv/images/disc1	CD	GAMES
//
// The second field is a folder, or a drive named by its device ("/dev/sr0":
// whatever medium that drive holds, mounted wherever). A folder may be
// followed by the kind it stands in for ("CD", "FD" or "HD", either case)
// and a volume label (UTF-8). Lines starting with "#" and blank lines are
// comments; a line that cannot be read is kept and otherwise ignored, as is
// a second line for the same letter and any line for C:, which is always "/".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevro {

class DriveMapFile {
public:
  static constexpr const char* FileName = "drives.map";
  static constexpr const char* DevicePrefix = "/dev/";

  struct Entry {
    char letter = 0;                   // 'A'..'Z'
    std::string target;                // "/media/kaori/STICK" or "/dev/sr0"
    std::optional<int> type;           // from the kind field: 5, 2 or 3
    std::optional<std::string> label;  // like "GAMES"
    bool isDevice() const { return target.rfind(DevicePrefix, 0) == 0; }
    // "sr0" for "/dev/sr0"; "" for a folder.
    std::string deviceName() const;
  };

  // The text of a new map file: the comment lines that explain it.
  static std::string header();

  static DriveMapFile parse(std::string_view text);

  // The entry of a letter (either case); nullptr when the letter has none.
  const Entry* find(char letter) const;
  // The first entry whose target is this one.
  const Entry* findTarget(std::string_view target) const;
  const std::vector<Entry>& entries() const { return entries_; }

  // The first letter from D to Z without an entry; 0 when all are taken.
  char freeLetter() const;

  // Adds a line "letter TAB target", or rewrites the letter's line when it
  // has one (a letter given to another medium).
  void assign(char letter, std::string target);

  // The file's text with the changes; lines not touched stay byte for byte.
  std::string text() const;
  bool changed() const { return changed_; }

private:
  std::vector<std::string> lines_;
  std::vector<Entry> entries_;
  std::vector<std::size_t> lineOfEntry_;
  bool changed_ = false;
};

}  // namespace zevro
