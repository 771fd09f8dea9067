#include "media/DriveInfo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "MediaFixture.h"

namespace zevro {
namespace {

namespace fs = std::filesystem;

constexpr FileTime Second = 1'000'000'000;

class DriveInfoTest : public test::MediaFixture {};

TEST_F(DriveInfoTest, KindFollowsTheStoredType) {
  struct Row {
    int stored;
    int type;
    const char16_t* kind;
  } rows[] = {
      {drivetype::Unknown, 0, u"HD"}, {drivetype::NoRoot, 1, u"HD"},   {drivetype::Removable, 2, u"FD"},
      {drivetype::Fixed, 3, u"HD"},   {drivetype::Network, 4, u"HD"},  {drivetype::CdRom, 5, u"CD"},
      {drivetype::RamDisk, 6, u"HD"}, {drivetype::Changing, 2, u"FD"},  // a changing drive counts as removable
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.stored);
    types.setStored('K', row.stored);
    EXPECT_EQ(info.DriveType(u"K:"), row.type);
    EXPECT_EQ(info.DriveType(u"k:\\DOCS"), row.type);
    EXPECT_EQ(info.DriveKind(u"K:\\"), row.kind);
  }
  EXPECT_EQ(info.DriveType(u""), drivetype::Unknown);
  EXPECT_EQ(info.DriveType(u"\\\\server"), drivetype::Unknown);
}

TEST_F(DriveInfoTest, MediumKindNumberOfACatalogName) {
  struct Row {
    const char16_t* name;
    int number;
  } rows[] = {
      {u"_03CD_GAMES.CCT", 1},
      {u"_03fd_My Disk.cct", 2},
      {u"_00HD_WORK SOFT&TOOLS.CCT", 3},
      {u"/home/kaori/CatList/_03CD_X.cct", 1},
      {u"C:\\CAT\\_03FD_X.CCT", 2},
      {u"/cd/_03HD_X.cct", 3},  // the folder's "cd" does not count
      {u"X", 3},
      {u"", 3},
  };
  for (const Row& row : rows) EXPECT_EQ(DriveInfo::MediumKindNumber(row.name), row.number) << toUtf8(row.name);
}

TEST_F(DriveInfoTest, ChangingDriveKeepsItsMarkForGood) {
  const NativePath program = path("program");
  fs::create_directories(program);
  addDrive('E', drivetype::Fixed, u"EXT");
  addDrive('D', drivetype::CdRom, u"GAMES");
  ASSERT_FALSE(info.LoadDriveTypes(program));
  EXPECT_EQ(info.DriveKind(u"E:"), u"HD");
  EXPECT_EQ(titles.title('D'), u"GAMES");

  // Next start: the external disk is not there.
  drives.remove('E');
  DriveTypeTable nextTypes;
  TitleCache nextTitles;
  DriveInfo next(drives, files, nextTypes, nextTitles);
  ASSERT_FALSE(next.LoadDriveTypes(program));
  EXPECT_EQ(nextTypes.stored('E'), drivetype::Changing);
  EXPECT_EQ(next.DriveType(u"E:"), drivetype::Removable);
  EXPECT_EQ(next.DriveKind(u"E:"), u"FD");

  // It comes back as a fixed disk, the CD drive goes: only the CD drive changes.
  addDrive('E', drivetype::Fixed, u"EXT");
  drives.remove('D');
  next.RefreshDriveTypes();
  EXPECT_EQ(nextTypes.stored('E'), drivetype::Changing);
  EXPECT_EQ(next.DriveKind(u"E:"), u"FD");
  EXPECT_EQ(next.DriveType(u"D:"), drivetype::NoRoot);
  EXPECT_EQ(get("program/CATTYP.DAT").size(), 26u);
}

TEST_F(DriveInfoTest, SyntheticLabelFromTheRootFolders) {
  // 2001-02-03 04:05:06 in the catalogs' zone (nine hours ahead of UTC).
  const FileTime stamp = (981173106 - 9 * 3600) * Second;
  const Text longName(150, u'L');
  struct Row {
    const char* what;
    std::vector<std::string> folders;
    std::vector<std::string> files;
    Text label;
  } rows[] = {
      {"several folders joined in listing order", {"SETUP", "DATA", ".hidden"}, {"README.TXT"}, u"DATASETUP"},
      {"one folder with its date stamp", {"DATA", ".git"}, {"A.TXT"}, u"DATA_010203040506"},
      {"files only", {}, {"A.TXT"}, u""},
      {"cut to 220 characters",
       {"A" + std::string(150, 'L'), "B" + std::string(150, 'L')},
       {},
       (u"A" + longName + u"B" + longName).substr(0, 220)},
      {"names as catalog text", {"表示", "ソフト"}, {}, u"ソフト表示"},
  };
  char letter = 'D';
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const NativePath root = addDrive(letter, drivetype::CdRom, u"");
    for (const std::string& name : row.folders) {
      fs::create_directories(root / name);
      ASSERT_FALSE(realFiles.setModified(root / name, stamp));
    }
    for (const std::string& name : row.files) put(root.filename().string() + "/" + name, "x");
    EXPECT_EQ(info.SyntheticLabel(Text{static_cast<char16_t>(letter), u':'}), row.label);
    ++letter;
  }
  addEmptyDrive('Q', drivetype::CdRom);
  EXPECT_EQ(info.SyntheticLabel(u"Q:"), u"");
  EXPECT_EQ(info.SyntheticLabel(u"R:"), u"");
}

TEST_F(DriveInfoTest, SyntheticLabelDateStampInTheMachineZone) {
  const char* oldTz = std::getenv("TZ");
  const std::string saved = oldTz ? oldTz : "";
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  DriveInfo machine(drives, files, types, titles, ListTime::Zone::Machine);
  const NativePath root = addDrive('D', drivetype::CdRom, u"");
  fs::create_directories(root / "DATA");
  ASSERT_FALSE(realFiles.setModified(root / "DATA", 981173106 * Second + 500'000'000));
  EXPECT_EQ(machine.SyntheticLabel(u"D:"), u"DATA_010203040506");
  EXPECT_EQ(info.SyntheticLabel(u"D:"), u"DATA_010203130506");  // the catalogs' own zone
  if (oldTz) {
    ::setenv("TZ", saved.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

TEST_F(DriveInfoTest, AudioCdIdentity) {
  struct Row {
    std::uint32_t serial;
    bool hasSerial;
    const char16_t* identity;
  } rows[] = {
      {0x1A2B3C4Du, true, u"CDA1A2B3C4D"}, {0x00ABCDEFu, true, u"CDAABCDEF"},  // leading zeros dropped
      {0xFFFFFFFFu, true, u"CDAFFFFFFFF"},  // a negative serial as its two's complement
      {0x80000000u, true, u"CDA80000000"}, {0u, true, u"CDA0"},
      {0x1234u, false, u"Audio CD"},  // no serial to be had
  };
  for (const Row& row : rows) {
    addDrive('D', drivetype::CdRom, u"Audio CD", row.serial, row.hasSerial);
    EXPECT_EQ(info.AudioCdIdentity(u"D:"), row.identity);
  }
  addEmptyDrive('E', drivetype::CdRom);
  EXPECT_EQ(info.AudioCdIdentity(u"E:"), u"Audio CD");
}

TEST_F(DriveInfoTest, LabelCapacityAndMedium) {
  addDrive('D', drivetype::CdRom, u"GAMES");
  addDrive('E', drivetype::Removable, u"STICK");
  drives.set('F', {drivetype::Removable, path("drive-F"), u"ZIP", 0, false, DriveSpace{0, 0}, true});
  types.setStored('F', drivetype::Removable);
  addEmptyDrive('G', drivetype::CdRom);
  struct Row {
    const char16_t* drive;
    const char16_t* label;
    std::uint64_t total, free;
    bool medium;
  } rows[] = {
      {u"D:\\", u"GAMES", 1'000'000, 400'000, true},
      {u"e:", u"STICK", 1'000'000, 400'000, true},
      {u"F:", u"ZIP", 0, 0, false},  // a removable drive of capacity 0 holds nothing
      {u"G:", u"", 0, 0, false},     // the empty CD drive
      {u"Q:", u"", 0, 0, false},     // no such drive
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(toUtf8(row.drive));
    EXPECT_EQ(info.VolumeLabel(row.drive), row.label);
    EXPECT_EQ(info.Capacity(row.drive).total, row.total);
    EXPECT_EQ(info.Capacity(row.drive).free, row.free);
    EXPECT_EQ(info.hasMedium(row.drive), row.medium);
  }
}

}  // namespace
}  // namespace zevro
