#include "core/OptionKeys.h"

#include <string>

#include "core/Numbers.h"
#include "core/Strings.h"

namespace zevro::opt {

namespace {

using T = OptionType;

OptionKey number(TextView name, std::int64_t value) { return {Text(name), T::Number, DefaultFrom::Table, value, {}}; }
OptionKey boolean(TextView name, bool value) {
  return {Text(name), T::Boolean, DefaultFrom::Table, value ? -1 : 0, {}};
}
OptionKey onOff(TextView name, bool on) { return {Text(name), T::OnOff, DefaultFrom::Table, on ? -1 : 0, {}}; }
OptionKey colour(TextView name, std::uint32_t value) { return {Text(name), T::Colour, DefaultFrom::Table, value, {}}; }
OptionKey text(TextView name, TextView value) { return {Text(name), T::Text, DefaultFrom::Table, 0, Text(value)}; }
OptionKey callers(TextView name, OptionType type) { return {Text(name), type, DefaultFrom::Caller, 0, {}}; }

// The twelve level colours.
constexpr std::uint32_t LevelColours[ForeColorCount] = {
    0x800000, 0x008000, 0x800080, 0xA06000, 0x007090, 0x8020A0,
    0xC08000, 0x444444, 0x504422, 0x333370, 0x603370, 0x337033,
};

constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t SystemHighlight = 0x8000000D;
constexpr std::uint32_t SystemHighlightText = 0x8000000E;

// Twenty genres, none chosen.
constexpr TextView NoGenres = u"00000000000000000000";

std::vector<OptionKey> buildTable() {
  std::vector<OptionKey> t = {
      callers(CatalogDir, T::Text),  // the program folder's "Catalog"
      number(isMsgModal, -1),
      number(WindowX, 0),
      number(WindowY, 0),
      callers(WIDTH, T::Number),  // the main window's designed size
      callers(HEIGHT, T::Number),
      number(FileFrames, 4),
      number(FolderPercentH, 50),
      number(FolderPercentV, 50),
      onOff(ColorF, true),
      boolean(KeiDispH, false),
      boolean(KeiDispV, true),
      boolean(KeiFileH, true),
      boolean(KeiFileV, true),
      number(ListWordWrap, 0),
      number(ListInterleave, 2),
      number(UseFixedPitch, 0),
      number(ListWidthNm0, 90),
      number(ListWidthWm0, 215),
      number(ListWidthNs0, 90),
      number(ListWidthWs0, 215),
      number(FileWidthNm0, 90),
      number(FileWidthWm0, 215),
      number(FileWidthNs0, 90),
      number(FileWidthWs0, 215),
      colour(TitleForeColL, White),
      colour(TitleBackColL, 14733456),
      colour(TitleForeColF, White),
      colour(TitleBackColF, 15253712),
      colour(TitleForeColS, White),
      colour(TitleBackColS, 16769208),
      colour(ListForeCol, 0),
      colour(ListBackCol, White),
      colour(SelForeCol, SystemHighlightText),
      colour(SelBackCol, SystemHighlight),
      colour(CsrForeCol, 0),
      colour(CsrBackCol, 15269832),
      colour(ListVLineCol, 11579568),
      colour(ListHLineCol, 10526880),
  };
  for (int level = 1; level <= ForeColorCount; ++level)
    t.push_back(colour(foreColorKey(level), LevelColours[level - 1]));
  const std::vector<OptionKey> rest = {
      callers(FontName, T::Text),  // the lists' designed font
      text(FontSize, u"9.75"),
      boolean(FontBold, false),
      number(CatFontNo, 0),
      callers(DocFontName, T::Text),  // the comment window's current font
      callers(DocFontSize, T::Text),
      callers(DocFontBold, T::Number),
      callers(PrevFontName, T::Text),  // the data window's current font
      callers(PrevFontSize, T::Text),
      callers(PrevFontBold, T::Number),
      boolean(AlphaSame, false),
      boolean(HanZenSame, false),
      boolean(UseWildCard, false),
      boolean(FindTerm, false),
      boolean(LocalListTime, false),
      number(FindMode, 3),
      boolean(QueryDelete, true),
      boolean(PrevSingle, false),
      boolean(PrevUpDown, false),
      callers(PicViewWidth, T::Number),   // half the main window's width
      callers(PicViewHeight, T::Number),  // the main window's height
      boolean(useCommentFrame, false),
      boolean(UseExternal, false),
      boolean(useSameView, true),
      boolean(FixPreview, false),
      boolean(UseExtactZip, true),
      number(UseOldPlayer, 0),
      text(AudioCdCommand, u""),
      number(CurrentJanreNo, 0),
      callers(JanreOpen, T::Text),  // none: the genre table holds the state
      boolean(StartWithFind, false),
      boolean(StartWithCatalog, true),
      boolean(AttachSelBox, true),
      text(RecentTextName, u""),
      text(RecentJpegName, u""),
      text(DiskImageFile, u""),
      text(MarkIconFile, u""),
      callers(BackupDir, T::Text),  // the catalog folder
      callers(ScanX, T::Number),    // the main window's position
      callers(ScanY, T::Number),
      number(HideScan, 0),
      number(RecordSort, 2),
      number(AutoCreate, -1),
      number(RecordUnzip, 0),
      number(CommentUnzip, 0),
      number(SelMediaMode, 7),
      number(SortByTitle, 0),
      callers(SelFormSX, T::Number),  // the selection window's designed place
      callers(SelFormSY, T::Number),
      callers(SelFormLX, T::Number),
      callers(SelFormLY, T::Number),
  };
  t.insert(t.end(), rest.begin(), rest.end());
  // Genre names: the genre code decides between a name of its own and none.
  for (int genre = 0; genre < GroupCount; ++genre) t.push_back(callers(groupKey(genre), T::Text));
  const std::vector<OptionKey> search = {
      number(MediaMode, 7),
      number(SearchMode, 3),
      number(JanreMode, 0),
      text(JanreList, NoGenres),
      callers(FindLeft, T::Number),  // the search window's designed place and size
      callers(FindTop, T::Number),
      callers(FindWidth, T::Number),
      callers(FindHeight, T::Number),
      number(FindWidth0, 200),
      number(FindWidth1, 100),
      number(FindWidth3, 140),
      number(RomanFont, -1),
      number(BoldFont, 0),
      number(SizeIndex, 1),
      number(GapIndex, 1),
      number(PrnTree, 1),
      number(PrnComment, 1),
      number(SwapDate, 1),
      number(PrnVline, 1),
      number(PrnHline, 1),
      number(PrnFrame, 1),
      number(PrnWrap, 1),
      callers(LiveViewX, T::Number),  // the data window's designed place and size
      callers(LiveViewY, T::Number),
      callers(LiveViewWidth, T::Number),
      callers(LiveViewHeight, T::Number),
      callers(DocViewX, T::Number),  // the comment window's designed place and size
      callers(DocViewY, T::Number),
      callers(DocViewWidth, T::Number),
      callers(DocViewHeight, T::Number),
  };
  t.insert(t.end(), search.begin(), search.end());
  return t;
}

// The table's entry, or an empty one (default 0, "") for an unknown key.
const OptionKey& entryOf(TextView key) {
  static const OptionKey unknown;
  const OptionKey* entry = findOptionKey(key);
  return entry ? *entry : unknown;
}

}  // namespace

Text groupKey(int genre) { return Text(GroupPrefix) + zeroPadded(genre, 2); }

Text foreColorKey(int level) { return Text(ForeColorPrefix) + ascii(std::to_string(level)); }

Text defaultGenreName(int genre) { return Text(GenreNamePrefix) + zeroPadded(genre, 2); }

const std::vector<OptionKey>& optionKeys() {
  static const std::vector<OptionKey> table = buildTable();
  return table;
}

const OptionKey* findOptionKey(TextView name) {
  const Text folded = asciiLower(name);
  for (const OptionKey& key : optionKeys())
    if (asciiLower(key.name) == folded) return &key;
  return nullptr;
}

int readNumber(const OptionStore& store, TextView key) {
  return store.readNumber(key, static_cast<int>(entryOf(key).number));
}

bool readBoolean(const OptionStore& store, TextView key) { return store.readBoolean(key, entryOf(key).number != 0); }

bool readOnOff(const OptionStore& store, TextView key) { return store.readOnOff(key, entryOf(key).number != 0); }

std::uint32_t readColour(const OptionStore& store, TextView key) {
  return store.readColour(key, static_cast<std::uint32_t>(entryOf(key).number));
}

Text readText(const OptionStore& store, TextView key) { return store.readText(key, entryOf(key).text); }

}  // namespace zevro::opt
