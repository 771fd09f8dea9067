#pragma once
// Where the kind codes of file rows come from: the extension type table
// (extension -> kind code) and the icon map (kind code -> icon of the icon
// strip), their standard contents, the user's copy of both in "IconList.CCZ"
// of the program folder, and the icon-table stamp that ties a saved catalog
// to the table its kind codes were made with.
//
// Extension type table: entries "NNN.EXT|" back to back, NNN the kind code
// in three digits, EXT the extension in upper case; a code may have several
// spellings:
//   u"010.3GP|011.AA3|…|073.HTM|073.HTML|…|193.MPO|194.GIN|"
// Icon map: 256 bytes, entry k the icon number (1-based) of kind code k, 0
// for none; the standard map gives codes 1..6 the icons 1..6 and every
// standard file type an icon from 6 to 46.
//
// IconList.CCZ (binary): the 256 map bytes, the table length as four
// decimal digits, the table text one byte per character:
//   00 01 02 03 04 05 06 00 … "1552" "010.3GP|011.AA3|…"
//
// Stamp: the icon table file's last-write time as "YYMMDDhhmmss", like
// u"240131235959"; 12 blanks while the standard tables are in use. Times are
// taken as in the catalogs' list times: UTC shifted by nine hours, or the
// machine's own time zone when the options ask for it.
//
// The icon strip (the pictures) is the windows' business; this class is the
// data a scan, a list load and a conversion need without any display.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/RowStore.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

class IconTable {
public:
  static constexpr const char* FileName = "IconList.CCZ";
  static constexpr int MapSize = 256;
  static constexpr std::size_t StampLength = 12;
  static constexpr TextView NoStamp = u"            ";
  // The kind code of a file whose extension is not in the table.
  static constexpr int UnlistedKind = 6;
  using IconMap = std::array<std::uint8_t, MapSize>;

  // How a file time becomes a stamp: the fixed nine-hour shift from UTC that
  // the catalogs agree on, or the machine's time zone.
  enum class Clock { JapanTime, MachineTime };

  // An empty table, a map of zeros, no stamp: BuildStandardTables fills it.
  IconTable() = default;

  const Text& types() const { return types_; }
  void setTypes(Text types) { types_ = std::move(types); }
  const IconMap& iconMap() const { return map_; }
  IconMap& iconMap() { return map_; }
  // u"240131235959", or NoStamp.
  const Text& stamp() const { return stamp_; }

  // Fills the table when it is empty and the map when its entry 1 is 0,
  // with the standard contents.
  void BuildStandardTables();

  // The kind code of an extension (any case, without the "."):
  //   u"jpeg" -> 82,  u"HTML" -> 73,  u"xyz" -> 6,  u"" -> 6.
  int IconCodeOf(TextView extension) const;

  // The table part of loading the icons, for when the user's picture file is
  // there: reads IconList.CCZ into the map and the table and takes its time
  // as the stamp. True when that was done. A missing file leaves the table
  // and the map as they are and the stamp blank; a short or damaged file
  // gives the standard table and map (never half of one) and a blank stamp.
  bool loadUserTable(FileSystem& files, const NativePath& programFolder, Clock clock = Clock::JapanTime);

  // Returns to the standard table and map with a blank stamp.
  void useStandardTables();

  // Loads the icons the user chose: the user's table is in use only when
  // the picture file (MarkIcon.BMP, named by the option MarkIconFile) is a
  // strip bitmap and IconList.CCZ is whole and draws no icon the picture
  // lacks; otherwise the standard table, map and strip are in use together
  // (never a table of one source with pictures of another). Answers the
  // number of icons of the user's picture, or 0 for the standard strip.
  // picture: empty when the option is empty.
  int LoadIcons(FileSystem& files, const NativePath& programFolder, const NativePath& picture,
                Clock clock = Clock::JapanTime);

  // Writes IconList.CCZ (atomically) and takes the new file's time as the stamp.
  IoError SaveIcons(FileSystem& files, const NativePath& programFolder, Clock clock = Clock::JapanTime);

  // The standard table and map.
  static const Text& standardTypes();
  static const IconMap& standardIconMap();

  // The bytes of IconList.CCZ, and back; nothing when the bytes are short,
  // the length is not four digits or longer than the rest, or an entry is
  // not "NNN.EXT|" with a code up to 255.
  static std::string encodeFile(const IconMap& map, TextView types);
  struct FileContents {
    IconMap map;
    Text types;
  };
  static std::optional<FileContents> decodeFile(std::string_view bytes);

  // The icons of a strip bitmap: a BMP 32 px wide whose height is a
  // multiple of 16, with its pixels all there; 0 for anything else.
  static int bitmapStripIcons(std::string_view bytes);

  // A file time as a stamp: 2024-01-31 14:59:59 UTC -> u"240131235959" with
  // JapanTime.
  static Text stampOf(FileTime time, Clock clock);

private:
  Text types_;
  IconMap map_{};
  Text stamp_{NoStamp};
};

// Shown when a table entry gives a file a folder-like code (5 or less); the
// code is used all the same.
inline constexpr TextView DebugStopMessage = u"デバッグ停止";

// Gives every row of a catalog list the kind code of the current table.
// catalogStamp is the stamp the list was saved with: empty (data older than
// stamps) means folder-like rows still carry the old codes 10..13, which
// become 1..4, and every other row is coded afresh; otherwise rows with
// codes 1..5 keep them. A file row's code comes from its name (field 0):
//   - a name ending in "_" gets 6 (u"SETUP.EX_");
//   - else its extension as a reading finds it (the last "." among the
//     last six characters: u"ARCHIVE.TAR" -> "TAR" -> 149, u"A.B.C" ->
//     "C"), so a re-derived row keeps the icon its reading gave it;
//   - else the extension of the medium name (field 5; a row renamed to
//     u"PHOTO" whose medium name is u"PHOTO.JPG" -> 82);
//   - else 6.
// A table entry with a code of 5 or less is used after onLowCode(row, code)
// was told (the desktop program shows DebugStopMessage there). Afterwards
// catalogStamp is the table's stamp, so the list is saved with it. Tree
// flags that depend on kinds are left to the caller.
void ReDeriveKinds(RowStore& store, const IconTable& table, Text& catalogStamp,
                   const std::function<void(int row, int code)>& onLowCode = {});

}  // namespace zevro
