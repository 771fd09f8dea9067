#include "core/Placement.h"

#include <gtest/gtest.h>

#include "GeometryPrinting.h"

#include <cstdint>
#include <ostream>
#include <vector>

namespace zevro {

namespace {

const Rect Screen{0, 0, 1920, 1080};
const Rect Window{5, 5, 400, 300};

struct Case {
  const char* behaviour;
  Rect owner;
  int mode;
  bool maximized;
  Rect expected;
};

void check(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.behaviour);
    const Placement p = placeBesideOwner(Window, c.owner, Screen, c.mode, c.maximized);
    EXPECT_EQ(p.rect, c.expected);
    EXPECT_EQ(p.keepOnTop, c.maximized);
  }
}

TEST(PlacementTest, ModeOneCentresOnOwner) {
  check({
      {"centred", {100, 100, 800, 600}, 1, false, {300, 250, 400, 300}},
      {"owner above the screen counts from 0", {-8, -8, 1936, 1096}, 1, true, {760, 398, 400, 300}},
  });
}

TEST(PlacementTest, ModeZeroTriesBelowAboveRightThenTop) {
  check({
      {"below, left edges aligned", {100, 100, 800, 600}, 0, false, {100, 700, 400, 300}},
      {"below when it just fits", {100, 100, 800, 680}, 0, false, {100, 780, 400, 300}},
      {"above when below does not fit", {100, 500, 800, 400}, 0, false, {100, 200, 400, 300}},
      {"right at owner top", {100, 200, 800, 800}, 0, false, {900, 200, 400, 300}},
      {"screen top at owner left", {1000, 200, 800, 800}, 0, false, {1000, 0, 400, 300}},
      {"owner above the screen counts from 0", {100, -50, 800, 400}, 0, false, {100, 400, 400, 300}},
      {"negative mode acts as 0", {100, 100, 800, 600}, -1, false, {100, 700, 400, 300}},
      {"kept on top over a maximized owner", {0, 0, 1920, 1080}, 0, true, {0, 0, 400, 300}},
  });
}

TEST(PlacementTest, ModeTwoAndMoreTriesRightLeftBelowThenNarrows) {
  check({
      {"right with the mode's width", {100, 100, 800, 600}, 500, false, {900, 100, 500, 300}},
      {"left when right does not fit", {1200, 100, 600, 600}, 500, false, {700, 100, 500, 300}},
      {"below when neither side fits", {300, 100, 1400, 600}, 500, false, {300, 700, 500, 300}},
      {"narrowed to the wider left room", {300, 100, 1400, 900}, 500, false, {0, 100, 300, 300}},
      {"narrowed to the wider right room", {200, 100, 1400, 900}, 500, false, {1600, 100, 320, 300}},
      {"mode 2 is a width too", {100, 100, 800, 600}, 2, false, {900, 100, 2, 300}},
      {"maximized owner keeps the window's width", {0, 0, 1000, 1080}, 500, true, {1000, 0, 400, 300}},
      {"no room at all overlaps at the right edge", {0, 0, 1920, 1080}, 500, true, {1520, 0, 400, 300}},
  });
}

TEST(PlacementTest, KeptOnScreenMovesTheWindowInsideWithoutResizingIt) {
  const Rect screen{0, 40, 1920, 1040};
  EXPECT_EQ(keptOnScreen({100, 100, 400, 300}, screen), (Rect{100, 100, 400, 300}));
  EXPECT_EQ(keptOnScreen({1800, -20, 400, 300}, screen), (Rect{1520, 40, 400, 300}));
  EXPECT_EQ(keptOnScreen({-50, 900, 400, 300}, screen), (Rect{0, 780, 400, 300}));
  EXPECT_EQ(keptOnScreen({300, 300, 2400, 1200}, screen), (Rect{0, 40, 2400, 1200}));  // larger: top left first
}

TEST(PlacementTest, ScreenColoursCapsBitsAt24) {
  struct ColourCase {
    int bits, planes;
    std::int64_t expected;
  };
  const std::vector<ColourCase> cases = {
      {1, 1, 2}, {8, 1, 256}, {4, 4, 64}, {24, 1, 16'777'216}, {32, 1, 16'777'216}, {32, 200, 3'355'443'200},
  };
  for (const ColourCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.bits << " bits, " << c.planes << " planes");
    EXPECT_EQ(screenColours(c.bits, c.planes), c.expected);
  }
}

}  // namespace
}  // namespace zevro
