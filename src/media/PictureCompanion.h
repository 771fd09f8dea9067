#pragma once
// The pictures attached to rows of a catalog: one companion file beside the
// list file, "_p_" + the kind and label of the list file's name + ".ccj"
// (u"_03cd_GAMES.cct" -> u"_p_CD_GAMES.ccj"; the genre is not part of it),
// holding the JPEG files back to back:
//
//   bytes  content                                       example
//   8      length n of the data, 8 upper-case hex digits "00001A2B"
//   8      the picture id, 3 digits and 5 blanks         "007     "
//   n      the JPEG file's bytes, unchanged
//
// A row with a picture holds its id in field 6 (u"007") and flag bit 8.
// Reading stops at the end of the file or at a length field holding a
// character of code 0. A file that does not read to its end this way (a
// length that is not hexadecimal, a record past the end) is damaged: it is
// still shown as far as it goes, but never rewritten, since a rewrite would
// drop every picture after the damage.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/RowStore.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro {

namespace picturecodec {

inline constexpr std::size_t LengthWidth = 8;
inline constexpr std::size_t IdWidth = 8;
inline constexpr std::size_t IdDigits = 3;
inline constexpr int MaxId = 999;

struct Record {
  std::string idField;     // the 8 bytes of the id field, like "007     "
  std::size_t start = 0;   // offset of the record's length field
  std::size_t data = 0;    // offset of its picture bytes
  std::size_t length = 0;  // n
  std::size_t end() const { return data + length; }
};

struct Parsed {
  std::vector<Record> records;
  bool damaged = false;
};

Parsed parse(std::string_view bytes);
// One record: u"007", bytes -> "00000003007     abc".
std::string record(std::string_view id, std::string_view data);
// The record's id field starts with the id.
bool holds(const Record& r, std::string_view id);

// The file with the picture of id: the first record of that id replaced in
// place, later ones dropped, appended when there was none. nullopt when the
// file is damaged.
std::optional<std::string> withPicture(std::string_view bytes, std::string_view id, std::string_view data);
// The file without the records of id; nullopt when damaged.
std::optional<std::string> withoutPicture(std::string_view bytes, std::string_view id);
// The bytes of the first picture of id (as far as the file reads).
std::optional<std::string> pictureOf(std::string_view bytes, std::string_view id);

// The smallest id 1..999 that no field-6 marker of the heap followed by
// three digits uses, as three digits (u"003" beside 001, 002 and 004);
// empty when all are used.
Text nextFreeId(TextView heap);

// u"_03cd_GAMES.cct" -> u"CD_GAMES": the list file's name from its fourth
// character, without the extension, kind letters in upper case.
Text catalogKey(TextView listFileName);
// u"_03cd_GAMES.cct" -> u"_p_CD_GAMES.ccj".
Text companionName(TextView listFileName);

}  // namespace picturecodec

// The picture operations on the shown catalog, with the picture cache of
// the work folder ("temp/001.jpg" …, "_Dir.txt" naming the catalog it
// belongs to).
class AttachedPictures {
public:
  static constexpr const char* CacheNameFile = "_Dir.txt";
  static constexpr TextView DamagedMessage =
      u"画像ファイルが壊れているため、書き換えられません。\r画像は追加も削除もされていません。";

  struct Services {
    Platform& platform;
    NativePath catalogFolder;  // "/…/zevro/Catalog"
    NativePath workFolder;     // "/…/zevro/temp"
  };

  explicit AttachedPictures(Services services) : s_(std::move(services)) {}

  // The cache belongs to this catalog from now on: when "_Dir.txt" names
  // another one, the files of the work folder are deleted first.
  void SyncPictureCache(TextView listFileName);

  // The cached picture of id ("temp/007.jpg"), taken from the companion
  // file when not cached yet; nullopt when there is no such picture.
  std::optional<NativePath> LoadAttachedPicture(TextView listFileName, TextView id);

  // Attaches the picture file to a catalog row (and the file-pane row
  // showing it, when given): its id kept or the next free one, the
  // companion file rewritten (temporary file, then rename), the picture
  // cached, field 6 and flag bit 8 set, the catalog marked modified.
  // False after a beep (no free id) or a message (any file error).
  bool AddPicture(RowStore& catalog, int row, RowStore* pane, int paneRow, TextView listFileName,
                  const NativePath& picture);

  // Takes the picture off the row: its records leave the companion file,
  // field 6 and bit 8 are cleared. False after a message.
  bool RemovePicture(RowStore& catalog, int row, RowStore* pane, int paneRow, TextView listFileName);

  NativePath companionPath(TextView listFileName) const;

private:
  // Writes the new companion file (nullopt: the old one is damaged).
  bool writeCompanion(const NativePath& path, const std::optional<std::string>& bytes);
  void report(const IoError& error, const NativePath& path);
  static void setImage(RowStore& store, int row, TextView id);

  Services s_;
};

}  // namespace zevro
