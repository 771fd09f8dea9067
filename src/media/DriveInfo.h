#pragma once
// What the program knows about a drive letter and the medium in it: the
// drive type the catalogs go by (the table of CATTYP.DAT, in which a
// changing drive counts as removable), the medium kind, the volume label,
// the label made up for a medium without one, the identity of an audio CD
// and the space on the medium.
//
// Drives are named by a drive text or a path whose first character is the
// letter, either case: u"E:", u"e:\\", u"E:\\SOFT\\TOOLS".
//
//   kind by type:  2 removable (and 18, a changing drive) -> u"FD",  5 -> u"CD",  else u"HD"
//   medium kind number of a catalog name:  u"_03CD_GAMES.CCT" -> 1,  FD -> 2,  else 3
//   synthetic label:  root folders DATA, SETUP -> u"DATASETUP";
//                     the one folder DATA of 2001-02-03 04:05:06 -> u"DATA_010203040506"
//   audio CD identity:  serial 0x1A2B3C4D -> u"CDA1A2B3C4D",  0x00ABCDEF -> u"CDAABCDEF"
#include <optional>

#include "core/DriveTypeTable.h"
#include "core/TitleCache.h"
#include "media/ListTime.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

class DriveInfo {
public:
  static constexpr TextView KindCD = u"CD";
  static constexpr TextView KindFD = u"FD";
  static constexpr TextView KindHD = u"HD";
  static constexpr TextView AudioCdLabel = u"Audio CD";
  static constexpr TextView AudioCdPrefix = u"CDA";
  // A synthetic label holds at most this many characters.
  static constexpr std::size_t SyntheticLabelLength = 220;

  // zone: the zone of the date stamp in a synthetic label, the same as the
  // list times of the catalogs.
  DriveInfo(Drives& drives, FileSystem& files, DriveTypeTable& types, TitleCache& titles,
            ListTime::Zone zone = ListTime::Zone::Japan);

  // At start: merges the stored drive types with the present ones, writes
  // CATTYP.DAT again and fills the title cache with the labels of the media
  // in the drives. Returns the error of writing the file (the table holds
  // for this run anyway).
  IoError LoadDriveTypes(const NativePath& programFolder);
  // Looks at the drives again and takes the present type of every letter
  // that is not a changing drive.
  void RefreshDriveTypes();

  // The stored type; a changing drive answers 2 (removable). 0 for a text
  // that does not start with a letter.
  int DriveType(TextView pathOrDrive) const;
  Text DriveKind(TextView pathOrDrive) const;
  static Text kindOfType(int type);
  // 1, 2 or 3 from the kind letters at the fourth and fifth characters of
  // the catalog file name (a folder in front is dropped).
  static int MediumKindNumber(TextView catalogFileName);

  // The platform's volume label of the medium, empty when none (or no medium).
  Text VolumeLabel(TextView driveRoot);
  // The label of a medium without one: the names of the root's folders
  // (those not starting with "."), joined in listing order; a single folder
  // adds "_" and its date stamp "YYMMDDhhmmss"; cut to 220 characters.
  Text SyntheticLabel(TextView drive);
  // "CDA" and the volume serial in upper-case hexadecimal, or "Audio CD"
  // when the serial cannot be read.
  Text AudioCdIdentity(TextView drive);
  // Total and free bytes of the medium; 0 and 0 when there is none.
  DriveSpace Capacity(TextView drive);

  // The folder of this machine a drive path stands for (see DrivePath.h).
  std::optional<NativePath> rootOf(TextView drivePath);
  // The drive has something in it that can be catalogued: a medium with a
  // volume, and for removable drives a capacity above 0.
  bool hasMedium(TextView drive);

  Drives& drives() { return drives_; }
  FileSystem& files() { return files_; }
  TitleCache& titles() { return titles_; }

private:
  Drives& drives_;
  FileSystem& files_;
  DriveTypeTable& types_;
  TitleCache& titles_;
  ListTime::Zone zone_;
};

}  // namespace zevro
