#include "core/IconEdit.h"

#include <gtest/gtest.h>

#include "core/CatalogList.h"

namespace zevro {
namespace {

constexpr int StandardIcons = 46;

IconTable standardTable() {
  IconTable table;
  table.BuildStandardTables();
  return table;
}

TEST(IconEdit, EntriesListEveryExtensionWithItsCode) {
  const IconEdit edit(standardTable(), StandardIcons);
  const std::vector<IconEdit::Entry> entries = edit.entries();
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.front().extension, u"3GP");
  EXPECT_EQ(entries.front().code, 10);
  EXPECT_EQ(entries.back().extension, u"GIN");
  EXPECT_EQ(entries.back().code, 194);
  int htm = 0;
  for (const IconEdit::Entry& e : entries)
    if (e.code == 73) ++htm;
  EXPECT_EQ(htm, 2);  // HTM and HTML
  EXPECT_EQ(edit.lastCode(), 194);
}

TEST(IconEdit, APasteOverwritesAnIconOfItsOwnAndAppendsForASharedOne) {
  struct Row {
    const char* what;
    int code;
    int target;
    int stripAfter;
  } rows[] = {
      {"MP3 shares icon 26 with MP1", 109, 47, 47},
      {"ZIP alone has icon 18", 171, 18, 46},
      {"TXT shares icon 22", 153, 47, 47},
      {"GIN shares icon 20 with GIF", 194, 47, 47},
      {"MPO alone has icon 46", 193, 46, 46},
  };
  for (const Row& r : rows) {
    IconTable inUse = standardTable();
    IconEdit edit(inUse, StandardIcons);
    EXPECT_EQ(edit.pasteTarget(r.code), r.target) << r.what;
    EXPECT_EQ(edit.paste(r.code), r.target) << r.what;
    EXPECT_EQ(edit.iconOf(r.code), r.target) << r.what;
    EXPECT_EQ(edit.stripIcons(), r.stripAfter) << r.what;
    EXPECT_TRUE(edit.changed()) << r.what;
    // The in-use map is only the working copy's source.
    EXPECT_EQ(inUse.iconMap(), IconTable::standardIconMap()) << r.what;
  }
  IconEdit edit(standardTable(), StandardIcons);
  edit.paste(109);
  EXPECT_EQ(edit.iconOf(106), 26);  // MP1 keeps its icon
  // A second paste for MP3 repaints its icon of its own.
  EXPECT_EQ(edit.paste(109), 47);
  EXPECT_EQ(edit.stripIcons(), 47);
}

TEST(IconEdit, NoPasteGoesPastIcon255) {
  // Icon numbers are bytes: a strip of 255 icons takes no appended one, and
  // the map is left as it was.
  IconTable inUse = standardTable();
  IconEdit edit(inUse, 255);
  EXPECT_EQ(edit.pasteTarget(109), std::nullopt);
  EXPECT_EQ(edit.paste(109), std::nullopt);
  EXPECT_EQ(edit.iconOf(109), 26);
  EXPECT_FALSE(edit.changed());
  EXPECT_EQ(edit.stripIcons(), 255);
  // An icon of its own is still repainted in place.
  EXPECT_EQ(edit.paste(171), 18);

  IconEdit almost(inUse, 254);
  EXPECT_EQ(almost.paste(109), 255);
  EXPECT_EQ(almost.paste(153), std::nullopt);
}

TEST(IconEdit, AddedExtensionsAreCheckedAndTakeTheNextCode) {
  using S = IconEdit::AddStatus;
  struct Row {
    const char16_t* answer;
    S status;
    int code;
    const char16_t* extension;
  } rows[] = {
      {u" 7z ", S::Added, 195, u"7Z"},
      {u"JPG", S::Listed, 0, u"JPG"},
      {u"jpeg", S::Listed, 0, u"JPEG"},
      {u"ABCDEF", S::TooLong, 0, u"ABCDEF"},
      {u"A.B", S::NotAlphanumeric, 0, u"A.B"},
      {u"A|B", S::NotAlphanumeric, 0, u"A|B"},
      {u"ＡＢ", S::NotAlphanumeric, 0, u"ＡＢ"},
      {u"A B", S::NotAlphanumeric, 0, u"A B"},
      {u"", S::Empty, 0, u""},
      {u"   ", S::Empty, 0, u""},
      {u"ABCDE", S::Added, 195, u"ABCDE"},
  };
  for (const Row& r : rows) {
    IconEdit edit(standardTable(), StandardIcons);
    const IconEdit::AddResult result = edit.add(r.answer);
    EXPECT_EQ(result.status, r.status) << toUtf8(r.answer);
    EXPECT_EQ(result.code, r.code) << toUtf8(r.answer);
    EXPECT_EQ(result.extension, r.extension) << toUtf8(r.answer);
    EXPECT_EQ(edit.changed(), r.status == S::Added) << toUtf8(r.answer);
    if (r.status == S::Added) {
      EXPECT_TRUE(edit.types().ends_with(u"195." + Text(r.extension) + u"|"));
      EXPECT_EQ(edit.iconOf(195), 6);
      EXPECT_EQ(edit.entries().back().code, 195);
    } else {
      EXPECT_EQ(edit.types(), IconTable::standardTypes()) << toUtf8(r.answer);
    }
  }
}

TEST(IconEdit, NoKindCodePast255) {
  IconTable inUse = standardTable();
  inUse.setTypes(inUse.types() + u"254.AAA|");
  IconEdit edit(inUse, StandardIcons);
  EXPECT_EQ(edit.add(u"BBB").code, 255);
  const IconEdit::AddResult refused = edit.add(u"CCC");
  EXPECT_EQ(refused.status, IconEdit::AddStatus::NoCodeLeft);
  EXPECT_EQ(edit.types().find(u"CCC"), Text::npos);
  EXPECT_EQ(edit.iconOf(0), 0);  // nothing wrapped to code 0
}

TEST(IconEdit, CancelAfterPastesKeepsTheStripAndTheMapInUse) {
  IconTable inUse = standardTable();
  IconEdit edit(inUse, StandardIcons);
  edit.paste(109);
  edit.paste(153);
  edit.add(u"7Z");
  EXPECT_EQ(edit.stripIcons(), 48);
  edit.forget();
  const IconEdit::Outcome outcome = edit.finish(false);
  EXPECT_FALSE(outcome.savePicture);
  EXPECT_FALSE(outcome.saveTable);
  EXPECT_EQ(outcome.stripIcons, StandardIcons);
  EXPECT_EQ(inUse.iconMap(), IconTable::standardIconMap());
  EXPECT_EQ(inUse.types(), IconTable::standardTypes());
}

TEST(IconEdit, OkAfterARepaintAloneStillWritesTheTable) {
  // Repainting ZIP's own icon changes neither the map nor the table, yet
  // the picture is only loaded together with IconList.CCZ.
  IconEdit edit(standardTable(), StandardIcons);
  edit.paste(171);
  const IconEdit::Outcome outcome = edit.finish(true);
  EXPECT_TRUE(outcome.savePicture);
  EXPECT_TRUE(outcome.saveTable);
  EXPECT_EQ(outcome.stripIcons, StandardIcons);

  const IconEdit untouched(standardTable(), StandardIcons);
  EXPECT_FALSE(untouched.finish(true).savePicture);
  EXPECT_FALSE(untouched.finish(true).saveTable);
}

TEST(IconEdit, CommitGivesTheWorkingCopiesToTheTableInUse) {
  IconTable inUse = standardTable();
  IconEdit edit(inUse, StandardIcons);
  edit.paste(109);
  edit.add(u"7Z");
  edit.commitTo(inUse);
  EXPECT_EQ(inUse.iconMap()[109], 47);
  EXPECT_EQ(inUse.IconCodeOf(u"7z"), 195);
  EXPECT_EQ(inUse.iconMap()[195], 6);
}

}  // namespace
}  // namespace zevro
