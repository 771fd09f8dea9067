#include "media/MediumFiles.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "media/CommentSource.h"
#include "platform/LinuxFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

// A folder of names that differ only in case, with "&", a control byte and
// characters beyond ASCII, looked up as the comment generator and the index
// readers do. Every lookup is asked in three rounds, so that the first ones
// go through the folder's bytes and later ones through its index: the
// answers are the same.
class MediumFilesTest : public ::testing::Test, protected test::TempFolder {
protected:
  MediumFilesTest() : TempFolder("zevro-medium-files") {
    for (const char* name : {"README.TXT", "Readme.txt", "SetData.ini", "a&b.txt", "up2.BAT", "update.bat",
                             "日本.txt", "x\x01y.txt", "zz&#x0041;.txt"})
      put(std::string("F/") + name, "x");
    std::filesystem::create_directories(path("F/Sub"));
    medium.setRoot(u"E:", root());
  }

  LinuxFileSystem files;
  MediumFiles medium{files};
};

struct Lookup {
  const char16_t* path;
  std::optional<std::string> native;  // the name on the medium; none: not there
};

TEST_F(MediumFilesTest, NamesAreFoundIgnoringAsciiCaseTheExactSpellingFirst) {
  const Lookup lookups[] = {
      {u"E:\\F\\readme.txt", "README.TXT"},  // no exact spelling: the first in byte order
      {u"E:\\F\\Readme.txt", "Readme.txt"},
      {u"E:\\F\\README.TXT", "README.TXT"},
      {u"E:\\F\\setdata.INI", "SetData.ini"},
      {u"E:\\F\\A&B.TXT", "a&b.txt"},
      {u"E:\\F\\UPDATE.BAT", "update.bat"},
      {u"E:\\F\\日本.TXT", "日本.txt"},
      {u"E:\\F\\xy.txt", std::nullopt},
      {u"E:\\F\\x.y.txt", std::nullopt},
      {u"E:\\F\\readme.tx", std::nullopt},
      {u"E:\\F\\sub", "Sub"},
      {u"E:\\F\\setup.lst", std::nullopt},
  };
  for (int round = 0; round < 3; ++round) {
    for (const Lookup& l : lookups) {
      SCOPED_TRACE(toUtf8(l.path) + " round " + std::to_string(round));
      const std::optional<NativePath> found = medium.nativeOf(l.path);
      ASSERT_EQ(found.has_value(), l.native.has_value());
      if (found) {
        EXPECT_EQ(found->filename().native(), *l.native);
      }
    }
  }
  EXPECT_TRUE(medium.isFile(u"E:\\F\\readme.TXT"));
  EXPECT_TRUE(medium.isFolder(u"E:\\F\\SUB"));
  const Text control = cp932::fromNativeName("x\x01y.txt");
  EXPECT_TRUE(medium.isFile(u"E:\\F\\" + control));
}

TEST_F(MediumFilesTest, PatternsFindTheFirstNameIgnoringCase) {
  const Text control = cp932::fromNativeName("x\x01y.txt");
  const struct {
    Text pattern;
    std::optional<Text> found;
  } cases[] = {
      {u"E:\\F\\UP*.BAT", Text(u"E:\\F\\up2.BAT")},  // "up2" before "update" ignoring case
      {u"E:\\F\\*.TXT", Text(u"E:\\F\\a&b.txt")},
      {u"E:\\F\\READ*", Text(u"E:\\F\\README.TXT")},
      {u"E:\\F\\日*", Text(u"E:\\F\\日本.txt")},
      {u"E:\\F\\X*", u"E:\\F\\" + control},  // a control byte reads as an escape
      {u"E:\\F\\" + cp932::fromNativeName("zz&#x0041;") + u"*", u"E:\\F\\" + cp932::fromNativeName("zz&#x0041;.txt")},
      {u"E:\\F\\*.DRV", std::nullopt},
      {u"E:\\F\\SETDATA.INI.*", Text(u"E:\\F\\SetData.ini")},  // "NAME.*" takes "NAME" too
      {u"E:\\F\\SETDATA.IN.*", std::nullopt},
      {u"E:\\F\\SetData.*", Text(u"E:\\F\\SetData.ini")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(toUtf8(c.pattern));
    EXPECT_EQ(medium.firstFile(c.pattern), c.found);
  }
  EXPECT_EQ(medium.firstFolder(u"E:\\F\\S*"), Text(u"E:\\F\\Sub"));
}

TEST_F(MediumFilesTest, AListingTheWalkHandsOverIsUsedAsListed) {
  // Names the walk saw; the medium holds other files by now.
  const std::vector<FolderEntry> entries = {
      {u"Manual.PDF", "Manual.PDF", false}, {u"MANUAL.pdf", "MANUAL.pdf", false}, {u"Old", "Old", true}};
  medium.learn(root() / "F", entries);
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE(round);
    EXPECT_TRUE(medium.isFile(u"E:\\F\\manual.pdf"));
    EXPECT_EQ(medium.nativeOf(u"E:\\F\\manual.pdf")->filename().native(), "Manual.PDF");  // the first handed over
    EXPECT_EQ(medium.nativeOf(u"E:\\F\\MANUAL.pdf")->filename().native(), "MANUAL.pdf");
    EXPECT_TRUE(medium.isFolder(u"E:\\F\\old"));
    EXPECT_FALSE(medium.exists(u"E:\\F\\README.TXT"));
  }
}

}  // namespace
}  // namespace zevro
