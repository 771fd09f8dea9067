#pragma once
// Start-up: settles the folders of one run and copies files left by older
// versions under their old names. Everything the windows need to know about
// the run afterwards is in the StartupState it returns.
//
// The program folder ("/home/kaori/.local/share/zevro") holds:
//   ZEVRO32.Opt     the option store (core/OptionStore.h)
//   Catalog/        the catalog folder, unless the option CatalogDir names another
//   Catalog.Opt     the find box's history, SearchText.Opt the search window's
//   Backup/         previous versions of re-saved list files (made at start)
//   temp/           files extracted for viewing (emptied at start and at exit)
//   TempFile/       archive members extracted for opening (deleted at exit)
//   ZEVRO.chm       the help file
#include <string_view>

#include "core/OptionStore.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro {

inline constexpr std::string_view OptionFileName = "ZEVRO32.Opt";
inline constexpr std::string_view CatalogFolderName = "Catalog";
inline constexpr std::string_view BackupFolderName = "Backup";
inline constexpr std::string_view WorkFolderName = "temp";
inline constexpr std::string_view ExtractionFolderName = "TempFile";
inline constexpr std::string_view HelpFileName = "ZEVRO.chm";

// List files of drive catalogs, of the list layout older versions used
// (never converted, the user is told), and list files under their old extension.
inline constexpr TextView DriveListPattern = u"_???D_*.CCT";
inline constexpr TextView OldDatListPattern = u"_????_*.DAT";
inline constexpr TextView OldExtensionListPattern = u"_????_*.CAT";

struct VersionNumbers {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

struct StartupState {
  NativePath programFolder;  // like "/home/kaori/.local/share/zevro"
  NativePath catalogFolder;  // like "/home/kaori/.local/share/zevro/Catalog"
  NativePath optionFile;     // like "/home/kaori/.local/share/zevro/ZEVRO32.Opt"
  // The program folder is the root "/": the caller beeps and ends; nothing
  // else was settled.
  bool refused = false;
  bool optionFileExisted = false;
  bool catalogFolderReady = false;  // it exists (a failure to make it shows when it is first used)
  NativePath unreachableCatalogFolder;  // the stored catalog folder that could not be made (told)
  bool hasDriveListFiles = false;   // a "_???D_*.CCT" is in the catalog folder
  bool hasOldListFiles = false;     // a "_????_*.DAT" is there: the caller shows the old-version message
  Text versionText;                 // like u"1.2A"

  // Answers of probes that concern Windows only, fixed here:
  // the platform's own message boxes are modal for the whole desktop, as on
  // the system family that asks for it;
  bool systemModalMessages = true;
  // the file choosers are always there (Qt's), so file names are never asked
  // for with the input box;
  bool commonDialogs = true;
  // no Linux font is called "Meiryo UI"; the name would be drawn with the same
  // IPA Gothic as the other choices, so font choice 2 is not offered.
  bool meiryoUi = false;
};

// Where the option file is: programFolder + "/ZEVRO32.Opt".
NativePath optionFilePath(const NativePath& programFolder);

// The catalog folder when the option names none: programFolder + "/Catalog".
NativePath defaultCatalogFolder(const NativePath& programFolder);

// The catalog folder of option CatalogDir, or the default one. A stored value
// that is not an absolute path counts as none: an option file brought from
// Windows holds "C:\ZEVRO\Catalog". The value itself is kept.
NativePath chooseCatalogFolder(const NativePath& programFolder, const OptionStore& options);

// The chosen catalog folder, made when it is missing. A stored folder is made
// only inside a folder that exists (a folder on a drive that is not mounted
// is not made again somewhere else); when it cannot be made the default
// folder is used, and `unreachable` names the stored one for the message.
struct CatalogFolderChoice {
  NativePath folder;       // "/home/kaori/.local/share/zevro/Catalog"
  bool ready = false;      // it exists
  NativePath unreachable;  // "/media/usb/Catalog", empty when the stored folder is used
};
CatalogFolderChoice settleCatalogFolder(FileSystem& files, const NativePath& programFolder, const OptionStore& options);

// "カタログ･フォルダー <stored> を作成できません。|代わりに <used> を使用します。"
inline constexpr TextView CatalogFolderFallbackHead = u"カタログ･フォルダー \x08";
inline constexpr TextView CatalogFolderFallbackMiddle = u"\x07 を作成できません。|代わりに \x08";
inline constexpr TextView CatalogFolderFallbackTail = u"\x07 を使用します。";
Text catalogFolderFallbackText(const CatalogFolderChoice& choice);

// Copies files left under older names (new missing and old there: copied; the
// old file stays), and moves list files of the old extension "_????_*.CAT"
// to ".CCT":
//   CatList.CCZ <- ZEVRO32.CAT   (catalog folder)
//   CatJan.CCZ  <- CatJan.DEF    (catalog folder)
//   CATDRV.CCZ  <- CATDRV.DAT    (program folder)
//   Catalog.Opt <- _Catalog.INI  (program folder)
// The old index ZEVRO32.CAT is not a list file and keeps its name.
void copyOldVersionFiles(Platform& platform, const NativePath& programFolder, const NativePath& catalogFolder);

// "_????_*.CAT" -> "_????_*.CCT" in the catalog folder (also after the user
// picks another catalog folder).
void migrateOldListFiles(Platform& platform, const NativePath& catalogFolder);

// True when the catalog folder holds list files of the layout older versions
// used ("_????_*.DAT").
bool hasOldListFiles(FileSystem& files, const NativePath& catalogFolder);

// Backup/ made when missing; temp/ made when missing and emptied.
void prepareWorkFolders(FileSystem& files, const NativePath& programFolder);

// The version as shown: the last digit of major and of minor, and a letter
// for a revision: (1, 2, 0) -> "1.2", (1, 2, 1) -> "1.2A", (12, 30, 3) -> "2.0C".
Text versionText(const VersionNumbers& version);

// The whole start-up: options is the store of optionFilePath(programFolder),
// loaded. Makes the catalog folder when missing, copies older versions' files,
// prepares the work folders and fills the state.
StartupState startUp(Platform& platform, const NativePath& programFolder, const OptionStore& options,
                     const VersionNumbers& version);

}  // namespace zevro
