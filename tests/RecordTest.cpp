#include "core/Record.h"

#include <gtest/gtest.h>

#include <string>

namespace zevro::record {
namespace {

TEST(Record, FindsFieldsUpToTheirEnd) {
  const TextView file =
      u"\x10README.TXT\x11Read me first\x12"
      u"03/04/05 12:34\x13"
      u"1,234\x14"
      u"0";
  const struct {
    const char* what;
    TextView record;
    int k;
    TextView text;
  } rows[] = {
      {"first field", file, 0, u"README.TXT"},
      {"field between two markers", file, 3, u"1,234"},
      {"last field runs to the end of the text", file, 4, u"0"},
      {"missing field", file, 5, u""},
      {"field out of range", file, 16, u""},
      {"empty field",
       u"\x10"
       u"A\x11\x12"
       u"B",
       1, u""},
      {"field ends at code 0",
       std::u16string_view(u"\x10"
                           u"A\x11"
                           u"B\0\x12"
                           u"C",
                           8),
       1, u"B"},
      {"code 0 ends the record",
       std::u16string_view(u"\x10"
                           u"A\x11"
                           u"B\0\x12"
                           u"C",
                           8),
       2, u""},
      {"field ends at the next record",
       u"\x10"
       u"A\x11"
       u"B\x10"
       u"C\x11"
       u"D",
       1, u"B"},
      {"field ends at a marker above 23",
       u"\x10"
       u"A\x1F"
       u"B",
       0, u"A"},
      {"higher marker first: field absent",
       u"\x10"
       u"A\x13"
       u"B\x12"
       u"C",
       2, u""},
      {"other control characters stay in the field",
       u"\x10"
       u"A\r\nB\x11",
       0, u"A\r\nB"},
  };
  for (const auto& r : rows) EXPECT_EQ(field(r.record, r.k), r.text) << r.what;
}

TEST(Record, ParsesTheTitleLine) {
  const TextView line =
      u"\x10MYDISC\x11Games 1998\x12\x13"
      u"1,234,682\x14"
      u"0\x15"
      u"E:\\GAMES";
  const struct {
    const char* what;
    Text heap;
    TextView label;
    TextView title;
    bool titleClosed;
    TextView total;
    TextView source;
    bool sourceClosed;
  } rows[] = {
      {"whole line at the end of the text", Text(line), u"MYDISC", u"Games 1998", true, u"1,234,682", u"E:\\GAMES",
       false},
      {"line before the next record",
       Text(line) + u"\x10"
                    u"A\x11"
                    u"B",
       u"MYDISC", u"Games 1998", true, u"1,234,682", u"E:\\GAMES", true},
      {"line before code 0",
       Text(line) + Text(1, ch::Null) +
           u"\x11"
           u"X",
       u"MYDISC", u"Games 1998", true, u"1,234,682", u"E:\\GAMES", true},
      {"title cut off by the end of the text", u"\x10MYDISC\x11Games", u"MYDISC", u"Games", false, u"", u"", false},
      {"no title",
       u"\x10MYDISC\x13"
       u"5\x10"
       u"F\x11T",
       u"MYDISC", u"", false, u"5", u"", false},
      {"empty heap",
       Text(u"\0\x10"
            u"A",
            3),
       u"", u"", false, u"", u"", false},
  };
  for (const auto& r : rows) {
    const TitleLine t = titleLine(r.heap);
    EXPECT_EQ(t.label.text, r.label) << r.what;
    EXPECT_EQ(t.title.text, r.title) << r.what;
    EXPECT_EQ(t.title.closed, r.titleClosed) << r.what;
    EXPECT_EQ(t.total.text, r.total) << r.what;
    EXPECT_EQ(t.source.text, r.source) << r.what;
    EXPECT_EQ(t.source.closed, r.sourceClosed) << r.what;
  }
}

}  // namespace
}  // namespace zevro::record
