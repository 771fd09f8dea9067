#pragma once
// The one table of option keys: every key of the option store with its type
// and default. Code names a key through its constant (opt::CatalogDir,
// opt::ListInterleave …) or, for the numbered ones, through groupKey and
// foreColorKey, so that no key is spelled twice.
//
// Types: Text ("9.75"), Number (" 5"), Boolean ("-1"/" 0"), OnOff ("ON"/
// "OFF"), Colour (a Number holding 0x00BBGGRR; 0x8000000D and 0x8000000E
// stand for the desktop's selection background and text).
//
// Some defaults are not fixed values: they come from the program folder, the
// catalog folder, a window's designed size or the current font. Those keys
// have DefaultFrom::Caller; the code that reads them passes its own default
// (the catalog folder's comes from defaultCatalogFolder in core/Startup.h).
#include <cstdint>
#include <vector>

#include "core/OptionStore.h"
#include "text/Text.h"

namespace zevro::opt {

// --- Start-up and the main window ----------------------------------------
inline constexpr TextView CatalogDir = u"CatalogDir";
inline constexpr TextView isMsgModal = u"isMsgModal";
inline constexpr TextView WindowX = u"WindowX";
inline constexpr TextView WindowY = u"WindowY";
inline constexpr TextView WIDTH = u"WIDTH";
inline constexpr TextView HEIGHT = u"HEIGHT";
inline constexpr TextView FileFrames = u"FileFrames";
inline constexpr TextView FolderPercentH = u"FolderPercentH";
inline constexpr TextView FolderPercentV = u"FolderPercentV";

// --- List display ---------------------------------------------------------
inline constexpr TextView ColorF = u"ColorF";
inline constexpr TextView KeiDispH = u"KeiDispH";
inline constexpr TextView KeiDispV = u"KeiDispV";
inline constexpr TextView KeiFileH = u"KeiFileH";
inline constexpr TextView KeiFileV = u"KeiFileV";
inline constexpr TextView ListWordWrap = u"ListWordWrap";
inline constexpr TextView ListInterleave = u"ListInterleave";
inline constexpr TextView UseFixedPitch = u"UseFixedPitch";
inline constexpr TextView ListWidthNm0 = u"ListWidthNm0";
inline constexpr TextView ListWidthWm0 = u"ListWidthWm0";
inline constexpr TextView ListWidthNs0 = u"ListWidthNs0";
inline constexpr TextView ListWidthWs0 = u"ListWidthWs0";
inline constexpr TextView FileWidthNm0 = u"FileWidthNm0";
inline constexpr TextView FileWidthWm0 = u"FileWidthWm0";
inline constexpr TextView FileWidthNs0 = u"FileWidthNs0";
inline constexpr TextView FileWidthWs0 = u"FileWidthWs0";

// --- Colours ---------------------------------------------------------------
inline constexpr TextView TitleForeColL = u"TitleForeColL";
inline constexpr TextView TitleBackColL = u"TitleBackColL";
inline constexpr TextView TitleForeColF = u"TitleForeColF";
inline constexpr TextView TitleBackColF = u"TitleBackColF";
inline constexpr TextView TitleForeColS = u"TitleForeColS";
inline constexpr TextView TitleBackColS = u"TitleBackColS";
inline constexpr TextView ListForeCol = u"ListForeCol";
inline constexpr TextView ListBackCol = u"ListBackCol";
inline constexpr TextView SelForeCol = u"SelForeCol";
inline constexpr TextView SelBackCol = u"SelBackCol";
inline constexpr TextView CsrForeCol = u"CsrForeCol";
inline constexpr TextView CsrBackCol = u"CsrBackCol";
inline constexpr TextView ListVLineCol = u"ListVLineCol";
inline constexpr TextView ListHLineCol = u"ListHLineCol";
inline constexpr TextView ForeColorPrefix = u"ForeColor";  // ForeColor1 … ForeColor12
inline constexpr int ForeColorCount = 12;

// --- Fonts -------------------------------------------------------------------
inline constexpr TextView FontName = u"FontName";
inline constexpr TextView FontSize = u"FontSize";
inline constexpr TextView FontBold = u"FontBold";
inline constexpr TextView CatFontNo = u"CatFontNo";
inline constexpr TextView DocFontName = u"DocFontName";
inline constexpr TextView DocFontSize = u"DocFontSize";
inline constexpr TextView DocFontBold = u"DocFontBold";
inline constexpr TextView PrevFontName = u"PrevFontName";
inline constexpr TextView PrevFontSize = u"PrevFontSize";
inline constexpr TextView PrevFontBold = u"PrevFontBold";

// --- Searching, editing, viewing ---------------------------------------------
inline constexpr TextView AlphaSame = u"AlphaSame";
inline constexpr TextView HanZenSame = u"HanZenSame";
inline constexpr TextView UseWildCard = u"UseWildCard";
inline constexpr TextView FindTerm = u"FindTerm";
inline constexpr TextView FindMode = u"FindMode";
inline constexpr TextView QueryDelete = u"QueryDelete";
inline constexpr TextView PrevSingle = u"PrevSingle";
inline constexpr TextView PrevUpDown = u"PrevUpDown";
inline constexpr TextView PicViewWidth = u"PicViewWidth";
inline constexpr TextView PicViewHeight = u"PicViewHeight";
inline constexpr TextView useCommentFrame = u"useCommentFrame";
inline constexpr TextView UseExternal = u"UseExternal";
inline constexpr TextView useSameView = u"useSameView";
inline constexpr TextView FixPreview = u"FixPreview";
inline constexpr TextView UseExtactZip = u"UseExtactZip";
inline constexpr TextView UseOldPlayer = u"UseOldPlayer";
// The program that plays an audio-CD track: its words before the first "%",
// then the track's file, like u"vlc --play-and-exit %1"; empty: none.
inline constexpr TextView AudioCdCommand = u"AudioCdCommand";
// List times in the machine's own time zone instead of the fixed nine hours
// ahead of UTC that catalogs made on Japanese machines carry (-1 / 0).
inline constexpr TextView LocalListTime = u"LocalListTime";

// --- Genres and the catalog selection ---------------------------------------
inline constexpr TextView CurrentJanreNo = u"CurrentJanreNo";
inline constexpr TextView JanreOpen = u"JanreOpen";
inline constexpr TextView StartWithFind = u"StartWithFind";
inline constexpr TextView StartWithCatalog = u"StartWithCatalog";
inline constexpr TextView AttachSelBox = u"AttachSelBox";
inline constexpr TextView SelMediaMode = u"SelMediaMode";
inline constexpr TextView SortByTitle = u"SortByTitle";
inline constexpr TextView SelFormSX = u"SelFormSX";
inline constexpr TextView SelFormSY = u"SelFormSY";
inline constexpr TextView SelFormLX = u"SelFormLX";
inline constexpr TextView SelFormLY = u"SelFormLY";
inline constexpr TextView GroupPrefix = u"Group";  // Group00 … Group19
inline constexpr int GroupCount = 20;

// --- Recent files -------------------------------------------------------------
inline constexpr TextView RecentTextName = u"RecentTextName";
inline constexpr TextView RecentJpegName = u"RecentJpegName";
inline constexpr TextView DiskImageFile = u"DiskImageFile";
inline constexpr TextView MarkIconFile = u"MarkIconFile";
inline constexpr TextView BackupDir = u"BackupDir";

// --- Reading a medium -----------------------------------------------------------
inline constexpr TextView ScanX = u"ScanX";
inline constexpr TextView ScanY = u"ScanY";
inline constexpr TextView HideScan = u"HideScan";
inline constexpr TextView RecordSort = u"RecordSort";
inline constexpr TextView AutoCreate = u"AutoCreate";
inline constexpr TextView RecordUnzip = u"RecordUnzip";
inline constexpr TextView CommentUnzip = u"CommentUnzip";

// --- The search window ------------------------------------------------------------
inline constexpr TextView MediaMode = u"MediaMode";
inline constexpr TextView SearchMode = u"SearchMode";
inline constexpr TextView JanreMode = u"JanreMode";
inline constexpr TextView JanreList = u"JanreList";
inline constexpr TextView FindLeft = u"FindLeft";
inline constexpr TextView FindTop = u"FindTop";
inline constexpr TextView FindWidth = u"FindWidth";
inline constexpr TextView FindHeight = u"FindHeight";
inline constexpr TextView FindWidth0 = u"FindWidth0";
inline constexpr TextView FindWidth1 = u"FindWidth1";
inline constexpr TextView FindWidth3 = u"FindWidth3";

// --- Printing ------------------------------------------------------------------------
inline constexpr TextView RomanFont = u"RomanFont";
inline constexpr TextView BoldFont = u"BoldFont";
inline constexpr TextView SizeIndex = u"SizeIndex";
inline constexpr TextView GapIndex = u"GapIndex";
inline constexpr TextView PrnTree = u"PrnTree";
inline constexpr TextView PrnComment = u"PrnComment";
inline constexpr TextView SwapDate = u"SwapDate";
inline constexpr TextView PrnVline = u"PrnVline";
inline constexpr TextView PrnHline = u"PrnHline";
inline constexpr TextView PrnFrame = u"PrnFrame";
inline constexpr TextView PrnWrap = u"PrnWrap";

// --- Data and comment windows ----------------------------------------------------------
inline constexpr TextView LiveViewX = u"LiveViewX";
inline constexpr TextView LiveViewY = u"LiveViewY";
inline constexpr TextView LiveViewWidth = u"LiveViewWidth";
inline constexpr TextView LiveViewHeight = u"LiveViewHeight";
inline constexpr TextView DocViewX = u"DocViewX";
inline constexpr TextView DocViewY = u"DocViewY";
inline constexpr TextView DocViewWidth = u"DocViewWidth";
inline constexpr TextView DocViewHeight = u"DocViewHeight";

// The name of a genre's key: 0 -> "Group00", 19 -> "Group19".
Text groupKey(int genre);
// The name of a level colour's key: 1 -> "ForeColor1", 12 -> "ForeColor12".
Text foreColorKey(int level);

// The name a genre gets where the genre code gives one of its own: 3 -> "ジャンル03".
inline constexpr TextView GenreNamePrefix = u"ジャンル";
Text defaultGenreName(int genre);

// --- The table ----------------------------------------------------------------------------

enum class OptionType { Text, Number, Boolean, OnOff, Colour };
enum class DefaultFrom { Table, Caller };

struct OptionKey {
  Text name;  // as written in the file, like u"ListInterleave"
  OptionType type = OptionType::Number;
  DefaultFrom from = DefaultFrom::Table;
  std::int64_t number = 0;  // Number, Boolean (-1/0), OnOff (-1/0), Colour (0x00BBGGRR)
  Text text;                // Text keys
};

// Every key, in the order of the table: 150 keys, Group00 … Group19 and
// ForeColor1 … ForeColor12 among them.
const std::vector<OptionKey>& optionKeys();

// The entry of a key, found ignoring ASCII case; nullptr for a key the
// program does not know (older versions' files may hold some).
const OptionKey* findOptionKey(TextView name);

// Reads with the table's default. A key whose default the caller gives reads
// as 0, false or "" when it has no value: pass a default to the OptionStore
// functions for those.
int readNumber(const OptionStore& store, TextView key);
bool readBoolean(const OptionStore& store, TextView key);
bool readOnOff(const OptionStore& store, TextView key);
std::uint32_t readColour(const OptionStore& store, TextView key);
Text readText(const OptionStore& store, TextView key);

}  // namespace zevro::opt
