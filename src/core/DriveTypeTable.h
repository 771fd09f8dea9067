#pragma once
// The drive type table "CATTYP.DAT" of the program folder: one byte per drive
// letter A to Z with the drive's type (the codes of platform/Drives.h), or 18
// for a changing drive: a letter seen as a fixed disk at one start and as
// absent at another, like an external USB disk. The file is exactly these 26
// bytes, like "\x01\x01\x03\x05\x12\x01…".
//
// A changing drive keeps its mark for good and is reported as removable, so
// that its catalogs are named and found like those of removable media.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/TitleCache.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

class DriveTypeTable {
public:
  static constexpr const char* FileName = "CATTYP.DAT";
  static constexpr int Letters = 26;

  // The stored byte of a letter ('A'..'Z', either case), 18 included;
  // Unknown for another character.
  int stored(char letter) const;
  void setStored(char letter, int type);

  // The type of the drive a path or drive text names by its first character
  // (u"E:\\DOCS", u"e:"); a changing drive answers Removable.
  int DriveType(TextView pathOrDrive) const;

  // What a letter keeps when its current type differs from the stored one:
  //   stored 18           -> 18
  //   current 3, stored 0 or 1, or current 0 or 1, stored 3 -> 18
  //   otherwise           -> current   (stored 3, now 2 -> 2)
  static int merge(int current, int stored);

  // At start: merges CATTYP.DAT (when it has its 26 bytes) with the drives'
  // current types, or takes the current types without it; writes the file
  // again; and puts the current volume label of every letter whose type is 2
  // or more into the title cache (empty when the drive holds no medium).
  // Returns the error of writing the file; the table in memory is set anyway.
  IoError LoadDriveTypes(FileSystem& files, const NativePath& programFolder, Drives& drives, TitleCache& titles);

  // Asks the drives again for every letter that is not a changing drive.
  void RefreshDriveTypes(Drives& drives);

  std::string encode() const;
  // The first 26 bytes; nothing when there are fewer.
  static std::optional<DriveTypeTable> decode(std::string_view bytes);

  bool operator==(const DriveTypeTable&) const = default;

private:
  std::array<std::uint8_t, Letters> types_{};
};

}  // namespace zevro
