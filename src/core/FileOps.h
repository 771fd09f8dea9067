#pragma once
// The file helpers every subsystem uses: existence tests and listings with
// wildcards, and the file operations that report their own failures to the
// user through the platform's plain message box (CR breaks lines there).
//
// Host paths are native paths ("/home/kaori/zevro/CatList/_03CD_GAMES.cct").
// Names and patterns are compared as catalog text, ignoring ASCII case the
// way the catalogs' home file systems do: the pattern "_????_*.CCT" finds
// "_03cd_x.cct", and writing "A.TXT" where "a.txt" exists replaces "a.txt"
// instead of putting a second file beside it.
//
// Nothing here deletes or truncates a file before its replacement is
// complete: copies go through a temporary file, a move keeps its source until
// the copy is verified, and a folder tree is removed without following links.
#include <cstdint>

#include "platform/Platform.h"
#include "text/Text.h"

namespace zevro::fileops {

// --- Messages -------------------------------------------------------------
// Pieces of the texts shown in the plain message box; the full texts are
// built by the functions below, so tests compare against the same words.

inline constexpr TextView MsgCannotDeleteFile = u"ファイルを削除できません";
inline constexpr TextView MsgRootQuestionHead = u"いま削除しようとしているフォルダーは、ドライブ";
inline constexpr TextView MsgRootQuestionTail = u" のルート･ディレクトリです";
inline constexpr TextView MsgRootQuestionAsk = u"削除してもいいですか？";
inline constexpr TextView MsgRootWarningHead = u"このまま続行すると、ドライブ ";
inline constexpr TextView MsgRootWarningTail = u"の内容は総て削除されてしまいますが、いいですか？";
inline constexpr TextView MsgRootFolderFull = u"ルート･ディレクトリには、これ以上ファイルを追加できません";
inline constexpr TextView MsgRootFolderFullWhy = u"（空き容量が残っていても、ファイル数に限界があります）";
inline constexpr TextView MsgRootFolderFullHint1 = u"先にファイルを削除してから、フォルダーを新規作成し、";
inline constexpr TextView MsgRootFolderFullHint2 = u"　その中にコピーしてください";
inline constexpr TextView MsgCopyFileLabel = u"ファイル：　";
inline constexpr TextView MsgMoveFileLabel = u"ファイル：";
inline constexpr TextView MsgSourceKeptHead = u"コピーは終了しましたが、元のファイル『";
inline constexpr TextView MsgSourceKeptTail = u"』を削除できませんでした";

// A native path as message text ("/media/usb/読込.txt").
Text shown(const NativePath& path);

// "ファイルを削除できません" CR CR path.
Text cannotDeleteText(const NativePath& path);
// The first and second question before a root folder (mount point) is
// emptied; they name the folder where a drive letter would stand.
Text rootQuestionText(const NativePath& root);
Text rootWarningText(const NativePath& root);
// A failed copy: the root-folder-full block (ENOSPC in a mount point's own
// folder) or the system's error text, then "ファイル：　" + destination.
Text copyFailedText(const IoError& error, bool parentIsRoot, const NativePath& destination);
// A failed move: error text CR "ファイル：" + destination.
Text moveFailedText(const IoError& error, const NativePath& destination);
// The copy of a move is complete but its source could not be removed.
Text sourceKeptText(const NativePath& source);

// --- Names and patterns ---------------------------------------------------

// "*" matches any run of characters, "?" exactly one; ASCII letters match
// either case, everything else only itself:
//   ("_????_*.CCT", "_03cd_x.cct") -> true,  ("?.TXT", ".TXT") -> false.
bool matchesWildcard(TextView pattern, TextView name);

// The name of an entry on disk as catalog text.
Text nameOf(const DirEntry& entry);

// --- Existence and listings -----------------------------------------------
// A path's last part may hold "*" and "?" ("/data/CatList/_????_*.CCT").
// Any error of the system counts as "not there".

bool fileExists(FileSystem& files, const NativePath& path);
bool fileExists(FileSystem& files, const NativePath& folder, TextView pattern);

// A folder, or a link to one, matches the path.
bool folderExists(FileSystem& files, const NativePath& path);

// The names of the matching files (links to folders are not files), sorted, as
// a name list: "\2_03CD_A.CCT\2_03FD_B.CCT\2"; "" when none matches.
Text listFiles(FileSystem& files, const NativePath& folder, TextView pattern);
// The names of the matching folders (links to folders too), except those
// starting with ".", as a name list like "\2Backup\2temp\2".
Text listFolders(FileSystem& files, const NativePath& folder, TextView pattern);

// The size of the first entry that matches the path (the exactly spelled
// name before one differing in case); 0 when none does.
std::uint64_t fileSize(FileSystem& files, const NativePath& path);

// The on-disk spelling of a path whose last part may differ in ASCII case
// ("/d/LIST.CCT" -> "/d/list.cct" when only that exists); the path itself
// when nothing of that name is there.
NativePath resolved(FileSystem& files, const NativePath& path);

// --- File operations ------------------------------------------------------

// Deletes the file (found ignoring case) when it is there; a refused delete
// is tried once more after clearing its read-only mark. Silent.
void deleteFile(FileSystem& files, const NativePath& path);

// Makes an existing file ready to be replaced: clears its read-only mark.
// False when that cannot be done. The file itself stays until its
// replacement is complete (the writer renames over it).
bool clearForWriting(FileSystem& files, const NativePath& path);

// Deletes every file of the folder (not its subfolders).
void deleteFilesOfFolder(FileSystem& files, const NativePath& folder);

// Asks before a root folder is emptied: "/", the home folder and the folders
// holding it are refused outright; a mount point asks the two questions
// (Yes/No, No the default); any other folder is confirmed without asking.
bool confirmRootDeletion(Platform& platform, const NativePath& folder);

// Deletes the folder with everything below it, after confirmRootDeletion.
// Links are removed, never followed; a mount point met below is asked about
// like the top folder. A file that cannot be deleted is reported and the rest
// goes on. True when the folder is gone (or was not there).
bool deleteFolderTree(Platform& platform, const NativePath& folder);

// Creates the folder and any missing parents; true when it exists afterwards.
bool createFolderChain(FileSystem& files, const NativePath& folder);

// Copies a file keeping its time; the old destination stays until the copy is
// complete. A copy onto itself is refused without a message. Failures are
// reported. True when the copy is in place.
bool copyFile(Platform& platform, const NativePath& source, const NativePath& destination);

// Moves a file into a folder under its own name: a rename, or across file
// systems a copy that is verified before the source is deleted. True when the
// file is in the folder (even when its source could not be deleted, which is
// reported).
bool moveFileToFolder(Platform& platform, const NativePath& source, const NativePath& folder);

// Replaces a file of an older extension by one of the new:
//   ("/p/ZEVRO32.Opt", u"INI") with only "/p/ZEVRO32.INI" there -> copied to
//   ZEVRO32.Opt, then deleted; when ZEVRO32.Opt exists the old file is deleted.
void migrateOldExtension(Platform& platform, const NativePath& newPath, TextView oldExtension);

// The folder chooser; a bare drive "X:" is offered as "X:\". "" when cancelled.
Text browseForFolder(Ui& ui, TextView initialFolder, TextView title);

}  // namespace zevro::fileops
