#pragma once
// One reading of a medium from start to finish, without any window: the
// reading window and `zevro-cli read` both drive it.
//
//   read(u"E:")            the whole medium in drive E:
//   read(u"E:\\DOCS\\OLD") a folder of it, catalogued as a medium of its own
//
// 1. The catalog name in any genre (u"_??CD_GAMES.CCT") tells whether the
//    medium has a catalog already; no medium or no title ends the reading.
// 2. An existing catalog is the caller's question (askExisting): replace it,
//    read another list beside it ("_04CD_GAMES-02.CCT", the first free
//    number), or stop. Nothing is deleted here: a replaced catalog is only
//    named in the result and retired (media/ReadingStore) once the new list is
//    stored, so that a failed or stopped reading loses nothing.
// 3. The catalog path in the current genre, the medium title (label, title
//    file, synthetic label or audio-CD identity, its first "." removed), the
//    walk into the store, the size pass, the tree flags and file marks, and
//    the free space for the list header (0 for a folder reading).
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/CatalogIndex.h"
#include "core/IconTable.h"
#include "core/RowStore.h"
#include "media/DriveInfo.h"
#include "media/FolderWalker.h"
#include "media/ReadingSplit.h"
#include "media/TitleFile.h"
#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro {

class MediaReading {
public:
  // The progress line while the walk runs ("読み込み中: " + title) and
  // during the size pass.
  static constexpr TextView ReadingText = u"読み込み中: ";
  static constexpr TextView SizePassText = u"フォルダー･サイズ記録中";
  // The catalog folder cannot be listed: this, two line breaks, "　　" and
  // the folder; OK looks again, Cancel ends the reading.
  static constexpr TextView CatalogFolderMessage = u"現在のカタログ･フォルダーにアクセスできません";
  // Every number 01 to 99 of another list of the medium is taken.
  static constexpr TextView NoFreeNumberMessage =
      u"このメディアのリストは、これ以上 追加できません（-01 〜 -99 使用済み）";
  static constexpr int MaxSequence = 99;

  enum class Existing { Replace, AddAnother, Cancel };

  // A catalog of the medium that is there already.
  struct ExistingCatalog {
    NativePath path;    // "/…/Catalog/_01CD_GAMES.cct"
    Text fileName;      // u"_01CD_GAMES.cct"
    Text title;         // its catalog title, else its name from the 7th character without ".CCT"
    Text drive;         // u"E:"
    Text displayTitle;  // the title shown for the medium in the drive
  };

  enum class Outcome {
    Read,      // the store holds the medium
    NoMedium,  // nothing in the drive, or no such drive or folder
    NoTitle,   // a removable medium without title
    Declined,  // the caller chose not to read an already catalogued medium
    CatalogFolderUnreachable,
    NoFreeNumber,
    Stopped,          // cancelled through the pump
    Unreadable,       // the medium's top folder could not be listed
    NothingRecorded,  // the top folder was left out (dates before 1900)
    ListFull,
    // Read as another list beside the medium's catalog, but too large for
    // one list file: its catalogs would take the names of the catalogs of
    // the medium, so nothing is stored.
    TooLargeForAnother,
  };

  struct Result {
    Outcome outcome = Outcome::NoMedium;
    NativePath catalogPath;  // where the list goes, "/…/Catalog/_04CD_GAMES.CCT"
    Text fileName;           // u"_04CD_GAMES.CCT"
    Text mediumTitle;        // the title line's name, like u"GAMES"
    int mediumKind = 3;      // 1 CD, 2 FD, 3 HD
    std::int64_t freeSpace = 0;
    std::int64_t total = 0;  // bytes below the medium
    // The catalog to retire once the new list is stored (Replace).
    std::optional<ExistingCatalog> replaced;
    // What the name was decided from, for deciding it again when the list is
    // stored (another program may have stored a catalog of the medium
    // meanwhile): every genre's name of the medium (u"_??CD_GAMES.CCT"), the
    // name in this genre without a number (u"_04CD_GAMES.CCT"), and the
    // answer about an existing catalog (none: there was none).
    Text namePattern;
    Text baseFileName;
    std::optional<Existing> answer;
    // A reading too large for one list file is recorded as several catalogs
    // (see ReadingSplit.h): the parts, the root's first, and their names
    // (partNames[0] is fileName). Empty: one catalog.
    std::vector<SplitPart> parts;
    std::vector<Text> partNames;
    // With `replaced`, the further parts of an earlier reading of the medium
    // that was split: all of them are retired with it.
    std::vector<ExistingCatalog> replacedParts;
    std::vector<WalkProblem> problems;
    bool ok() const { return outcome == Outcome::Read; }
  };

  struct Services {
    Platform& platform;
    DriveInfo& drives;
    TitleFile& titles;
    const IconTable& icons;
    NativePath catalogFolder;  // "/home/kaori/.local/share/zevro/Catalog"
  };

  struct Settings {
    int genre = 0;     // 0..99, the genre the new catalog goes to
    WalkOptions walk;  // sort order, zone, archives (mediumKind is set here)
    // What one list file holds: a larger reading is recorded as several
    // catalogs (smaller limits let a test split a small reading).
    SplitLimits listLimits = SplitLimits::listFile();
  };

  struct Hooks {
    // The question about a medium with a catalog; empty: Cancel.
    std::function<Existing(const ExistingCatalog&)> askExisting;
    std::function<void(TextView text)> status;  // ReadingText + title, then SizePassText
    WalkCallbacks progress;
    WalkHooks walk;
  };

  MediaReading(Services services, Settings settings, Hooks hooks = {});

  // Reads the drive or folder into the store (emptied first; its sort
  // order becomes the reading's: 2 name, 3 extension, 4 kind). A reading
  // that does not succeed leaves the store empty.
  Result read(TextView path, RowStore& store);

  // A catalog brought up to date: the drive or folder read again into the
  // store under the catalog's own name (u"_04CD_GAMES.CCT") and medium title
  // (the title line's label), without looking for other catalogs or asking
  // anything. The store gets tree flags and file marks as a reading does; a
  // reading that does not succeed leaves it empty. Never split: a catalog
  // that is too large afterwards is refused when it is written.
  Result refresh(TextView path, TextView fileName, TextView mediumTitle, RowStore& store);

  // What the user is told after a reading, as message markup ("|" a line
  // break, 8 ... 7 bold): for a reading that was stored with problems, how
  // many folders were not read whole and the first few of them with the
  // reason; for a reading that failed, why. Empty when there is nothing to
  // tell: read whole, stopped or declined by the user, or told already
  // (a full number list, an unreachable catalog folder, folders with bad
  // dates are reported while the reading runs).
  //   u"読み取れなかったフォルダーやファイルが 2 件あります。|…||\x08E:\\OLD\x07　読み取れません (Permission denied)|…"
  static Text reportOf(const Result& result);
  static constexpr TextView ProblemsHead = u"読み取れなかったフォルダーやファイルが ";
  static constexpr TextView ProblemsCount = u" 件あります。|";
  static constexpr TextView ProblemsKept = u"読み取れた分だけがリストに記録されています。||";
  static constexpr TextView ProblemUnreadable = u"読み取れません";
  static constexpr TextView ProblemNoDetails = u"大きさと日付を読み取れません";
  static constexpr TextView ProblemTooDeep = u"階層が深すぎるため、中身は記録されていません";
  static constexpr TextView ProblemListFull = u"リストが一杯になったため、読み取りを中止しました";
  static constexpr TextView ProblemsMore = u"ほか ";
  static constexpr TextView ProblemsMoreTail = u" 件";
  static constexpr std::size_t ProblemsListed = 5;
  static constexpr TextView NoMediumMessage = u"ドライブにメディアが入っていないか、ドライブ／フォルダーがありません。";
  static constexpr TextView UnreadableMessage = u"メディアを読み取れません。";
  static constexpr TextView NothingRecordedMessage = u"記録できるフォルダーやファイルがありませんでした。";
  static constexpr TextView ListFullMessage = u"ファイルが多すぎて、１つのリストに収まりません。";
  static constexpr TextView TooLargeForAnotherMessage =
      u"このメディアは１つのリストに収まらず、複数のカタログとして記録されるため、"
      u"追加のリストとしては記録できません。||既存のリストと置き換えて読み込んで下さい。";

  // What the user is told when a reading was recorded as several catalogs:
  //   u"このメディアは 3 個のカタログとして記録されました。||_00HD_DATA.cct|…"
  static Text splitReport(const std::vector<Text>& names);
  static constexpr TextView SplitHead = u"このメディアは ";
  static constexpr TextView SplitTail = u" 個のカタログとして記録されました。||";

  // The further parts of a split reading whose root part is rootName
  // (u"_04HD_DATA.CCT"), among the names of the catalog folder: the
  // catalogs whose title line carries its mark (see ReadingSplit.h).
  static std::vector<ExistingCatalog> partsOf(FileSystem& files, const NativePath& folder,
                                              const std::vector<Text>& names, TextView rootName);

  // The title of a list file for the question: field 1 of its title line
  // when it ends in its first 64 + 512 bytes, else the name from its 7th
  // character without the last four: u"_01CD_GAMES.CCT" -> u"GAMES".
  static Text existingTitle(std::string_view firstBytes, TextView fileName);

  // u"_04CD_GAMES.CCT", 2 -> u"_04CD_GAMES-02.CCT".
  static Text numberedName(TextView name, int sequence);

  // The first free number 1..99 of another list (pattern like
  // u"_??CD_GAMES.CCT") among the names of the catalog folder; 0 when all are taken.
  static int freeSequence(const std::vector<Text>& names, TextView pattern);

private:
  Result attempt(TextView path, RowStore& store);
  // The names of the parts of a split reading (partNames).
  Outcome nameParts(Result& result);
  bool listCatalogFolder(std::vector<Text>& names);
  std::optional<ExistingCatalog> findExisting(const std::vector<Text>& names, TextView pattern, TextView drive);

  Services services_;
  Settings settings_;
  Hooks hooks_;
};

}  // namespace zevro
