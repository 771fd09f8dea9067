#include "viewers/LiveFormLogic.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TempFolder.h"
#include "core/OptionKeys.h"
#include "platform/FakeUi.h"
#include "platform/FaultyFileSystem.h"
#include "text/Cp932.h"

namespace zevro {
namespace {

struct DocFixture {
  test::TempFolder folder{"zevro-live"};
  LinuxFileSystem real;
  FaultyFileSystem files{real};
  FakeUi ui;
};

TEST(LiveFormText, LongFileGivesItsFirstBytesWithoutACutCharacter) {
  DocFixture f;
  // "表" is 0x95 0x5C in CP932: with one ASCII byte in front, the 16,384th
  // byte is the lead byte of a character the cut splits.
  const std::string kanji = cp932::encode(u"表");
  std::string bytes = "A";
  while (bytes.size() < 20000) bytes += kanji;
  f.folder.put("long.txt", bytes);
  const DocLoad load = loadDocText(f.files, f.folder.path("long.txt"));
  ASSERT_EQ(load.outcome, DocLoad::Outcome::Shown);
  // 1 + 2 * 8191 = 16,383 bytes survive; the lone lead byte is dropped.
  EXPECT_EQ(load.text, u"A" + Text(8191, u'表'));

  std::string even;
  while (even.size() < 20000) even += kanji;
  f.folder.put("even.txt", even);
  EXPECT_EQ(loadDocText(f.files, f.folder.path("even.txt")).text, Text(8192, u'表'));
}

TEST(LiveFormText, Cases) {
  struct Case {
    const char* what;
    std::string bytes;  // empty name: no file is made
    DocLoad::Outcome outcome;
    Text text;
  };
  const Case cases[] = {
      {"short CP932", cp932::encode(u"読んで\r\n"), DocLoad::Outcome::Shown, u"読んで\r\n"},
      {"code 17 empties", std::string("abc\x11") + "def", DocLoad::Outcome::Shown, u""},
      {"empty file", "", DocLoad::Outcome::Shown, u""},
      {"exactly 16384 ASCII", std::string(16384, 'x'), DocLoad::Outcome::Shown, Text(16384, u'x')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    DocFixture f;
    f.folder.put("t.txt", c.bytes);
    const DocLoad load = loadDocText(f.files, f.folder.path("t.txt"));
    EXPECT_EQ(load.outcome, c.outcome);
    EXPECT_EQ(load.text, c.text);
  }
}

TEST(LiveFormText, MissingEmptyAndNonRegularPathsCountAsMissing) {
  DocFixture f;
  ASSERT_EQ(::mkfifo(f.folder.path("pipe").c_str(), 0600), 0);
  std::filesystem::create_symlink(f.folder.path("pipe"), f.folder.path("link-to-pipe"));
  std::filesystem::create_directories(f.folder.path("dir"));
  for (const NativePath& p : {NativePath(), f.folder.path("none.txt"), f.folder.path("pipe"),
                              f.folder.path("link-to-pipe"), f.folder.path("dir")}) {
    SCOPED_TRACE(p.native());
    const DocLoad load = loadDocTextTold(f.files, f.ui, p);
    EXPECT_EQ(load.outcome, DocLoad::Outcome::Missing);
    EXPECT_TRUE(load.text.empty());
  }
  EXPECT_TRUE(f.ui.messages().empty());
}

TEST(LiveFormText, ReadErrorIsToldThroughTheUi) {
  DocFixture f;
  f.folder.put("bad.txt", "text");
  f.files.fail(FaultyFileSystem::Op::Read, EIO, f.folder.path("bad.txt"));
  const DocLoad load = loadDocTextTold(f.files, f.ui, f.folder.path("bad.txt"));
  EXPECT_EQ(load.outcome, DocLoad::Outcome::Failed);
  EXPECT_EQ(load.error.code, EIO);
  ASSERT_EQ(f.ui.messages().size(), 1u);
  EXPECT_EQ(f.ui.messages()[0], fromUtf8(load.error.text));
  EXPECT_FALSE(f.ui.messages()[0].empty());
}

TEST(LiveFormCaption, NaturalSizeIsReadFromTheLastParenthesis) {
  struct Case {
    TextView caption;
    std::optional<std::pair<int, int>> size;
  };
  const Case cases[] = {
      {u"photo.jpg (640x480)", std::pair{640, 480}},
      {u"photo (2).jpg (640x480)", std::pair{640, 480}},
      {u"box x(1).jpg (32x16)", std::pair{32, 16}},
      {u"写真(古).gif (1x1)", std::pair{1, 1}},
      {u"photo.jpg", std::nullopt},
      {u"photo.jpg (640)", std::nullopt},
      {u"photo.jpg (x480)", std::nullopt},
      {u"", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.caption));
    EXPECT_EQ(captionPictureSize(c.caption), c.size);
  }
}

TEST(LiveFormKeys, RoutesOfKeys) {
  using R = LiveFormLogic::KeyRoute;
  EXPECT_EQ(LiveFormLogic::route(u'='), R::Natural);
  EXPECT_EQ(LiveFormLogic::route(u'+'), R::ZoomIn);
  EXPECT_EQ(LiveFormLogic::route(LiveFormLogic::KeyPadPlus), R::ZoomIn);
  EXPECT_EQ(LiveFormLogic::route(u'-'), R::ZoomOut);
  EXPECT_EQ(LiveFormLogic::route(LiveFormLogic::KeyPadMinus), R::ZoomOut);
  EXPECT_EQ(LiveFormLogic::route(146), R::Stay);
  EXPECT_EQ(LiveFormLogic::route(LiveFormLogic::KeyUp), R::MainUp);
  EXPECT_EQ(LiveFormLogic::route(LiveFormLogic::KeyDown), R::MainDown);
  EXPECT_EQ(LiveFormLogic::route(u'a'), R::Main);
}

TEST(LiveFormZoom, PlusStopsAtTwoPointTwoAndMinusAtPointTwo) {
  using R = LiveFormLogic::KeyRoute;
  const Size2 frame{10, 30};
  LiveFormLogic up;
  std::vector<int> steps;
  for (int i = 0; i < 10; ++i) {
    if (up.zoom(R::ZoomIn, u"p.jpg (100x50)", 100, frame)) steps.push_back(up.zoomTenths());
  }
  EXPECT_EQ(steps, (std::vector<int>{12, 14, 16, 18, 20, 22}));
  EXPECT_FALSE(up.zoom(R::ZoomIn, u"p.jpg (100x50)", 220, frame));
  EXPECT_EQ(up.zoomTenths(), 22);

  LiveFormLogic down;
  steps.clear();
  for (int i = 0; i < 10; ++i) {
    if (down.zoom(R::ZoomOut, u"p.jpg (100x50)", 100, frame)) steps.push_back(down.zoomTenths());
  }
  EXPECT_EQ(steps, (std::vector<int>{8, 6, 4, 2}));
  EXPECT_EQ(down.zoomTenths(), 2);
}

TEST(LiveFormZoom, WindowIsNaturalSizeTimesFactorPlusFrame) {
  using R = LiveFormLogic::KeyRoute;
  struct Case {
    int tpp;
    TextView caption;
    int imageWidth;  // the image's width when the factor is not yet known
    R key;
    int tenths;
    Size2 window;
    std::optional<Size2> image;
  };
  const Case cases[] = {
      // 778 px * 15 twips > 1680: the window stretches the image itself.
      {15, u"photo.jpg (640x480)", 640, R::ZoomIn, 12, {768 + 10, 576 + 30}, std::nullopt},
      {15, u"photo.jpg (640x480)", 640, R::ZoomOut, 8, {512 + 10, 384 + 30}, std::nullopt},
      // 50 * 1.2 + 10 = 70 px = 1050 twips: no stretching, the image is sized.
      {15, u"icon (1).ico (50x40)", 50, R::ZoomIn, 12, {70, 78}, Size2{60, 48}},
      // 100 px * 1.2 + 10 = 130 px = 1950 twips at 15, 1560 at 12.
      {15, u"s.gif (100x100)", 100, R::ZoomIn, 12, {130, 150}, std::nullopt},
      {12, u"s.gif (100x100)", 100, R::ZoomIn, 12, {130, 150}, Size2{120, 120}},
      // The factor is first taken from the image's shown width: 200 / 100 = 2.0.
      {15, u"s.gif (100x100)", 200, R::ZoomIn, 22, {230, 250}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(toUtf8(c.caption));
    LiveFormLogic logic(c.tpp);
    const std::optional<LiveFormLogic::Zoom> z = logic.zoom(c.key, c.caption, c.imageWidth, {10, 30});
    ASSERT_TRUE(z);
    EXPECT_EQ(logic.zoomTenths(), c.tenths);
    EXPECT_EQ(z->window, c.window);
    EXPECT_EQ(z->image, c.image);
  }
  LiveFormLogic none;
  EXPECT_FALSE(none.zoom(R::ZoomIn, u"readme.txt", 100, {10, 30}));
  EXPECT_EQ(LiveFormLogic::naturalWindow({640, 480}, {10, 30}), (Size2{650, 510}));
}

struct ResizeFixture {
  test::TempFolder folder{"zevro-live-resize"};
  LinuxFileSystem files;
  OptionStore options{files, folder.path("ZEVRO32.Opt")};
};

TEST(LiveFormResize, FixedFrameStoresTheWindowSize) {
  ResizeFixture f;
  f.options.writeNumber(opt::PicViewWidth, 7200);
  f.options.writeNumber(opt::PicViewHeight, 7200);
  LiveFormLogic logic(15);
  const LiveFormLogic::Resize r = logic.resized({500, 400}, {490, 370}, true, f.options, u"p.jpg (64x48)", 64);
  EXPECT_EQ(f.options.readNumber(opt::PicViewWidth, 0), 7500);
  EXPECT_EQ(f.options.readNumber(opt::PicViewHeight, 0), 6000);
  EXPECT_EQ(r.textBox, (Size2{482, 366}));
  EXPECT_FALSE(r.stretch);
  // The frame is kept as it is when the size did not change.
  logic.resized({500, 400}, {490, 370}, true, f.options, u"p.jpg (64x48)", 64);
  EXPECT_EQ(f.options.readNumber(opt::PicViewWidth, 0), 7500);
}

TEST(LiveFormResize, StretchOnlyAbove1680TwipsAndTheFactorFollows) {
  ResizeFixture f;
  struct Case {
    int windowWidth;
    int clientWidth;
    TextView caption;
    int imageWidth;
    bool stretch;
    int tenths;
  };
  const Case cases[] = {
      {112, 102, u"p.jpg (50x50)", 50, false, 10},  // 1680 twips: not wider
      {113, 103, u"p.jpg (50x50)", 50, true, 21},   // 103 / 50 = 2.06
      {600, 590, u"p.jpg (295x100)", 295, true, 20},
      {600, 590, u"notes.txt", 50, true, 10},  // no size: factor 1
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.windowWidth);
    LiveFormLogic logic(15);
    const LiveFormLogic::Resize r =
        logic.resized({c.windowWidth, 300}, {c.clientWidth, 270}, false, f.options, c.caption, c.imageWidth);
    EXPECT_EQ(r.stretch, c.stretch);
    EXPECT_EQ(logic.zoomTenths(), c.tenths);
  }
  EXPECT_EQ(f.options.readNumber(opt::PicViewWidth, -1), -1);
}

TEST(LiveFormSize, TextWindowIsAtLeast3600By4200Twips) {
  EXPECT_EQ(LiveFormLogic(15).textWindow({100, 500}), (Size2{240, 500}));
  EXPECT_EQ(LiveFormLogic(15).textWindow({400, 100}), (Size2{400, 280}));
  EXPECT_EQ(LiveFormLogic(12).textWindow({0, 0}), (Size2{300, 350}));
}

}  // namespace
}  // namespace zevro
