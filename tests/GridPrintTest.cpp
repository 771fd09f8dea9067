#include "print/GridPrint.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CatalogList.h"
#include "platform/FakeUi.h"
#include "print/RecordingPrevPrint.h"

namespace zevro {
namespace {

using namespace catalog;
using Op = RecordingPrevPrint::Op;

constexpr int W = RecordingPrevPrint::A4Width;
constexpr int H = RecordingPrevPrint::A4Height;
constexpr int Ch = RecordingPrevPrint::CharWidth;
constexpr int Th = RecordingPrevPrint::CharHeight;
constexpr int Mm = RecordingPrevPrint::Millimetre;
constexpr int Px = RecordingPrevPrint::Pixel;

// The page layout the fake device gives at a gap of 1.4 lines.
constexpr int Pad = Mm, Left = 5 * Mm, Top = 5 * Mm, Gap = 2 * Mm;
constexpr int Pitch = Th * 14 / 10, RowPad = (Pitch - Th) / 2, U = Th * 12 / 10;
constexpr int TitleFoot = Top + Th + Px;                // the title's underline
constexpr int LabelTop = TitleFoot + 10 * Px - Th / 2;  // "No.1"
constexpr int BandTop = LabelTop + Th + Gap + Gap;
constexpr int RowsTop = BandTop + Gap + Th;
constexpr int BottomLimit = H - 2 * Top;

struct Row {
  Text name;
  int level = 1;
  int kind = KindFile;
  Text comment = u"c";
  Text date = u"03/04/05 12:34";
  Text size = u"1,234";
};

// A catalog list: the title line (a CD) and the rows, all shown.
void fill(RowStore& store, const std::vector<Row>& rows) {
  store.clear();
  makeCatalogList(store);
  ASSERT_TRUE(store.appendShown(buildRecord({u"DISC", u"Title"}), 1, 0, KindTitleCD, 0));
  for (const Row& r : rows) {
    ASSERT_TRUE(store.appendShown(buildRecord({r.name, r.comment, r.date, r.size}), colourIndexFor(r.kind, r.level), 0,
                                  r.kind, r.level));
  }
  ASSERT_TRUE(store.deriveIndexAndTreeFlags());
}

std::vector<Row> flatRows(int n) {
  std::vector<Row> rows;
  for (int i = 0; i < n; ++i) rows.push_back({u"F" + ascii(std::to_string(i))});
  return rows;
}

// Single-line rows a page holds: a page ends with the row that reaches the bottom limit.
int rowsPerPage() { return (BottomLimit - RowsTop + Pitch - 1) / Pitch; }

struct Printer {
  explicit Printer(int pageWidth = W) : device(pageWidth, H) {}

  RecordingPrevPrint device;
  FakeUi ui;
  GridPrint print{device, ui};
  RowStore store;
  PrintSettings settings;

  GridPrint::Outcome list(bool preview = false) {
    device.setPreview(preview);
    RowStorePrintSource source(store, {}, 6);
    return print.DrawListPages(source, settings, u"CD: Title", u"DOCS", 9000);
  }
  // Text operations of a page whose text is `text`.
  std::vector<Op> textOps(TextView text) const {
    std::vector<Op> out;
    for (const Op& op : device.ops())
      if (op.kind == Op::Text && op.text == text) out.push_back(op);
    return out;
  }
  std::vector<Op> ofKind(Op::Kind kind) const {
    std::vector<Op> out;
    for (const Op& op : device.ops())
      if (op.kind == kind) out.push_back(op);
    return out;
  }
};

TEST(GridPrintLayout, MetricsFollowTheCellFontAndTheGap) {
  struct Case {
    int gapIndex;
    int pitch;
    int rowpad;
    int u;
  };
  const Case cases[] = {
      {0, Th * 12 / 10, (Th * 12 / 10 - Th) / 2, Th},  // 1.2 lines: icons as high as the text
      {1, Th * 14 / 10, (Th * 14 / 10 - Th) / 2, Th * 12 / 10},
      {3, Th * 18 / 10, (Th * 18 / 10 - Th) / 2, Th * 12 / 10},
  };
  for (const Case& c : cases) {
    Printer p;
    fill(p.store, flatRows(3));
    p.settings.gapIndex = c.gapIndex;
    p.list(true);
    const GridPrint::Metrics& m = p.print.metrics();
    EXPECT_EQ(m.pitch, c.pitch) << c.gapIndex;
    EXPECT_EQ(m.rowpad, c.rowpad) << c.gapIndex;
    EXPECT_EQ(m.u, c.u) << c.gapIndex;
    EXPECT_EQ(m.h, Ch / 2);
    EXPECT_EQ(m.pad, Pad);
    EXPECT_EQ(m.left, Left);
    EXPECT_EQ(m.width, W);
  }
  EXPECT_EQ(Th * 14 / 10, 280);
}

TEST(GridPrintLayout, ColumnPositionsByColumnsPresentAndSwap) {
  const int table = W - 2 * Left;
  const int name = 40 * Ch, date = 16 * Ch, size = 15 * Ch;
  struct Case {
    const char* what;
    bool dates;
    bool sizes;
    bool comment;
    bool swap;
    std::vector<int> fields;
    std::vector<int> widths;
  };
  const Case cases[] = {
      {"all four, swapped", true, true, true, true, {0, 1, 3, 2}, {name, table - name - date - size, size, date}},
      {"all four", true, true, true, false, {0, 1, 2, 3}, {name, table - name - date - size, date, size}},
      {"no dates", false, true, true, true, {0, 1, 3}, {name, table - name - size, size}},
      {"no sizes", true, false, true, true, {0, 1, 2}, {name, table - name - date, date}},
      {"comment off: the name stretches", true, true, false, true, {0, 2, 3}, {table - date - size, date, size}},
  };
  for (const Case& c : cases) {
    Printer p;
    std::vector<Row> rows = flatRows(3);
    for (Row& r : rows) {
      if (!c.dates) r.date = u"  ";
      if (!c.sizes) r.size = u"";
    }
    fill(p.store, rows);
    p.settings.comment = c.comment;
    p.settings.swap = c.swap;
    p.list(true);
    std::vector<int> fields, widths;
    for (const GridPrint::Column& col : p.print.columns()) {
      fields.push_back(col.field);
      widths.push_back(col.width);
    }
    EXPECT_EQ(fields, c.fields) << c.what;
    EXPECT_EQ(widths, c.widths) << c.what;
    const std::vector<int>& x = p.print.positions();
    ASSERT_EQ(x.size(), c.fields.size() + 1) << c.what;
    EXPECT_EQ(x.front(), Left);
    EXPECT_EQ(x.back(), W - Left) << c.what;
  }
}

TEST(GridPrintLayout, PageBreaksOfALongListAndOnePreviewPage) {
  const int rows = 300;
  const int perPage = rowsPerPage();
  const int pages = (rows + 1 + perPage - 1) / perPage;  // the title line is a row too
  {
    Printer p;
    fill(p.store, flatRows(rows - 1));
    const GridPrint::Outcome o = p.list(false);
    EXPECT_EQ(o.shown, pages);
    EXPECT_EQ(p.ofKind(Op::ShowPage).size(), static_cast<std::size_t>(pages));
    EXPECT_EQ(p.device.endedJobs(), 1);
    EXPECT_EQ(p.textOps(u"No." + ascii(std::to_string(pages))).size(), 1u);
    // The last row of the first page is the one that reaches the bottom limit.
    EXPECT_EQ(p.textOps(u"F" + ascii(std::to_string(perPage - 2))).front().page, 0);
    EXPECT_EQ(p.textOps(u"F" + ascii(std::to_string(perPage - 1))).front().page, 1);
  }
  {
    Printer p;
    fill(p.store, flatRows(rows - 1));
    const GridPrint::Outcome o = p.list(true);
    EXPECT_EQ(o.shown, 1);
    EXPECT_EQ(p.ofKind(Op::ShowPage).size(), 1u);
    EXPECT_EQ(p.device.endedJobs(), 0);
  }
}

TEST(GridPrintLayout, RangeStartThreePreviewsPageThreeOfTheWholePrint) {
  // Names long enough to wrap, folders for tree lines, boxes and icons.
  std::vector<Row> rows;
  for (int i = 0; i < 200; ++i) {
    const bool folder = i % 7 == 0;
    rows.push_back({Text(static_cast<std::size_t>(10 + (i * 13) % 60), u'N') + ascii(std::to_string(i)),
                    folder ? 1 : 2, folder ? KindFolder : KindFile});
  }
  Printer whole;
  fill(whole.store, rows);
  ASSERT_GE(whole.list(false).shown, 4);
  Printer third;
  fill(third.store, rows);
  third.settings.allPages = false;
  third.settings.rangeStart = 3;
  third.settings.rangeEnd = 3;
  const GridPrint::Outcome o = third.list(true);
  EXPECT_EQ(o.shown, 1);
  EXPECT_EQ(third.device.pageOps(0), whole.device.pageOps(2));
}

TEST(GridPrintLayout, RangeEndBelowTheStartPrintsToTheEnd) {
  Printer whole;
  fill(whole.store, flatRows(250));
  const int pages = whole.list(false).shown;
  ASSERT_GE(pages, 4);
  Printer p;
  fill(p.store, flatRows(250));
  p.settings.allPages = false;
  p.settings.rangeStart = 2;
  p.settings.rangeEnd = 1;
  const GridPrint::Outcome o = p.list(false);
  EXPECT_EQ(o.shown, pages - 1);
  EXPECT_EQ(p.device.pageOps(0), whole.device.pageOps(1));
  EXPECT_EQ(p.device.pageOps(pages - 2), whole.device.pageOps(pages - 1));
}

TEST(GridPrintLayout, RangePastTheEndPrintsNothing) {
  Printer p;
  fill(p.store, flatRows(10));
  p.settings.allPages = false;
  p.settings.rangeStart = 5;
  p.settings.rangeEnd = 9;
  const GridPrint::Outcome o = p.list(false);
  EXPECT_EQ(o.shown, 0);
  EXPECT_TRUE(p.device.texts().empty());
}

TEST(GridPrintLayout, ThreeLineNameBesideTwoLineCommentStartsTheNextRowBelowTheName) {
  Printer p;
  p.settings.tree = false;
  // Level 1, tree off: the name starts one icon step in; 35 characters a piece.
  const int perPiece = (40 * Ch - 3 * Pad - U) / Ch;
  const Text name = Text(static_cast<std::size_t>(2 * perPiece), u'A') + u"BBBB";
  fill(p.store, {{name, 1, KindFile, u"first\r\nsecond"}, {u"NEXT"}});
  p.list(true);
  const int rowTop = RowsTop + Pitch;  // under the title line
  const std::vector<Op> pieces = [&] {
    std::vector<Op> v;
    for (const Op& op : p.device.ops())
      if (op.kind == Op::Text && (op.text.starts_with(u"AAA") || op.text == u"BBBB")) v.push_back(op);
    return v;
  }();
  ASSERT_EQ(pieces.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pieces[static_cast<std::size_t>(i)].y1, rowTop + RowPad + i * Th);
  EXPECT_EQ(p.textOps(u"first").front().y1, rowTop + RowPad);
  EXPECT_EQ(p.textOps(u"second").front().y1, rowTop + RowPad + Th);
  const int nextTop = rowTop + RowPad + 3 * Th + RowPad;
  EXPECT_EQ(p.textOps(u"NEXT").front().y1, nextTop + RowPad);
}

TEST(GridPrintLayout, TwoShortCommentLinesKeepTheNextRowBelowTheSecond) {
  Printer p;
  fill(p.store, {{u"A", 1, KindFile, u"one\r\ntwo"}, {u"NEXT"}});
  p.list(true);
  const int rowTop = RowsTop + Pitch;
  EXPECT_EQ(p.textOps(u"two").front().y1, rowTop + RowPad + Th);
  // The next row starts under the second line, not over it.
  EXPECT_EQ(p.textOps(u"NEXT").front().y1, rowTop + RowPad + 2 * Th + RowPad + RowPad);
}

TEST(GridPrintLayout, SecondLineFollowsTheLastPieceOfAWrappedFirst) {
  Printer p;
  const int perPiece = (W - 2 * Left - 40 * Ch - 16 * Ch - 15 * Ch - 3 * Pad) / Ch;
  const Text first = Text(static_cast<std::size_t>(perPiece + 5), u'C');
  fill(p.store, {{u"A", 1, KindFile, first + u"\r\nsecond"}});
  p.list(true);
  const int rowTop = RowsTop + Pitch;
  EXPECT_EQ(p.textOps(Text(static_cast<std::size_t>(perPiece), u'C')).front().y1, rowTop + RowPad);
  EXPECT_EQ(p.textOps(u"CCCCC").front().y1, rowTop + RowPad + Th);
  EXPECT_EQ(p.textOps(u"second").front().y1, rowTop + RowPad + 2 * Th);
}

TEST(GridPrintLayout, WrapOffPrintsTheFirstPieceOfTheFirstLineOnly) {
  Printer p;
  p.settings.wrap = false;
  const int perPiece = (W - 2 * Left - 40 * Ch - 16 * Ch - 15 * Ch - 3 * Pad) / Ch;
  fill(p.store, {{u"A", 1, KindFile, Text(static_cast<std::size_t>(perPiece + 5), u'C') + u"\r\nsecond"}, {u"NEXT"}});
  p.list(true);
  EXPECT_EQ(p.textOps(Text(static_cast<std::size_t>(perPiece), u'C')).size(), 1u);
  EXPECT_TRUE(p.textOps(u"CCCCC").empty());
  EXPECT_TRUE(p.textOps(u"second").empty());
  EXPECT_EQ(p.textOps(u"NEXT").front().y1, RowsTop + 2 * Pitch + RowPad);
}

TEST(GridPrintLayout, HorizontalRulesStartByItemsAndTree) {
  struct Case {
    int items;
    bool tree;
    int startColumn;
  };
  const Case cases[] = {{0, true, 1}, {0, false, 0}, {2, true, 0}, {1, true, 1}};
  for (const Case& c : cases) {
    Printer p;
    fill(p.store, flatRows(4));
    p.settings.items = c.items;
    p.settings.tree = c.tree;
    p.list(true);
    const int start = p.print.positions()[static_cast<std::size_t>(c.startColumn)];
    // under the title line (and the folder line of a files-only print)
    const int rule = RowsTop + (c.items == PrintSettings::FilesOnly ? Th : 0) + Pitch;
    bool found = false;
    for (const Op& op : p.ofKind(Op::Line))
      if (op.y1 == rule && op.y2 == rule) {
        EXPECT_EQ(op.x1, start) << c.items << c.tree;
        EXPECT_EQ(op.x2, W - Left);
        found = true;
      }
    EXPECT_TRUE(found) << c.items << c.tree;
  }
}

TEST(GridPrintLayout, FrameOffLeavesBandAndHeadersOutButKeepsVerticalRules) {
  Printer p;
  fill(p.store, flatRows(4));
  p.settings.frame = false;
  p.list(true);
  EXPECT_TRUE(p.textOps(GridPrint::HeadComment).empty());
  for (const Op& op : p.ofKind(Op::FilledBox)) EXPECT_NE(op.colour, GridPrint::BandColour);
  for (const Op& op : p.ofKind(Op::Box)) EXPECT_NE(op.width, 2);
  const int bottom = RowsTop + 5 * Pitch + Pitch;  // five rows and one blank line
  const int x1 = p.print.positions()[1];
  bool rule = false;
  for (const Op& op : p.ofKind(Op::Line)) rule |= op.x1 == x1 && op.x2 == x1 && op.y1 == BandTop && op.y2 == bottom;
  EXPECT_TRUE(rule);
}

TEST(GridPrintLayout, FrameAndBandOnAPrintedPage) {
  Printer p;
  fill(p.store, flatRows(4));
  p.list(true);
  const int xn = W - Left;
  const std::vector<Op> fills = p.ofKind(Op::FilledBox);
  ASSERT_GE(fills.size(), 2u);
  EXPECT_EQ(fills[1].describe(), "fill " + std::to_string(Left) + ' ' + std::to_string(BandTop) + ' ' +
                                     std::to_string(xn) + ' ' + std::to_string(RowsTop) + " 15790320");
  const Op frame = p.ofKind(Op::Box).back();
  EXPECT_EQ(frame.describe(), "box " + std::to_string(Left) + ' ' + std::to_string(BandTop) + ' ' +
                                  std::to_string(xn) + ' ' + std::to_string(RowsTop + 6 * Pitch) + " -1 2");
}

TEST(GridPrintLayout, CommentTooNarrowShowsTheMessageAndDrawsNothing) {
  Printer p(6000);
  fill(p.store, flatRows(4));
  const GridPrint::Outcome o = p.list(false);
  EXPECT_TRUE(o.refused);
  EXPECT_EQ(o.shown, 0);
  ASSERT_EQ(p.ui.messages().size(), 1u);
  EXPECT_EQ(p.ui.messages()[0], GridPrint::CommentTooNarrow);
  EXPECT_TRUE(p.device.ops().empty());
  // Without the comment column the name takes the rest, and it prints.
  p.settings.comment = false;
  EXPECT_EQ(p.list(false).shown, 1);
}

TEST(GridPrintLayout, ExpandBoxWithPlusOnlyWhileTheChildrenAreHidden) {
  for (const bool childrenShown : {false, true}) {
    Printer p;
    fill(p.store, {{u"DOCS", 1, KindFolder}, {u"SUB", 2, KindFolder}, {u"PICS", 1, KindFolder}});
    p.store.setDisplayOrder(childrenShown ? std::vector<std::int32_t>{0, 1, 2, 3} : std::vector<std::int32_t>{0, 1, 3});
    ASSERT_EQ(p.store.displayFlags(1) & 1, 1);
    p.list(true);
    const int rowTop = RowsTop + Pitch;
    const int h = Ch / 2;
    const int offset = U - Pad;  // level 1
    const int conn = Left + offset;
    const int mid = rowTop + Pitch / 2;
    bool box = false;
    for (const Op& op : p.ofKind(Op::Box))
      box |= op.x1 == conn - h && op.y1 == mid - h && op.x2 == conn + h + 4 * Px && op.y2 == mid + h + 4 * Px;
    EXPECT_TRUE(box) << childrenShown;
    bool minus = false, plus = false;
    for (const Op& op : p.ofKind(Op::Line)) {
      minus |= op.y1 == mid && op.y2 == mid && op.x1 == conn - 30 && op.x2 == conn + 43;
      plus |= op.x1 == conn && op.x2 == conn && op.y1 == mid - 30 && op.y2 == mid + 43;
    }
    EXPECT_TRUE(minus) << childrenShown;
    EXPECT_EQ(plus, !childrenShown);
  }
}

TEST(GridPrintLayout, IconsFromTheMarksAndTheStrip) {
  Printer p;
  fill(p.store, {{u"DOCS", 1, KindFolder}, {u"A.TXT", 2, KindFile}});
  p.list(true);
  const std::vector<Op> pictures = p.ofKind(Op::Picture);
  ASSERT_EQ(pictures.size(), 3u);
  EXPECT_EQ(pictures[0].describe(), "mark 1 " + std::to_string(Left + U - Pad - U / 2) + ' ' +
                                        std::to_string(RowsTop + (Pitch - U) / 2) + ' ' + std::to_string(U) + ' ' +
                                        std::to_string(U));  // the CD of the title line
  EXPECT_EQ(pictures[1].colour, 0);                         // folder
  EXPECT_EQ(pictures[2].colour, 5);                         // a file, from the strip
  EXPECT_EQ(pictures[2].width, 1);
}

TEST(GridPrintLayout, SizesOfTenGigabytesPrintWhole) {
  Printer p;
  fill(p.store, {{u"BIG", 1, KindFolder, u"c", u"03/04/05 12:34", u"10,000,000,000"}, {u"SMALL"}});
  p.list(true);
  EXPECT_EQ(p.textOps(u"10,000,000,000").size(), 1u);
  EXPECT_EQ(p.textOps(u"        1,234").size(), 1u);
  // The column is as wide as the widest size with a "W" either side.
  EXPECT_EQ(p.print.columns()[2].field, 3);
  EXPECT_EQ(p.print.columns()[2].width, 16 * Ch);
  EXPECT_EQ(GridPrint::sizeCell(u" 123,456,789,012,345 "), u"123,456,789,012,345");
}

TEST(GridPrintLayout, ShortDatesMoveRightByFourBlanks) {
  Printer p;
  fill(p.store, {{u"A", 1, KindFile, u"c", u"03/04/05"}});
  p.list(true);
  EXPECT_EQ(p.textOps(u"    03/04/05").size(), 1u);
}

TEST(GridPrintLayout, FilesOnlyPrintsTheFolderLine) {
  Printer p;
  fill(p.store, flatRows(2));
  p.settings.items = PrintSettings::FilesOnly;
  p.list(true);
  ASSERT_EQ(p.textOps(u"DOCS").size(), 1u);
  EXPECT_EQ(p.textOps(u"DOCS").front().x1, Left);
  EXPECT_EQ(p.textOps(GridPrint::HeadFile).size(), 1u);
}

TEST(GridPrintLayout, GuardsAgainstNoHeightAndNoIndentStep) {
  Printer p;
  p.device.charHeight = 0;
  fill(p.store, flatRows(5));
  const GridPrint::Outcome o = p.list(false);
  EXPECT_EQ(o.shown, 1);
  EXPECT_EQ(p.print.metrics().pitch, 1);

  struct Flat : RowStorePrintSource {
    using RowStorePrintSource::RowStorePrintSource;
    int indentPerLevel() const override { return 0; }
  };
  Printer q;
  fill(q.store, flatRows(5));
  q.device.setPreview(true);
  Flat flat(q.store, {}, 6);
  EXPECT_EQ(q.print.DrawListPages(flat, q.settings, u"T", u"", 9000).shown, 1);
}

TEST(GridPrintLayout, FontErrorEndsThePassWithTheMessage) {
  Printer p;
  fill(p.store, flatRows(100));
  int calls = 0;
  p.device.refuseFont = [&](const PrintFont& f) { return f.proportional && f.size == 16 && ++calls == 2; };
  const GridPrint::Outcome o = p.list(false);
  EXPECT_TRUE(o.fontError);
  EXPECT_EQ(o.shown, 1);
  EXPECT_EQ(p.device.endedJobs(), 1);
  ASSERT_EQ(p.ui.messages().size(), 1u);
  EXPECT_EQ(p.ui.messages()[0], p.device.refusalText);
  EXPECT_EQ(p.ui.calls[0].title, u"");
}

TEST(GridPrintLayout, CancelStopsAfterTheCurrentPage) {
  Printer p;
  fill(p.store, flatRows(5 * rowsPerPage() - 10));
  int pages = 0;
  bool cancelShown = false;
  p.print.hooks().cancelRequested = [&] { return ++pages == 2; };
  p.print.hooks().cancelShown = [&](bool on) { cancelShown = on; };
  const GridPrint::Outcome o = p.list(false);
  EXPECT_TRUE(o.cancelled);
  EXPECT_EQ(o.shown, 2);
  EXPECT_EQ(p.device.endedJobs(), 1);
  EXPECT_FALSE(cancelShown);
}

TEST(GridPrintLayout, SearchResultsPrintTheDateAndTimeOnTwoLines) {
  Printer p;
  RowStore results;
  ASSERT_TRUE(results.appendShown(buildRecord({u"ゲーム集", u"DOS\\README.TXT", u"99/12/31 23:55", u"Read me"}), 0, 1,
                                  KindTitleCD, 0));
  ASSERT_TRUE(results.appendShown(buildRecord({u"ゲーム集", u"DOS\\B.TXT", u"99/12/31", u"x"}), 0, 1, KindTitleCD, 0));
  p.device.setPreview(true);
  RowStorePrintSource source(results, {}, 6);
  const GridPrint::Outcome o = p.print.DrawFindPages(source, p.settings, u"検索結果【READ】", 9000);
  EXPECT_EQ(o.shown, 1);
  const std::vector<Op> date = p.textOps(u"99/12/31");
  ASSERT_EQ(date.size(), 2u);
  const std::vector<Op> time = p.textOps(u"23:55");
  ASSERT_EQ(time.size(), 1u);
  EXPECT_EQ(time[0].y1, date[0].y1 + Th);
  EXPECT_EQ(time[0].x1, date[0].x1);
  std::vector<int> fields;
  for (const GridPrint::Column& c : p.print.columns()) fields.push_back(c.field);
  EXPECT_EQ(fields, (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(p.print.columns()[0].width, 24 * Ch);
  EXPECT_EQ(p.print.columns()[2].width, 10 * Ch);
  EXPECT_TRUE(p.print.columns()[3].proportional);
}

}  // namespace
}  // namespace zevro
