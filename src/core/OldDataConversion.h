#pragma once
// List files of earlier versions brought to the current layout, in place in
// the catalog folder: untagged and "AH" files to "AX" (Update_AH_to_AX), and
// "AX" files to "BX" (Update_AX_to_BX), whose records are converted
// (OldRecords.h), whose kind codes follow the icon table, and whose tree
// flags, colours and marks are derived as after a reading.
//
// Untagged and "AH" headers, 21 characters:
//   offset  width  untagged                         "AH"
//        0      2  \ heap length in characters,     "AH"
//        2      6  /  decimal, blanks before it     heap length, hexadecimal
//        8      4  kind-code length, decimal        kind-code length, hexadecimal
//       12      4  level length, decimal            level length, hexadecimal
//       16      5  sort digit and four characters, both
//   then heap, kind codes, level string.
//   "   1234001200120    " -> heap 1,234 characters, 12 kind codes, 12 levels.
// Only a file whose fields are all digits of their kind is taken for an old
// one; a file of any other tag ("BX", "CX", a stranger) is never touched.
//
// Each file is written whole and renamed into place; the original goes to
// the program's Backup folder and the new file gets its time plus one
// second. A file that cannot be converted is left as it is and reported.
// Each file is tried at most once per run of the program.
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/IconTable.h"
#include "core/ListFile.h"
#include "core/RowStore.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro {

class OldDataConversion {
public:
  // --- Texts of the program (UpdateForm and the old-version message) -------
  static constexpr TextView FormCaption = u"ZEVRO";
  static constexpr TextView WaitText = u"しばらく　お待ち下さい";
  static constexpr TextView UpdatingText = u"カタログ・データ 更新中";
  static constexpr std::size_t FileNameShown = 36;  // characters of FILDSP
  static constexpr TextView OldVersionMessage =
      u"このフォルダーには、現バージョンでは使用できない、古い形式のファイルがあります\r\r"
      u"一度、Ver2.6～Ver3.5の ZEVROを起動して、これらのファイルを変換してください";
  // Why a file was left as it is when its blocks are not whole.
  static constexpr TextView DamagedText = u"リストファイルが壊れているため、変換できません";
  static constexpr TextView FilePattern = u"_????_*.CCT";

  enum class Generation { Current, AX, AH, Untagged, Other };
  // "AX", "AH" or "untagged" (empty for the others).
  static const char* nameOf(Generation generation);
  // From the first 21 bytes: "BX" current, "AX", "AH" with hexadecimal
  // fields, untagged with decimal ones, else Other.
  static Generation generationOf(std::string_view bytes);

  // An untagged or "AH" file's bytes as an "AX" file: "AX" + kind-code length
  // (4 hexadecimal digits) + level length (4) + heap length (6) + the old
  // characters 17 to 21, then the blocks unchanged. Nothing when the file is
  // not of those generations or its blocks are shorter than the header says.
  static std::optional<std::string> Update_AH_to_AX(std::string_view bytes);

  // An "AX" file's bytes as a current list in `store` with its header
  // (icon stamp of the table, free space from the trailer). False when the
  // bytes are not a whole "AX" file.
  static bool convertAX(std::string_view bytes, const IconTable& icons, RowStore& store, listfile::Header& header);

  struct Services {
    Platform& platform;
    NativePath catalogFolder;  // "/home/kaori/.local/share/zevro/Catalog"
    // "/home/kaori/.local/share/zevro": its Backup/ keeps the originals; its
    // write lock is held while a file is converted.
    NativePath programFolder;
    const IconTable& icons;
  };
  explicit OldDataConversion(Services services);

  struct Converted {
    Text name;  // as written, like u"_03CD_GAMES.cct"
    Generation from = Generation::AX;
  };
  struct Failed {
    Text name;  // like u"_03CD_GAMES.cct"
    Text text;  // the system's error text, or why the file is not whole
  };
  struct Outcome {
    std::vector<Converted> converted;
    std::vector<Failed> failed;
  };

  // True when the folder holds an untagged, "AH" or "AX" list file not yet
  // tried in this run (reads the first bytes of each list file).
  bool hasWork();

  // Converts every untagged, "AH" and "AX" list file of the catalog folder
  // (names in listing order) not yet tried in this run. showFile gets each
  // name before its file is read (the progress window shows it).
  Outcome Update_AX_to_BX(const std::function<void(TextView name)>& showFile = {});

  // Points the conversion at another catalog folder (after a change).
  void setCatalogFolder(NativePath folder) { catalogFolder_ = std::move(folder); }

private:
  Generation peek(const NativePath& path);

  Platform& platform_;
  NativePath catalogFolder_;
  NativePath programFolder_;
  const IconTable& icons_;
  std::set<Text> tried_;  // lower-case paths as text
};

}  // namespace zevro
