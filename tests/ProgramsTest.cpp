#include "platform/Programs.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "TempFolder.h"

namespace zevro::test {
namespace {

class ProgramsTest : public ::testing::Test, protected TempFolder {
protected:
  ProgramsTest() : TempFolder("zevro-programs") {
    if (const char* old = ::getenv("PATH")) oldPath_ = old;
    put("bin/player", "#!/bin/sh\nprintf '%s|' \"$@\" > \"$(dirname \"$0\")/../played\"\n");
    std::filesystem::permissions(path("bin/player"), std::filesystem::perms::owner_all);
    put("bin/notes.txt", "not a program");
    ::setenv("PATH", (path("bin").native() + ":/bin:/usr/bin").c_str(), 1);
  }
  ~ProgramsTest() override { ::setenv("PATH", oldPath_.c_str(), 1); }

  std::string oldPath_;
  LinuxPrograms programs;
};

TEST_F(ProgramsTest, FindsExecutablesOnThePathOnly) {
  EXPECT_EQ(programs.find("player"), path("bin/player"));
  EXPECT_FALSE(programs.find("notes.txt")) << "not executable";
  EXPECT_FALSE(programs.find("no-such-player"));
  EXPECT_FALSE(programs.find("bin/player")) << "a name, not a path";
}

TEST_F(ProgramsTest, StartsWithEachArgumentAsItIs) {
  // A file name that a shell would take apart stays one argument.
  const std::string name = "a b;$(touch x)'\".mpg";
  ASSERT_TRUE(programs.start(path("bin/player"), {name, "second"}));
  // The program runs on its own; wait for what it writes.
  for (int i = 0; i < 500 && get("played").empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(get("played"), name + "|second|");
  EXPECT_FALSE(programs.start(path("bin/missing"), {}));
}

}  // namespace
}  // namespace zevro::test
