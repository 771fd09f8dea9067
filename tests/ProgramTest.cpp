#include "media/Program.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>

#include "StripBitmap.h"
#include "TempFolder.h"
#include "core/OptionKeys.h"
#include "platform/FakeDrives.h"
#include "platform/FakeUi.h"
#include "platform/LinuxFileSystem.h"

namespace zevro {
namespace {

// Both front ends take list times, dated labels and the icon-table stamp
// from the one clock the option LocalListTime (or --local-time) chooses.
TEST(ProgramTest, EveryServiceFollowsTheListTimeClockOfTheOptions) {
  ::setenv("TZ", "UTC", 1);  // the machine's clock then differs from the catalogs' nine hours
  ::tzset();
  struct Row {
    const char* name;
    bool option;
    bool machineTimeForThisRun;
    ListTime::Zone zone;
  } rows[] = {
      {"default", false, false, ListTime::Zone::Japan},
      {"option LocalListTime", true, false, ListTime::Zone::Machine},
      {"this run only", false, true, ListTime::Zone::Machine},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    test::TempFolder temp("zevro-program");
    const NativePath folder = temp.root();
    LinuxFileSystem disk;
    FakeUi ui;
    Platform platform{disk, ui};
    FakeDrives drives;

    IconTable written;
    written.BuildStandardTables();
    ASSERT_FALSE(written.SaveIcons(disk, folder));
    const auto stampIn = [&](IconTable::Clock clock) {
      IconTable t;
      t.BuildStandardTables();
      t.loadUserTable(disk, folder, clock);
      return t.stamp();
    };
    const Text machine = stampIn(IconTable::Clock::MachineTime);
    const Text japan = stampIn(IconTable::Clock::JapanTime);
    ASSERT_NE(machine, japan);

    {
      OptionStore options(disk, optionFilePath(folder));
      ASSERT_FALSE(options.load());
      options.writeBoolean(opt::LocalListTime, r.option);
      // The table is the user's only together with its picture.
      temp.put("MarkIcon.BMP", test::stripBitmap(46));
      options.writePath(opt::MarkIconFile, folder / "MarkIcon.BMP");
      ASSERT_FALSE(options.save());
    }
    Program program(platform, folder, &drives);
    ASSERT_FALSE(program.loadOptions());
    if (r.machineTimeForThisRun) program.useMachineTime();
    EXPECT_EQ(program.listTimeZone(), r.zone);
    EXPECT_EQ(program.icons().stamp(), r.zone == ListTime::Zone::Machine ? machine : japan);
    EXPECT_TRUE(program.settleCatalogFolder());
    EXPECT_EQ(program.catalogFolder(), folder / "Catalog");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Catalog"));
  }
}

// The labels of the media present win over the titles the last run left.
TEST(ProgramTest, TheTitleCacheIsLoadedBeforeThePresentLabelsAreTaken) {
  test::TempFolder temp("zevro-program");
  const NativePath folder = temp.root();
  LinuxFileSystem disk;
  FakeUi ui;
  Platform platform{disk, ui};
  FakeDrives drives;
  drives.set('K', {drivetype::CdRom, folder, u"NEW", 1, true, {}, true});
  TitleCache old;
  old.setTitle('K', u"OLD");
  old.setTitle('Q', u"GONE BUT KEPT");
  ASSERT_FALSE(old.write(disk, folder));

  Program program(platform, folder, &drives);
  ASSERT_FALSE(program.loadOptions());
  program.driveInfo();
  EXPECT_EQ(program.titles().title('K'), u"NEW");
  EXPECT_EQ(program.titles().title('Q'), u"GONE BUT KEPT");
}

// A second desktop program on the same program folder is refused until the
// first one ends; another folder is no concern of it.
TEST(ProgramTest, OneDesktopProgramAProgramFolder) {
  test::TempFolder temp("zevro-program");
  LinuxFileSystem disk;
  FakeUi ui;
  Platform platform{disk, ui};
  FakeDrives drives;
  std::filesystem::create_directories(temp.root() / "a");
  std::filesystem::create_directories(temp.root() / "b");
  auto first = std::make_unique<Program>(platform, temp.root() / "a", &drives);
  ASSERT_TRUE(first->claimInstance());
  Program second(platform, temp.root() / "a", &drives);
  EXPECT_FALSE(second.claimInstance());
  EXPECT_NE(second.alreadyRunningText().find(fromUtf8((temp.root() / "a").native())), Text::npos);
  Program elsewhere(platform, temp.root() / "b", &drives);
  EXPECT_TRUE(elsewhere.claimInstance());
  first.reset();  // the first program ends
  EXPECT_TRUE(second.claimInstance());
}

}  // namespace
}  // namespace zevro
