// The conversion of old list files on hand-made fixtures: every record rule,
// the invalid corners, the "AH" and untagged headers, "AX" files with and
// without the "S" trailer, the Backup copy and the time + 1 s, files of
// other tags left alone, and each file tried once per run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/CatalogList.h"
#include "core/IconTable.h"
#include "core/ListFile.h"
#include "core/OldDataConversion.h"
#include "core/OldRecords.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

constexpr FileTime Second = 1'000'000'000;
constexpr FileTime Base = 1'600'000'000 * Second;

// Markers 16 up, each once, in order, and no other control character but
// CR and LF.
bool isValidRecord(TextView record) {
  if (record.empty() || record[0] != 16) return false;
  char16_t next = 16;
  for (char16_t c : record) {
    if (c >= 16 && c <= 31) {
      if (c != next) return false;
      ++next;
    } else if (c < 32 && c != u'\r' && c != u'\n') {
      return false;
    }
  }
  return true;
}

TEST(OldRecords, EachRuleGivesAValidCurrentRecord) {
  struct Case {
    const char* what;
    TextView old;
    TextView converted;
  };
  const Case cases[] = {
      {"name, comment, date with a trailing blank, size", u"name\x02" u"comment\x02" u"00/01/02 03:04 \x02" u"1,234",
       u"\x10name\x11" u"comment\x12" u"00/01/02 03:04\x13" u"1,234\x14" u"6\x15"},
      {"leading blanks of the date", u"N\x02\x02  01/02/03\x02" u"7",
       u"\x10N\x11\x12" u"01/02/03\x13" u"7\x14" u"4\x15"},
      {"old field 4 is the name on the medium", u"N\x02\x02\x02" u"5\x02REAL.TXT",
       u"\x10N\x11\x12\x13" u"5\x14" u"1\x15REAL.TXT\x16"},
      {"old field 4 then more fields: the rest is dropped", u"N\x02\x02\x02" u"5\x02REAL.TXT\x02X\x02Y",
       u"\x10N\x11\x12\x13" u"5\x14" u"1\x15REAL.TXT\x16"},
      {"code 7: the second name goes to field 5", u"NEW\x07REAL.TXT\x02\x02\x02" u"5",
       u"\x10NEW\x11\x12\x13" u"5\x14" u"1\x15REAL.TXT\x16"},
      {"code 31 as old field 4: the picture id is field 6", u"P.JPG\x02\x02\x02" u"9\x02\x1F" u"001",
       u"\x10P.JPG\x11\x12\x13" u"9\x14" u"8\x15\x16" u"001\x17"},
      {"a record ending in its separator", u"N\x02" u"c\x02" u"d\x02" u"1\x02",
       u"\x10N\x11" u"c\x12" u"d\x13" u"1\x14" u"6\x15"},
      {"a name alone: the missing markers are added", u"ONLY", u"\x10ONLY\x11\x12\x13\x14" u"0\x15"},
      {"a name and a comment", u"A\x02" u"c", u"\x10" u"A\x11" u"c\x12\x13\x14" u"2\x15"},
      {"an empty record", u"", u"\x10\x11\x12\x13\x14" u"0\x15"},
      {"empty old field 4 with fields after it", u"N\x02\x02\x02" u"5\x02\x02X\x02Y",
       u"\x10N\x11\x12\x13" u"5\x14" u"0\x15"},
      {"code 7 meeting a filled field 5: the field wins", u"NEW\x07SECOND\x02\x02\x02" u"5\x02REAL",
       u"\x10NEW\x11\x12\x13" u"5\x14" u"1\x15REAL\x16"},
      {"code 31 after a filled field 5", u"N\x02\x02\x02" u"5\x02REAL\x1F" u"002",
       u"\x10N\x11\x12\x13" u"5\x14" u"9\x15REAL\x16" u"002\x17"},
      {"code 31 in the comment keeps the text around it", u"N\x02" u"a\x1F" u"003b\x02\x02" u"1",
       u"\x10N\x11" u"ab\x12\x13" u"1\x14" u":\x15\x16" u"003\x17"},
      {"code 7 and code 31 together", u"NEW\x07OLD.JPG\x02\x02\x02" u"5\x02\x1F" u"004",
       u"\x10NEW\x11\x12\x13" u"5\x14" u"9\x15OLD.JPG\x16" u"004\x17"},
      {"a short picture id at the end", u"N\x02\x02\x02" u"5\x02\x1F" u"0",
       u"\x10N\x11\x12\x13" u"5\x14" u"8\x15\x16" u"0\x17"},
      {"a stray control character is kept as escape text", u"A\x05" u"B\x02" u"x\x07y",
       u"\x10" u"A&#x0005;B\x11" u"x&#x0007;y\x12\x13\x14" u"2\x15"},
      {"line breaks in the comment stay", u"N\x02" u"a\r\nb", u"\x10N\x11" u"a\r\nb\x12\x13\x14" u"2\x15"},
      {"a marker character inside old text", u"N\x12X\x02\x02\x02" u"1",
       u"\x10N&#x0012;X\x11\x12\x13" u"1\x14" u"0\x15"},
  };
  for (const Case& c : cases) {
    const Text converted = oldrecords::convertRecord(c.old);
    EXPECT_EQ(converted, c.converted) << c.what;
    EXPECT_TRUE(isValidRecord(converted)) << c.what;
  }
}

TEST(OldRecords, HeapOfOneRecordIsConvertedWhole) {
  const Text heap = oldrecords::convertHeap(Text(u"\x01T\x02title\x02\x02" u"9") + char16_t{0});
  const Text record = u"\x10T\x11title\x12\x13" u"9\x14" u"2\x15";
  ASSERT_GE(heap.size(), record.size() + 1);
  EXPECT_EQ(heap.substr(0, record.size() + 1), record + char16_t{0});
  EXPECT_EQ(heap.size() % oldrecords::HeapStep, 0u);
}

TEST(OldRecords, HeapRecordsGoBackToBackAndACurrentHeapStaysAsItIs) {
  Text old = u"\x01T\x02t\x01" u"A.TXT\x02\x02\x02" u"1\x01" u"B\x02" u"c";
  old += char16_t{0};
  old += u"spare";
  const Text heap = oldrecords::convertHeap(old);
  const Text records = u"\x10T\x11t\x12\x13\x14" u"2\x15"
                       u"\x10" u"A.TXT\x11\x12\x13" u"1\x14" u"0\x15"
                       u"\x10" u"B\x11" u"c\x12\x13\x14" u"2\x15";
  EXPECT_EQ(heap.substr(0, records.size() + 1), records + char16_t{0});
  EXPECT_EQ(heap.find_first_not_of(char16_t{0}, records.size()), Text::npos);

  Text current = u"\x10T\x11t";
  current += char16_t{0};
  current += u"x";
  EXPECT_EQ(oldrecords::convertHeap(current), current);
}

// --- Old files ----------------------------------------------------------------

// Title line (old title kind 13 = HD), a folder DOCS (old kind 10), a file
// READ.TXT with a comment and a date, and a picture row; the old record
// marker is code 1.
Text oldHeap() {
  Text heap = u"\x01MYDISC\x02ゲーム集\x02\x02" u"1,234";
  heap += u"\x01" u"DOCS\x02\x02\x02" u"1,200";
  heap += u"\x01READ.TXT\x02Read me\x02" u"01/02/03 04:05 \x02" u"1,200";
  heap += u"\x01PIC\x07PIC.JPG\x02\x02\x02" u"34\x02\x1F" u"001";
  heap += char16_t{0};
  heap += Text(3, char16_t{0});  // spare
  return heap;
}
const std::string OldKinds("\x0D\x0A\x06\x06\x00", 5);
const std::string OldLevels("\x00\x01\x02\x01\x00", 5);

std::string hex(std::size_t value, int width) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out(static_cast<std::size_t>(width), '0');
  for (int i = width - 1; i >= 0; --i, value /= 16) out[static_cast<std::size_t>(i)] = digits[value % 16];
  return out;
}

std::string axFile(const Text& heap, const std::string& trailer) {
  return "AX" + hex(OldKinds.size(), 4) + hex(OldLevels.size(), 4) + hex(heap.size(), 6) + "0----" +
         cp932::encode(heap) + OldKinds + OldLevels + trailer;
}
std::string ahFile(const Text& heap) {
  return "AH" + hex(heap.size(), 6) + hex(OldKinds.size(), 4) + hex(OldLevels.size(), 4) + "0----" +
         cp932::encode(heap) + OldKinds + OldLevels;
}
std::string untaggedFile(const Text& heap) {
  char header[32];
  std::snprintf(header, sizeof header, "%8zu%04zu%04zu", heap.size(), OldKinds.size(), OldLevels.size());
  return std::string(header) + "0----" + cp932::encode(heap) + OldKinds + OldLevels;
}

TEST(OldDataConversion, AhAndUntaggedHeadersBecomeAxHeaders) {
  const Text heap = oldHeap();
  const std::string body = cp932::encode(heap) + OldKinds + OldLevels;
  const std::string ax = "AX" + hex(5, 4) + hex(5, 4) + hex(heap.size(), 6) + "0----" + body;
  EXPECT_EQ(OldDataConversion::Update_AH_to_AX(ahFile(heap)), ax);
  EXPECT_EQ(OldDataConversion::Update_AH_to_AX(untaggedFile(heap)), ax);
  // Lower-case hexadecimal is read too.
  std::string lower = ahFile(heap);
  lower[7] = static_cast<char>(std::tolower(lower[7]));
  EXPECT_EQ(OldDataConversion::Update_AH_to_AX(lower).has_value(), true);

  struct Refused {
    const char* what;
    std::string bytes;
  };
  std::string cut = ahFile(heap);
  cut.resize(cut.size() - 3);
  const Refused refused[] = {
      {"a current file", "BX" + std::string(62, '0') + body},
      {"an AX file", ax},
      {"letters in a decimal field", "   12x4000500050----" + body},
      {"a blank inside the digits", "  1 234000500050----" + body},
      {"no digits at all", "        000500050----" + body},
      {"not hexadecimal", "AH00G0000005000500----" + body},
      {"blocks cut short", cut},
      {"shorter than a header", "AH0000"},
  };
  for (const Refused& r : refused) EXPECT_FALSE(OldDataConversion::Update_AH_to_AX(r.bytes)) << r.what;
}

TEST(OldDataConversion, GenerationsAreToldByTheHeader) {
  using G = OldDataConversion::Generation;
  const Text heap = oldHeap();
  EXPECT_EQ(OldDataConversion::generationOf("BX" + std::string(62, '0')), G::Current);
  EXPECT_EQ(OldDataConversion::generationOf(axFile(heap, "")), G::AX);
  EXPECT_EQ(OldDataConversion::generationOf(ahFile(heap)), G::AH);
  EXPECT_EQ(OldDataConversion::generationOf(untaggedFile(heap)), G::Untagged);
  EXPECT_EQ(OldDataConversion::generationOf("CX" + std::string(62, '0')), G::Other);
  EXPECT_EQ(OldDataConversion::generationOf("hello, this is a text file"), G::Other);
}

IconTable standardIcons() {
  IconTable table;
  table.BuildStandardTables();
  return table;
}

TEST(OldDataConversion, AxFileBecomesACurrentCatalog) {
  const IconTable icons = standardIcons();
  RowStore store;
  listfile::Header header;
  ASSERT_TRUE(OldDataConversion::convertAX(axFile(oldHeap(), "S" + std::string("      123456") + std::string(51, ' ')),
                                           icons, store, header));
  ASSERT_EQ(store.rowCount(), 4);
  EXPECT_EQ(store.record(0), u"\x10MYDISC\x11ゲーム集\x12\x13" u"1,234\x14" u"2\x15");
  EXPECT_EQ(store.record(2), u"\x10READ.TXT\x11Read me\x12" u"01/02/03 04:05\x13" u"1,200\x14" u"6\x15");
  EXPECT_EQ(store.record(3), u"\x10PIC\x11\x12\x13" u"34\x14" u"9\x15PIC.JPG\x16" u"001\x17");
  EXPECT_EQ(header.freeSpace, 123456);
  EXPECT_EQ(header.iconStamp, icons.stamp());
  // Old folder kinds move down; files take the kind of their extension
  // (PIC by its name on the medium).
  EXPECT_EQ(store.kind(0), catalog::KindTitleHD);
  EXPECT_EQ(store.kind(1), catalog::KindFolder);
  Text stamp;
  RowStore expectedKinds;
  expectedKinds.appendShown(catalog::buildRecord({u"READ.TXT"}), 0, 0, 6, 1);
  expectedKinds.appendShown(catalog::buildRecord({u"PIC", u"", u"", u"", u"1", u"PIC.JPG"}), 0, 0, 6, 1);
  ReDeriveKinds(expectedKinds, icons, stamp);
  EXPECT_EQ(store.kind(2), expectedKinds.kind(0));
  EXPECT_EQ(store.kind(3), expectedKinds.kind(1));
  EXPECT_NE(store.kind(2), catalog::KindFile);
  // Tree flags as a reading gives them: the title has a folder below it,
  // DOCS only a file (the file mark, no folder children); colours by level
  // for folders.
  EXPECT_TRUE(store.treeFlags(0) & catalog::TreeHasChildren);
  EXPECT_FALSE(store.treeFlags(1) & catalog::TreeHasChildren);
  EXPECT_TRUE(store.treeFlags(1) & catalog::TreeHasFiles);
  EXPECT_EQ(store.colour(1), catalog::colourIndexFor(catalog::KindFolder, 1));
  EXPECT_EQ(store.colour(2), 0);

  ASSERT_TRUE(OldDataConversion::convertAX(axFile(oldHeap(), ""), icons, store, header));
  EXPECT_EQ(header.freeSpace, 0);
}

TEST(OldDataConversion, AxFileWithACurrentHeapKeepsItsRecords) {
  Text heap = u"\x10T\x11title\x12\x13" u"9\x14" u"0\x15";
  heap += u"\x10" u"A.TXT\x11\x12\x13" u"1\x14" u"0";
  heap += char16_t{0};
  const std::string bytes = "AX" + hex(2, 4) + hex(2, 4) + hex(heap.size(), 6) + "0----" + cp932::encode(heap) +
                            std::string("\x0D\x06", 2) + std::string("\x00\x01", 2);
  RowStore store;
  listfile::Header header;
  ASSERT_TRUE(OldDataConversion::convertAX(bytes, standardIcons(), store, header));
  EXPECT_EQ(store.heap(), heap);
}

struct FolderFixture {
  test::TempFolder folder{"zevro-convert"};
  LinuxFileSystem files;
  FakeUi ui;
  Platform platform{files, ui};
  IconTable icons = standardIcons();
  NativePath catalogs = folder.path("Catalog");
  NativePath backup = folder.path("Backup");
  OldDataConversion conversion{{platform, catalogs, folder.root(), icons}};

  void put(const std::string& name, const std::string& bytes, FileTime time) {
    folder.put("Catalog/" + name, bytes);
    files.setModified(catalogs / name, time);
  }
  FileTime timeOf(const NativePath& path) { return files.stat(path)->modified; }
};

TEST(OldDataConversion, FolderConversionWritesBxKeepsOriginalsAndLeavesOthersAlone) {
  FolderFixture f;
  const Text heap = oldHeap();
  const std::string trailer = "S      654321" + std::string(51, ' ');
  const std::string bx = listfile::build(RowStore(), listfile::Header()).value();
  f.put("_01HD_AH.cct", ahFile(heap), Base);
  f.put("_02HD_UN.CCT", untaggedFile(heap), Base + 10 * Second);
  f.put("_03HD_AX.cct", axFile(heap, trailer), Base + 20 * Second);
  f.put("_04HD_BX.cct", bx, Base + 30 * Second);
  f.put("_05HD_ZZ.cct", "ZZ this is not a list file at all", Base + 40 * Second);
  f.put("notes.cct", ahFile(heap), Base + 50 * Second);

  EXPECT_TRUE(f.conversion.hasWork());
  std::vector<Text> shown;
  const OldDataConversion::Outcome outcome =
      f.conversion.Update_AX_to_BX([&](TextView name) { shown.emplace_back(name); });
  using G = OldDataConversion::Generation;
  ASSERT_EQ(outcome.converted.size(), 3u);
  EXPECT_TRUE(outcome.failed.empty());
  EXPECT_EQ(outcome.converted[0].name, u"_01HD_AH.cct");
  EXPECT_EQ(outcome.converted[0].from, G::AH);
  EXPECT_EQ(outcome.converted[1].from, G::Untagged);
  EXPECT_EQ(outcome.converted[2].name, u"_03HD_AX.cct");
  EXPECT_EQ(outcome.converted[2].from, G::AX);
  EXPECT_EQ(shown, (std::vector<Text>{u"_01HD_AH.cct", u"_02HD_UN.CCT", u"_03HD_AX.cct"}));

  // Each converted file is a whole current catalog with the old time + 1 s,
  // and its original is in Backup byte for byte.
  const struct {
    const char* name;
    std::string original;
    FileTime time;
  } done[] = {{"_01HD_AH.cct", ahFile(heap), Base},
              {"_02HD_UN.cct", untaggedFile(heap), Base + 10 * Second},
              {"_03HD_AX.cct", axFile(heap, trailer), Base + 20 * Second}};
  for (const auto& d : done) {
    const std::string bytes = f.folder.get(std::string("Catalog/") + d.name);
    ASSERT_EQ(bytes.substr(0, 2), "BX") << d.name;
    RowStore store;
    EXPECT_EQ(listfile::parse(bytes, store).status, listfile::ReadStatus::Ok) << d.name;
    EXPECT_EQ(store.rowCount(), 4);
    EXPECT_EQ(bytes.substr(30, 12), cp932::encode(f.icons.stamp()));
    EXPECT_EQ(f.timeOf(f.catalogs / d.name), d.time + Second) << d.name;
    EXPECT_EQ(f.folder.get(std::string("Backup/") + (d.name == std::string("_02HD_UN.cct") ? "_02HD_UN.CCT" : d.name)),
              d.original)
        << d.name;
  }
  EXPECT_FALSE(f.files.stat(f.catalogs / "_02HD_UN.CCT"));  // one file of the name
  EXPECT_EQ(f.folder.get("Catalog/_03HD_AX.cct").substr(42, 15), "         654321");
  EXPECT_EQ(f.folder.get("Catalog/_01HD_AH.cct").substr(42, 15), "              0");

  // Others untouched, bytes and time.
  EXPECT_EQ(f.folder.get("Catalog/_04HD_BX.cct"), bx);
  EXPECT_EQ(f.timeOf(f.catalogs / "_04HD_BX.cct"), Base + 30 * Second);
  EXPECT_EQ(f.folder.get("Catalog/_05HD_ZZ.cct"), "ZZ this is not a list file at all");
  EXPECT_EQ(f.folder.get("Catalog/notes.cct"), ahFile(heap));
  EXPECT_FALSE(f.conversion.hasWork());
}

TEST(OldDataConversion, DamagedFileIsReportedOnceAndLeftAsItIs) {
  FolderFixture f;
  std::string cut = axFile(oldHeap(), "");
  cut.resize(30);
  f.put("_01CD_CUT.cct", cut, Base);
  const OldDataConversion::Outcome first = f.conversion.Update_AX_to_BX();
  ASSERT_EQ(first.failed.size(), 1u);
  EXPECT_EQ(first.failed[0].name, u"_01CD_CUT.cct");
  EXPECT_EQ(first.failed[0].text, OldDataConversion::DamagedText);
  EXPECT_EQ(f.folder.get("Catalog/_01CD_CUT.cct"), cut);
  EXPECT_EQ(f.timeOf(f.catalogs / "_01CD_CUT.cct"), Base);
  EXPECT_FALSE(f.files.stat(f.backup));
  // Tried once this run: not again.
  EXPECT_FALSE(f.conversion.hasWork());
  const OldDataConversion::Outcome second = f.conversion.Update_AX_to_BX();
  EXPECT_TRUE(second.failed.empty());
  EXPECT_TRUE(second.converted.empty());
}

}  // namespace
}  // namespace zevro
