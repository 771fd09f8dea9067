#pragma once
// Finding the medium of the shown catalog again, so that a row's file can be
// opened: which drive holds it (asking the user to insert it only while the
// user is acting on the list), and where a row path lies on that drive or in
// the folder of a recorded disk image.
//
//   catalog "_03CD_GAMES.cct", title line label u"GAMES", E: holds GAMES
//   LocateOnMedium(shown, u"DOCS\\README.TXT", false, true)
//       -> "/media/kaori/GAMES/DOCS/README.TXT" (each name found ignoring case)
//   LocateFile(shown, u"DOCS\\PACK.ZIP\\README.TXT")
//       -> "<program folder>/TempFile/README.TXT", the member extracted
//
// Where the medium is looked for, in order:
//   HD  a fixed disk whose volume label is the catalog's label (no question);
//   CD, FD  the drive the title cache remembers for the label, the recorded
//       disk-image folder (title line field 5), a scan of the drives Z..B of
//       the catalog's type, and, while the user-action flag is raised, the
//       drive question of MediaForm.
// A label is taken as found when it equals the catalog's label as it is or
// with its first "." removed (a label "V1.0" is kept as "V10" in catalogs).
// A folder reading ("_00HD_WORK SOFT&TOOLS.cct") looks below its folder; the
// title line's label tells a label with blanks ("My Disk") from a folder.
#include <functional>
#include <optional>

#include "core/RowStore.h"
#include "media/ArchiveReader.h"
#include "media/DriveInfo.h"
#include "media/TitleFile.h"
#include "platform/FileSystem.h"
#include "platform/Ui.h"
#include "text/Text.h"

namespace zevro {

// What MediaForm shows for one drive question.
struct MediaQuestion {
  Text label;          // LBLDSP: the wanted medium, like u"GAMES" or u"旅行\r\n\r\n（TRIP）"
  Text message;        // MSGDSP: the instruction
  char preselect = 0;  // the drive selected at first, 'A'..'Z'; 0: the first one
};

// MediaForm's operation InputMediaDrive: shows the question and waits for
// the answer, the chosen drive like u"E:", or empty when cancelled.
class MediaDriveQuestion {
public:
  virtual ~MediaDriveQuestion() = default;
  virtual Text InputMediaDrive(const MediaQuestion& question) = 0;
};

// The catalog shown in the main window.
struct ShownCatalog {
  NativePath listFile;             // "/…/Catalog/_03CD_GAMES.cct"
  const RowStore* list = nullptr;  // its catalog list; row 0 the title line
};

class MediumLocator {
public:
  // --- Texts ---------------------------------------------------------------
  static constexpr TextView KindTextFD = u"USBメモリー、USBディスク";
  static constexpr TextView KindTextCD = u"CD-ROM、DVD-ROM";
  static constexpr TextView NoTitleYet = u"タイトル未定";
  static constexpr TextView Zip100 = u"ZIP-100";
  static constexpr TextView AskHead = u"このラベルと同じ ";
  static constexpr TextView AskConnect = u" を 接続して、そのドライブ名をクリックして下さい。";
  static constexpr TextView AskInsert = u" を ドライブにセットして、そのドライブ名をクリックして下さい。";
  static constexpr TextView WrongTypeTail = u" のドライブを指定して下さい";
  static constexpr TextView WrongTitleHead = u"指定されたドライブには、「 ";
  static constexpr TextView WrongTitleMiddle = u" 」というタイトルが入っています。";
  static constexpr TextView WrongTitleAskHead = u"「 ";
  static constexpr TextView WrongTitleAskTail = u" 」の入ったドライブを指定して下さい。";
  // MediaForm and DriveForm.
  static constexpr TextView MediaFormCaption = u"ドライブの選択";
  static constexpr TextView MediaFormCancel = u"ｷｬﾝｾﾙ";
  static constexpr TextView DriveFormCaption = u"既存リストを開く";
  static constexpr TextView DriveFormLabel = u"ドライブを選択して、 ［OK］ボタンを押して下さい";
  static constexpr TextView DriveFormCancel = u"キャンセル";

  struct Services {
    DriveInfo& drives;
    TitleFile& titleFile;
    FileSystem& files;
    Ui& ui;
    ArchiveReader& archives;
    NativePath extractionFolder;  // "<program folder>/TempFile"
  };

  explicit MediumLocator(Services services) : s_(std::move(services)) {}

  // The drive question; none: a medium not found by itself stays not found.
  void setQuestion(MediaDriveQuestion* question) { question_ = question; }
  // UseExtactZip: members of ZIP archives are extracted for opening.
  void setZipUsable(bool on) { zipUsable_ = on; }

  // Raised by the main window while it handles a mouse press or key press
  // in a grid: only then is the user asked for the medium.
  bool userAction = false;
  // Set when the user cancels the drive question; cleared when a catalog is
  // loaded and by the display command.
  bool locateCancelled = false;

  // The real path of p (a row path from level 1 like u"DOCS\\A.TXT", or a
  // pattern like u"*") on the medium of the shown catalog; empty when the
  // medium is not found or p is no file there (acceptFolder: nor a folder).
  NativePath LocateOnMedium(const ShownCatalog& shown, TextView p, bool acceptFolder, bool trySourceFolder);

  // The same for a file, the source folder tried first. A path inside a
  // catalogued LZH or ZIP archive gives the member extracted into the
  // extraction folder; empty whenever locating or extracting failed (an
  // older copy of the member there is deleted first, never returned).
  // row: the catalog row of p when known (it tells where an archive ends:
  // the nearest row above it that is a file); -1 looks p up in the list.
  NativePath LocateFile(const ShownCatalog& shown, TextView p, int row = -1);

  // Where the shown catalog's medium is now, as a catalog path: u"E:" for a
  // whole medium, u"E:\\SOFT\\TOOLS" for a folder reading; found as
  // LocateOnMedium finds the medium (never in a disk-image folder); empty
  // when it is not there.
  Text LocateMediumPath(const ShownCatalog& shown);

  // --- The rules, for the windows and the tests --------------------------

  // Kind, label and folder part of the shown catalog's medium:
  //   "_03CD_GAMES.cct", label GAMES               -> CD, GAMES, ""
  //   "_00HD_WORK SOFT&TOOLS.cct", label WORK      -> HD, WORK, u"SOFT\\TOOLS"
  //   "_03FD_My Disk.cct", label u"My Disk"        -> FD, u"My Disk", ""
  struct Medium {
    Text kind;
    Text label;
    Text folderPart;
  };
  static Medium mediumOf(TextView listFileName, TextView titleLabel);

  // The candidate found on a drive names the label: equal (ignoring ASCII
  // case when asked) as it is or with its first "." removed.
  static bool labelMatches(TextView found, TextView label, bool ignoreCase);

  // The instruction of the drive question for a kind text.
  static Text questionMessage(TextView kindText);
  // LBLDSP: the substitute name when there is one; for FD (but not the
  // label "ZIP-100") the title, with the label after two line breaks in
  // "（…）" when they differ, else the label; otherwise the title, or the
  // label when there is no title (the window would show nothing).
  static Text questionLabel(TextView kind, TextView label, TextView title, TextView substitute);
  static Text wrongTypeMessage(TextView kindText);
  static Text wrongTitleMessage(TextView foundTitle, TextView label);

  // The drive MediaForm selects first: the highest letter (B..Z) of a
  // removable drive; when that is not of the wanted type, the highest
  // letter of the wanted type; 0 when neither exists.
  char preselectFor(int wantedType) const;

private:
  // The drive (letter) holding the medium, or 0.
  char findDrive(const ShownCatalog& shown, const Medium& medium, TextView p, bool acceptFolder,
                 bool trySourceFolder, NativePath& sourceHit);
  char askForDrive(const Medium& medium, TextView title, TextView substitute, int wantedType,
                   TextView kindText);
  NativePath joinOnDrive(char letter, const Medium& medium, TextView p, bool acceptFolder);
  bool usable(const NativePath& path, bool acceptFolder);
  int showMessage(const Text& text);

  Services s_;
  MediaDriveQuestion* question_ = nullptr;
  bool zipUsable_ = true;
};

// The File menu commands that depend on the shown medium.
struct MediumCommands {
  bool refreshList = false;   // MF_リスト更新: a list file shown whose title line has a label
  bool diskImage = false;     // MF_DVD場所: a catalog of kind CD or FD
  bool save = false;          // MF_上書保存: the catalog is modified
  bool changeTitle = false;   // MF_メディア名変更: a catalog of kind FD
};
// kind: u"CD", u"FD", u"HD" (empty when nothing is shown).
MediumCommands mediumCommands(TextView kind, TextView label, bool listFileShown, bool modified);

}  // namespace zevro
