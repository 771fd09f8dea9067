#include "viewers/DocFormModel.h"

#include <gtest/gtest.h>

#include <vector>

namespace zevro {
namespace {

struct Stored {
  int row;
  Text comment;
  bool operator==(const Stored&) const = default;
};

struct ModelFixture {
  std::vector<Stored> stored;
  DocFormModel model{[this](int row, TextView comment) { stored.push_back({row, Text(comment)}); }};
  Text box;  // what the window's box holds

  void show(TextView catalog, int row, TextView name, TextView comment) {
    box = model.DispCommentText(catalog, row, name, comment, box).box;
  }
};

constexpr TextView CatA = u"/home/k/Catalog/_01CD_A.cct";
constexpr TextView CatB = u"/home/k/Catalog/_02CD_B.cct";

TEST(DocFormModel, EditIsStoredForThePreviousRowBeforeTheNextIsShown) {
  ModelFixture f;
  f.show(CatA, 5, u"FIVE.TXT", u"old five");
  f.box = u"new five";
  const DocFormModel::View v = f.model.DispCommentText(CatA, 6, u"SIX.TXT", u"six", f.box);
  EXPECT_EQ(f.stored, (std::vector<Stored>{{5, u"new five"}}));
  EXPECT_EQ(v.caption, u"コメント： SIX.TXT");
  EXPECT_EQ(v.box, u"six");
  EXPECT_TRUE(v.enabled);
  EXPECT_EQ(f.model.shownRow(), 6);
}

TEST(DocFormModel, RowsAndBoxesTable) {
  struct Case {
    const char* what;
    TextView comment;    // row 5's comment as the list holds it
    TextView typed;      // the box before moving to row 6 (nullptr-like: unchanged)
    bool edit;           // the box was changed
    std::vector<Stored> expected;
  };
  const Case cases[] = {
      {"unchanged", u"a", u"", false, {}},
      {"CR LF comment passed over", u"line 1\r\nline 2\r\n", u"", false, {}},
      {"edited multi-line", u"line 1\r\nline 2", u"line 1\nline two", true, {{5, u"line 1\r\nline two"}}},
      // A comment is not erased from this window, not even by moving on.
      {"emptied then moved on", u"keep me", u"", true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModelFixture f;
    f.show(CatA, 5, u"FIVE.TXT", c.comment);
    if (c.edit) f.box = Text(c.typed);
    f.show(CatA, 6, u"SIX.TXT", u"six");
    EXPECT_EQ(f.stored, c.expected);
  }
}

TEST(DocFormModel, CommentIsShownWithLineFeedsAndStoredWithCrLf) {
  EXPECT_EQ(DocFormModel::toBox(u"a\r\nb\rc\nd"), u"a\nb\nc\nd");
  EXPECT_EQ(DocFormModel::toComment(u"a\nb\r\nc"), u"a\r\nb\r\nc");
  ModelFixture f;
  f.show(CatA, 3, u"X", u"one\r\ntwo");
  EXPECT_EQ(f.box, u"one\ntwo");
  EXPECT_EQ(f.model.leave(f.box), std::nullopt);
  Text text;
  EXPECT_FALSE(f.model.isCommentTextEdited(CatA, 3, u"X", &text, &f.box));
  EXPECT_TRUE(f.stored.empty());
}

TEST(DocFormModel, EmptiedBoxLeftGetsTheKeptTextBackAndStoresNothing) {
  ModelFixture f;
  f.show(CatA, 5, u"FIVE.TXT", u"keep\r\nme");
  EXPECT_EQ(f.model.leave(u""), std::optional<Text>(u"keep\nme"));
  EXPECT_TRUE(f.stored.empty());
  Text text;
  Text box;
  EXPECT_FALSE(f.model.isCommentTextEdited(CatA, 5, u"FIVE.TXT", &text, &box));
  EXPECT_EQ(box, u"keep\nme");
  EXPECT_TRUE(f.stored.empty());
}

TEST(DocFormModel, LeavingAnEditedBoxStoresItOnce) {
  ModelFixture f;
  f.show(CatA, 5, u"FIVE.TXT", u"old");
  EXPECT_EQ(f.model.leave(u"new\nlines"), std::nullopt);
  EXPECT_EQ(f.stored, (std::vector<Stored>{{5, u"new\r\nlines"}}));
  // Now kept: moving on stores nothing more.
  f.box = u"new\nlines";
  f.show(CatA, 6, u"SIX.TXT", u"six");
  EXPECT_EQ(f.stored.size(), 1u);
}

TEST(DocFormModel, TitleRowIsEmptyAndDisabled) {
  ModelFixture f;
  const DocFormModel::View v = f.model.DispCommentText(CatA, 0, u"VOLUME", u"catalog title", u"");
  EXPECT_EQ(v.caption, u"コメント： VOLUME");
  EXPECT_TRUE(v.box.empty());
  EXPECT_FALSE(v.enabled);
  Text text;
  Text box = u"typed";
  EXPECT_FALSE(f.model.isCommentTextEdited(CatA, 0, u"VOLUME", &text, &box));
}

TEST(DocFormModel, TakingBackAnswersOnlyForTheShownRowOfTheShownCatalog) {
  struct Case {
    const char* what;
    TextView catalog;
    int row;
    TextView name;
    bool edited;
  };
  const Case cases[] = {
      {"same row", CatA, 5, u"FIVE.TXT", true},
      {"same name and row, other catalog", CatB, 5, u"FIVE.TXT", false},
      {"other row", CatA, 6, u"FIVE.TXT", false},
      {"other name", CatA, 5, u"SIX.TXT", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ModelFixture f;
    f.show(CatA, 5, u"FIVE.TXT", u"old");
    Text box = u"new";
    Text text;
    EXPECT_EQ(f.model.isCommentTextEdited(c.catalog, c.row, c.name, &text, &box), c.edited);
    EXPECT_EQ(text, c.edited ? u"new" : u"");
    // Taking back does not store by itself: the caller does.
    EXPECT_TRUE(f.stored.empty());
  }
}

TEST(DocFormModel, OtherCatalogIsNotGivenThePendingEdit) {
  ModelFixture f;
  f.show(CatA, 5, u"FIVE.TXT", u"old");
  f.box = u"typed";
  f.show(CatB, 5, u"FIVE.TXT", u"other");
  EXPECT_TRUE(f.stored.empty());
  EXPECT_EQ(f.box, u"other");
}

}  // namespace
}  // namespace zevro
