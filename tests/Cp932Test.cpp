#include "text/Cp932.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/Record.h"

namespace zevro::cp932 {
namespace {

// The C library's converter, the reference every CP932 character is checked
// against.
class Reference {
public:
  Reference(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Reference() { iconv_close(cd_); }
  Reference(const Reference&) = delete;
  Reference& operator=(const Reference&) = delete;

  bool ready() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<std::string> convert(const std::string& in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char out[32];
    char* inPtr = const_cast<char*>(in.data());
    char* outPtr = out;
    std::size_t inLeft = in.size();
    std::size_t outLeft = sizeof out;
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
      return std::nullopt;
    return std::string(out, sizeof out - outLeft);
  }

private:
  iconv_t cd_;
};

std::string utf16le(char16_t c) { return {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)}; }

// The single unit iconv reads from CP932 bytes, if it reads exactly one.
std::optional<char16_t> referenceUnit(Reference& toUtf16, const std::string& bytes) {
  const auto out = toUtf16.convert(bytes);
  if (!out || out->size() != 2) return std::nullopt;
  return static_cast<char16_t>(static_cast<unsigned char>((*out)[0]) | static_cast<unsigned char>((*out)[1]) << 8);
}

// Every byte sequence iconv reads as one CP932 character: single bytes and
// lead/trail pairs.
std::vector<std::string> everyCp932Character(Reference& toUtf16) {
  std::vector<std::string> all;
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    if (referenceUnit(toUtf16, one)) {
      all.push_back(one);
      continue;
    }
    for (int trail = 0; trail < 256; ++trail) {
      const std::string two = one + static_cast<char>(trail);
      if (referenceUnit(toUtf16, two)) all.push_back(two);
    }
  }
  return all;
}

TEST(Cp932Test, EveryCp932CharacterDecodesToOneUnitAndEncodesToTheCanonicalBytes) {
  Reference toUtf16("UTF-16LE", "CP932");
  Reference toCp932("CP932", "UTF-16LE");
  ASSERT_TRUE(toUtf16.ready() && toCp932.ready());
  const auto all = everyCp932Character(toUtf16);
  EXPECT_GT(all.size(), 7000u);
  for (const std::string& bytes : all) {
    const char16_t expected = *referenceUnit(toUtf16, bytes);
    const Text text = decode(bytes);
    ASSERT_EQ(text, Text(1, expected)) << "bytes " << std::hex << int(static_cast<unsigned char>(bytes[0]));
    EXPECT_TRUE(representable(expected));
    EXPECT_EQ(encode(text), toCp932.convert(utf16le(expected)).value()) << "U+" << std::hex << int(expected);
    EXPECT_EQ(byteLength(text), encode(text).size());
    EXPECT_EQ(fileLength(text), 1u);
  }
}

// CP932 holds a character when iconv writes it and reads the bytes back as the
// same character; the few it maps only one way (U+301C, U+00A5 ...) are
// escaped so that they come back unchanged.
TEST(Cp932Test, EveryBmpUnitIsEitherRepresentableOrEscapedAndComesBack) {
  Reference toUtf16("UTF-16LE", "CP932");
  Reference toCp932("CP932", "UTF-16LE");
  ASSERT_TRUE(toUtf16.ready() && toCp932.ready());
  for (unsigned u = 0; u < 0x10000; ++u) {
    const auto c = static_cast<char16_t>(u);
    const auto bytes = toCp932.convert(utf16le(c));
    const bool roundTrips = bytes && referenceUnit(toUtf16, *bytes) == c;
    ASSERT_EQ(representable(c), roundTrips) << "U+" << std::hex << u;
    const Text text(1, c);
    const std::string written = encode(text);
    EXPECT_EQ(decode(written), text) << "U+" << std::hex << u;
    EXPECT_EQ(byteLength(text), written.size());
    // U+DC80..U+DCFF stand for bytes that are no character: written back raw,
    // except those of bytes that are characters (half-width katakana), which
    // came from names that were not UTF-8.
    const bool rawByte = u >= 0xDC80 && u <= 0xDCFF && !(u >= 0xDCA1 && u <= 0xDCDF);
    EXPECT_EQ(fileLength(text), roundTrips || rawByte ? 1u : written.size());
    if (rawByte) {
      EXPECT_EQ(written, std::string(1, static_cast<char>(u - 0xDC00)));
    } else if (!roundTrips) {
      EXPECT_EQ(written.substr(0, 3), "&#x");
    }
  }
}

struct DecodeCase {
  const char* behaviour;
  std::string bytes;
  Text text;
};

class Cp932DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(Cp932DecodeTest, Decodes) { EXPECT_EQ(decode(GetParam().bytes), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp932DecodeTest,
    testing::Values(
        DecodeCase{"backslash_is_not_yen",
                   "a\x5C"
                   "b",
                   u"a\\b"},
        DecodeCase{"tilde_is_not_overline", "~", u"~"},
        DecodeCase{"half_width_katakana", "\xA1\xB1\xDF", u"\uFF61\uFF71\uFF9F"},
        DecodeCase{"user_defined_area_first", "\xF0\x40", u"\uE000"},
        DecodeCase{"user_defined_area_last", "\xF9\xFC", u"\uE757"},
        DecodeCase{"trail_byte_5C_is_no_backslash", "\x95\x5C\x83\x5C", u"表ソ"},
        DecodeCase{"trail_byte_7C_is_no_bar", "\x83\x7C|", u"ポ|"},
        DecodeCase{"control_codes_pass", std::string("\x00\x01\x10\x17\x0D\x0A", 6), Text(u"\0\x01\x10\x17\r\n", 6)},
        DecodeCase{"nec_duplicate_reads_as_one_character", "\x87\x90\x81\xE0", u"\u2252\u2252"},
        DecodeCase{"ibm_duplicate_reads_as_one_character", "\xED\x40\xFA\x5C", u"\u7E8A\u7E8A"},
        DecodeCase{"invalid_single_bytes", "\x80\xA0\xFD\xFE\xFF", u"\xDC80\xDCA0\xDCFD\xDCFE\xDCFF"},
        DecodeCase{"lone_lead_byte_keeps_following_marker",
                   "\x81\x10"
                   "x",
                   u"\xDC81\x10x"},
        DecodeCase{"lead_byte_at_end", "a\x81", u"a\xDC81"},
        DecodeCase{"pair_iconv_rejects_keeps_trail", "\x85\x40", u"\xDC85@"},
        DecodeCase{"lead_byte_before_invalid_trail_FD", "\x81\xFD", u"\xDC81\xDCFD"},
        DecodeCase{"escape_of_emoji", "&#x1F600;.png", u"😀.png"},
        DecodeCase{"escape_lower_case_hex", "&#x1f600;&#x4e2c;", u"😀丬"},
        DecodeCase{"escape_six_digits", "&#x10FFFF;", u"\U0010FFFF"},
        DecodeCase{"escape_of_lone_surrogate", "&#xDC81;&#xD800;", u"\xDC81\xD800"},
        DecodeCase{"escape_of_one_way_character", "&#x301C;&#x00A5;", u"〜¥"},
        DecodeCase{"escape_of_representable_stays_text", "&#x41;&#x0010;&#x005C;", u"&#x41;&#x0010;&#x005C;"},
        DecodeCase{"escape_with_three_digits_stays_text", "&#x4E2;", u"&#x4E2;"},
        DecodeCase{"escape_with_seven_digits_stays_text", "&#x001F600;", u"&#x001F600;"},
        DecodeCase{"escape_beyond_unicode_stays_text", "&#x110000;", u"&#x110000;"},
        DecodeCase{"escape_without_semicolon_stays_text", "&#x4E2C", u"&#x4E2C"},
        DecodeCase{"escape_with_capital_X_stays_text", "&#X4E2C;", u"&#X4E2C;"},
        DecodeCase{"escape_inside_ampersands", "&&#x4E2C;&", u"&丬&"}),
    [](const auto& info) { return std::string(info.param.behaviour); });

struct EncodeCase {
  const char* behaviour;
  Text text;
  std::string bytes;
};

class Cp932EncodeTest : public testing::TestWithParam<EncodeCase> {};

TEST_P(Cp932EncodeTest, Encodes) {
  const auto& c = GetParam();
  EXPECT_EQ(encode(c.text), c.bytes);
  EXPECT_EQ(byteLength(c.text), c.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp932EncodeTest,
    testing::Values(EncodeCase{"markers_and_line_breaks_kept", u"\x10name\x11\r\n", "\x10name\x11\r\n"},
                    EncodeCase{"nec_duplicate_written_as_preferred_code", u"\u2252", "\x81\xE0"},
                    EncodeCase{"ibm_duplicate_written_as_preferred_code", u"\u7E8A", "\xFA\x5C"},
                    EncodeCase{"surrogate_pair_is_one_escape", u"a😀b", "a&#x1F600;b"},
                    EncodeCase{"largest_code_point", u"\U0010FFFF", "&#x10FFFF;"},
                    EncodeCase{"lone_high_surrogate",
                               u"\xD800"
                               "a",
                               "&#xD800;a"},
                    EncodeCase{"reversed_pair_is_two_escapes", u"\xDE00\xD83D", "&#xDE00;&#xD83D;"},
                    EncodeCase{"invalid_byte_stand_in", u"\xDC80\xDCFF", "\x80\xFF"},
                    EncodeCase{"chinese_outside_jis", u"丬𠮷野家", "&#x4E2C;&#x20BB7;\x96\xEC\x89\xC6"},
                    EncodeCase{"wave_dash_is_not_fullwidth_tilde", u"〜～", "&#x301C;\x81\x60"},
                    EncodeCase{"yen_sign_is_not_backslash", u"¥\\", "&#x00A5;\\"},
                    EncodeCase{"noncharacter", u"\uFFFF", "&#xFFFF;"},
                    EncodeCase{"many_escapes_grow_the_buffer", Text(40, u'\xD800'),
                               [] {
                                 std::string s;
                                 for (int i = 0; i < 40; ++i) s += "&#xD800;";
                                 return s;
                               }()}),
    [](const auto& info) { return std::string(info.param.behaviour); });

// A file name on the medium, as catalog text, as written to a catalog file.
struct NameCase {
  const char* behaviour;
  std::string native;
  Text text;
  std::string bytes;
  std::size_t fileChars;
};

class Cp932NameTest : public testing::TestWithParam<NameCase> {};

TEST_P(Cp932NameTest, ComesBackUnchanged) {
  const auto& c = GetParam();
  EXPECT_EQ(fromNativeName(c.native), c.text);
  EXPECT_EQ(encode(c.text), c.bytes);
  EXPECT_EQ(byteLength(c.text), c.bytes.size());
  EXPECT_EQ(fileLength(c.text), c.fileChars);
  EXPECT_EQ(decode(c.bytes), c.text);
  EXPECT_EQ(toNativeName(c.text), c.native);
}

std::vector<NameCase> nameCases() {
  return {NameCase{"trail_byte_5C_hyou", "表.txt", u"表.txt", "\x95\x5C.txt", 5},
          NameCase{"trail_byte_5C_so", "ソフト", u"ソフト", "\x83\x5C\x83\x74\x83\x67", 3},
          NameCase{"trail_byte_7C_po", "ポ\\x", u"ポ\\x", "\x83\x7C\\x", 3},
          NameCase{"half_width_katakana", "ｱｲ", u"ｱｲ", "\xB1\xB2", 2},
          NameCase{"emoji", "😀.png", u"😀.png", "&#x1F600;.png", 13},
          NameCase{"chinese_outside_jis", "丬.txt", u"丬.txt", "&#x4E2C;.txt", 12},
          NameCase{"astral_chinese", "𠮷野家", u"𠮷野家", "&#x20BB7;\x96\xEC\x89\xC6", 11},
          NameCase{"wave_dash", "〜", u"〜", "&#x301C;", 8},
          NameCase{"control_character",
                   "a\x01"
                   "b",
                   u"a&#x0001;b", "a&#x0001;b", 10},
          NameCase{"field_marker_character", "x\x10y\x1F", u"x&#x0010;y&#x001F;", "x&#x0010;y&#x001F;", 18},
          NameCase{"delete_character_passes", "a\x7F", u"a\x7F", "a\x7F", 2},
          NameCase{"bytes_not_utf8", "\xFF\xFE.txt", u"\xDCFF\xDCFE.txt", "\xFF\xFE.txt", 6},
          NameCase{"truncated_utf8", "abc\xE3\x81", u"abc\xDCE3\xDC81", "abc&#xDCE3;\x81", 12},
          NameCase{"overlong_utf8", "\xC0\xAF", u"\xDCC0\xDCAF", "&#xDCC0;&#xDCAF;", 16},
          NameCase{"encoded_surrogate", "\xED\xA0\x80", u"\xDCED\xDCA0\xDC80", "&#xDCED;\xA0\x80", 10},
          NameCase{"astral_then_invalid_byte", "\xF0\x90\x82\x80\x80", u"\U00010080\xDC80", "&#x10080;\x80", 10},
          NameCase{"plain_escape_text_stays", "&#x41;", u"&#x41;", "&#x41;", 6},
          NameCase{"literal_emoji_escape_text", "&#x1F600;", u"&#x0026;#x1F600;", "&#x0026;#x1F600;", 16},
          NameCase{"literal_control_escape_text", "&#x0001;", u"&#x0026;#x0001;", "&#x0026;#x0001;", 15},
          NameCase{"literal_guard_text", "&#x0026;", u"&#x0026;#x0026;", "&#x0026;#x0026;", 15},
          NameCase{"lower_case_control_escape_text_stays", "&#x001f;", u"&#x001f;", "&#x001f;", 8}};
}

INSTANTIATE_TEST_SUITE_P(Cases, Cp932NameTest, testing::ValuesIn(nameCases()),
                         [](const auto& info) { return std::string(info.param.behaviour); });

// A catalog-sized text converts exactly as its pieces do, across the chunks
// the conversion works in.
TEST(Cp932Test, LongTextConvertsLikeItsPieces) {
  const auto pieces = nameCases();
  std::mt19937 random(16);
  Text text;
  std::string bytes;
  std::size_t fileChars = 0;
  while (bytes.size() < 200000) {
    const NameCase& piece = pieces[random() % pieces.size()];
    text += piece.text;
    bytes += piece.bytes;
    fileChars += piece.fileChars;
    text += record::marker(random() % 8);
    bytes += static_cast<char>(text.back());
    ++fileChars;
  }
  EXPECT_EQ(encode(text), bytes);
  EXPECT_EQ(decode(bytes), text);
  EXPECT_EQ(byteLength(text), bytes.size());
  EXPECT_EQ(fileLength(text), fileChars);
}

// Names made from pieces that tend to form escapes, invalid UTF-8 and control
// characters, in many orders: all must survive both round trips.
TEST(Cp932Test, AnyNameSurvivesBothRoundTrips) {
  const std::vector<std::string> pieces = {"&",
                                           "#",
                                           "x",
                                           "X",
                                           "0",
                                           "00",
                                           "1",
                                           "1F",
                                           "F",
                                           "f",
                                           "26",
                                           "DC",
                                           "D8",
                                           "6",
                                           "00",
                                           ";",
                                           "a",
                                           "\x01",
                                           "\x10",
                                           "\x1F",
                                           "\x7F",
                                           "\xFF",
                                           "\x80",
                                           "\xE3\x81",
                                           "\xE3\x81\x82",
                                           "\xF0\x9F\x98\x80",
                                           "表",
                                           "〜",
                                           "丬",
                                           ".",
                                           " ",
                                           "&#x",
                                           "&#x00",
                                           "&#x0026;",
                                           "&#x1F600;",
                                           "&#xDCFF;",
                                           "&#x0001;"};
  std::mt19937 random(932);
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> count(1, 12);
  for (int round = 0; round < 20000; ++round) {
    std::string name;
    for (int n = count(random); n > 0; --n) name += pieces[pick(random)];
    const Text text = fromNativeName(name);
    ASSERT_EQ(toNativeName(text), name);
    ASSERT_EQ(toNativeName(decode(encode(text))), name);
    ASSERT_EQ(decode(encode(text)), text);
    ASSERT_EQ(byteLength(text), encode(text).size());
  }
}

TEST(Cp932Test, EveryTwoByteNameSurvivesBothRoundTrips) {
  for (int a = 1; a < 256; ++a) {
    for (int b = 1; b < 256; ++b) {
      if (a == '/' || b == '/') continue;
      const std::string name{static_cast<char>(a), static_cast<char>(b)};
      const Text text = fromNativeName(name);
      ASSERT_EQ(toNativeName(decode(encode(text))), name) << a << " " << b;
    }
  }
}

struct ControlCase {
  char16_t c;
  Text escape;
};

TEST(Cp932Test, EscapeControlWritesFourUpperCaseDigits) {
  const ControlCase cases[] = {{1, u"&#x0001;"}, {0x10, u"&#x0010;"}, {0x1F, u"&#x001F;"}, {0x0A, u"&#x000A;"}};
  for (const auto& c : cases) EXPECT_EQ(escapeControl(c.c), c.escape);
}

TEST(Cp932Test, FileLengthCountsCharactersAndEscapeText) {
  // 81 B1 is no character, so U+DC81 goes out as its byte; a reader walking
  // the bytes takes the lead byte 81 and the byte after it as one character.
  const Text text = u"表a😀\xDC81ｱ";
  EXPECT_EQ(fileLength(text), 1 + 1 + 9 + 1);
  EXPECT_EQ(byteLength(text), 2 + 1 + 9 + 1 + 1);
  EXPECT_EQ(byteLength(text), encode(text).size());
  EXPECT_EQ(decode(encode(text)), text);
  // Before "A", 81 would read as "、": escape text instead.
  const Text joined = Text(1, char16_t(0xDC81)) + u"A";
  EXPECT_EQ(encode(joined), "&#xDC81;A");
  EXPECT_EQ(fileLength(joined), 8u + 1u);
}

// Runs of ASCII of every length before and after a lead byte that takes the
// next byte with it (81 B1, one character), and a run cut into such pieces.
TEST(Cp932Test, FileLengthCountsAsciiRunsOfEveryLengthAroundALeadByte) {
  for (std::size_t before = 0; before <= 9; ++before) {
    for (std::size_t after = 0; after <= 9; ++after) {
      const Text text = Text(before, u'a') + u"\xDC81ｱ" + Text(after, u'c');
      EXPECT_EQ(fileLength(text), before + 1 + after) << before << " " << after;
      EXPECT_EQ(fileLength(Text(before, u'a') + u"表" + Text(after, u'\x10')), before + 1 + after);
    }
  }
  EXPECT_EQ(fileLength(Text(1000, u'x')), 1000u);
  EXPECT_EQ(fileLength(Text(3, u'x') + u"\xDC81ｱ\xDC81ｱ" + Text(6, u'x') + u"😀"), 3u + 2u + 6u + 9u);
}

}  // namespace
}  // namespace zevro::cp932
