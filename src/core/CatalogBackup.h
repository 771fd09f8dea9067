#pragma once
// The backup of catalog data into a folder the user chooses: the program's
// own data files and every list file, each copied only when its copy there
// is missing or older. Copies keep the source's time, so a second run
// without changes copies nothing.
//
// Destination D for the folder chosen:
//   "/media/usb/zevro_backup"  -> itself (the name ends in ZEVRO_BACKUP, any case)
//   "/media/usb/Save"          -> "/media/usb/Save/ZEVRO_Backup"
// and what lands there, in copy order:
//   D/CATDRV.CCZ, D/ZEVRO32.Opt, D/IconList.CCZ, D/MarkIcon.BMP (the last two
//   when present), D/<catalog folder's name>/_*.CCT by name, like
//   D/Catalog/_03CD_GAMES.cct. The catalog index and the genre table are not
//   copied (they are rebuilt from the list files and kept in the options).
//
// A copy goes to a temporary file beside its destination and is renamed
// over it, so a failed copy leaves the earlier backup copy as it was; only
// copies that succeeded are counted.
#include <functional>
#include <string>
#include <vector>

#include "core/OptionStore.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

class CatalogBackup {
public:
  // --- Texts of the program ------------------------------------------------
  static constexpr TextView ChooserTitle = u"カタログ・データのバックアップ先 指定";
  static constexpr TextView DoneTail = u"個のデータをバックアップしました";
  static constexpr TextView NothingCopiedMessage = u"更新されたデータはありません";
  static constexpr TextView BackupSuffix = u"ZEVRO_BACKUP";
  static constexpr const char* SubfolderName = "ZEVRO_Backup";
  static constexpr const char* IconPictureName = "MarkIcon.BMP";
  static constexpr TextView ListFilePattern = u"_*.CCT";

  struct Folders {
    NativePath programFolder;  // "/home/kaori/.local/share/zevro"
    NativePath catalogFolder;  // "/home/kaori/.local/share/zevro/Catalog"
  };

  // What a run did: the copies made, relative to D with "/" separators
  // ("CATDRV.CCZ", "Catalog/_03CD_GAMES.cct"), in copy order, and the copies
  // or folders that failed, with the system's error.
  struct Failure {
    NativePath path;  // the destination, or the folder that could not be made
    IoError error;
  };
  struct Result {
    NativePath destination;
    std::vector<std::string> copied;
    std::vector<Failure> failures;
    int count() const { return static_cast<int>(copied.size()); }
  };

  CatalogBackup(FileSystem& files, Folders folders) : files_(files), folders_(std::move(folders)) {}

  // The destination rule above.
  static NativePath destinationFor(const NativePath& chosen);

  // The message after a run: "\x08" "3" "\x07" "個のデータをバックアップしました",
  // or "更新されたデータはありません" when nothing was copied.
  static Text doneMessage(int count);

  // Makes D (when missing), remembers it as BackupDir (the option file is
  // saved before the copying, so that the copy of it holds D) and copies.
  // Each failure goes to onFailure as it happens; the rest goes on.
  Result run(const NativePath& chosen, OptionStore& options,
             const std::function<void(const Failure&)>& onFailure = {});

private:
  // Copies `name` of `sourceFolder` into `folder` of D when the copy there
  // is missing or older; `relative` is the folder's part of the result path.
  void copyIfNewer(const NativePath& sourceFolder, const std::string& name, const NativePath& folder,
                   const std::string& relative, Result& result, const std::function<void(const Failure&)>& onFailure);

  FileSystem& files_;
  Folders folders_;
};

}  // namespace zevro
