#pragma once
// What the columns and codes of a row store mean when it holds a catalog:
// row 0 is the title line (level 0: volume label, catalog title, total size,
// source folder), every other row a folder or file of the medium (level 1 for
// the entries of its root folder).
//
// A scanned file row, as built by buildRecord:
//   buildRecord({u"README.TXT", u"Read me first", u"03/04/05 12:34", u"1,234", u"0"})
//   == u"\x10README.TXT\x11Read me first\x12" u"03/04/05 12:34\x13" u"1,234\x14" u"0"
#include <initializer_list>
#include <span>

#include "core/RowStore.h"
#include "text/Text.h"

namespace zevro::catalog {

// Field numbers.
inline constexpr int FieldName = 0;        // "README.TXT"; title line: the volume label
inline constexpr int FieldComment = 1;     // "Read me first"; title line: the catalog title
inline constexpr int FieldDate = 2;        // "03/04/05 12:34" or empty
inline constexpr int FieldSize = 3;        // "1,234"; folders: total below them
inline constexpr int FieldFlags = 4;       // "0" + flag bits below, as one character
inline constexpr int FieldMediumName = 5;  // name on the medium after a rename; title line: source folder
inline constexpr int FieldImage = 6;       // image reference of an attached picture
inline constexpr int FieldSpare = 7;
inline constexpr int FieldCount = 8;

// Flag bits of field 4, added to the character "0".
inline constexpr char16_t FlagBase = u'0';
inline constexpr int FlagMediumName = 1;
inline constexpr int FlagUserComment = 2;
inline constexpr int FlagUserDate = 4;
inline constexpr int FlagImage = 8;

// Tree flag bits (per stored row; display flags share them).
inline constexpr int TreeHasChildren = 1;
inline constexpr int TreeLast = 2;
inline constexpr int TreeCollapsed = 8;
inline constexpr int TreeHasFiles = 16;
inline constexpr int TreeFilesHidden = 32;

// Highlight marks (per stored row): rows of a search stand out in the list.
inline constexpr int HighlightNone = 0;
inline constexpr int HighlightHit = 2;         // the row holds the word searched for
inline constexpr int HighlightCurrentHit = 6;  // the hit the search window went to last

// Kind codes: 0..5 are folder-like rows, 6 and more files (6 = extension
// not in the icon table).
inline constexpr int KindFolder = 1;
inline constexpr int KindTitleCD = 2;
inline constexpr int KindTitleFD = 3;
inline constexpr int KindTitleHD = 4;
inline constexpr int KindArchiveFolder = 5;
inline constexpr int KindFile = 6;

constexpr bool isFolderLike(int kind) { return kind <= KindArchiveFolder; }

// Text colour index of a row: 0 for a file, (level mod 14) + 1 for a
// folder-like row (a level-1 folder gets 2).
constexpr int colourIndexFor(int kind, int level) { return isFolderLike(kind) ? level % 14 + 1 : 0; }

// Gives every stored row its colour index by the rule above.
void assignColourIndexes(RowStore& store);

// Makes the store behave as a catalog list: tree mode on, folder-aware.
void makeCatalogList(RowStore& store);

// The file marks a list gets before its first display, and keeps in its
// list file: colour indexes, 16 on a folder with files directly below it
// (its files go to the file pane), 16 | 32 on an archive whose recorded
// contents start hidden, 16 and 32 taken from every other row.
void prepareMarks(RowStore& store);
// True when some row carries the file mark 16: a list stored without marks
// (written elsewhere, or by an older reader) has none and gets them anew.
bool hasFileMarks(const RowStore& store);

// A record from field texts, field 0 first; trailing empty fields are left
// off (field 0's marker is always there). Control characters inside a text,
// other than CR and LF, are stored as escape text, as setField does.
Text buildRecord(std::span<const TextView> fields);
Text buildRecord(std::initializer_list<TextView> fields);
// The same into `record`, whose old text is replaced and whose room is kept
// for the next (a reading builds one record per file). No field may view
// `record` itself.
void buildRecordInto(Text& record, std::span<const TextView> fields);

// Messages.
inline constexpr TextView ReloadListMessage = u"このリストをロードし直して下さい";
inline constexpr TextView ExpandListSizeMessage = u"Grid_ExpandListSize: ";

}  // namespace zevro::catalog
