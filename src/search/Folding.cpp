#include "search/Folding.h"

#include <array>

namespace zevro {

namespace {

constexpr char16_t AsciiBlank = 0x20;
constexpr char16_t AsciiFirst = 0x21;
constexpr char16_t AsciiLast = 0x7E;
constexpr char16_t FullWidthOffset = 0xFEE0;  // '!' + offset = '！'

constexpr char16_t HalfFirst = 0xFF61;       // ｡
constexpr char16_t HalfLast = 0xFF9F;        // ﾟ
constexpr char16_t HalfVoiced = 0xFF9E;      // ﾞ
constexpr char16_t HalfSemiVoiced = 0xFF9F;  // ﾟ
constexpr char16_t HalfU = 0xFF73;           // ｳ
constexpr char16_t HalfKa = 0xFF76;          // ｶ
constexpr char16_t HalfTo = 0xFF84;          // ﾄ
constexpr char16_t HalfHa = 0xFF8A;          // ﾊ
constexpr char16_t HalfHo = 0xFF8E;          // ﾎ
constexpr char16_t FullVu = 0x30F4;          // ヴ

// Full-width forms of ｡ (U+FF61) .. ﾟ (U+FF9F), in order.
constexpr std::array<char16_t, HalfLast - HalfFirst + 1> FullOfHalf = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3,  // ｡｢｣､･ｦｧｨ
    0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC,  // ｩｪｫｬｭｮｯｰ
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF,  // ｱｲｳｴｵｶｷｸ
    0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF,  // ｹｺｻｼｽｾｿﾀ
    0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD,  // ﾁﾂﾃﾄﾅﾆﾇﾈ
    0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF,  // ﾉﾊﾋﾌﾍﾎﾏﾐ
    0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9, 0x30EA,  // ﾑﾒﾓﾔﾕﾖﾗﾘ
    0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,          // ﾙﾚﾛﾜﾝﾞﾟ
};

// Full-width characters that take part in width folding besides the images
// of ASCII letters, digits and katakana: the punctuation a half-width
// character folds to, and the forms Japanese input gives for ' " \.
constexpr char16_t FoldPunctuation[] = {
    0x3000,                                                          // 　
    0xFF0C, 0xFF0E, 0xFF1A, 0xFF1B, 0xFF1F, 0xFF01, 0xFF3E, 0xFF3F,  // ，．：；？！＾＿
    0x30FC, 0xFF0F, 0xFF5E, 0xFF5C, 0x2019, 0x201D,                  // ー／～｜’”
    0xFF08, 0xFF09, 0xFF3B, 0xFF3D, 0xFF5B, 0xFF5D, 0x300C, 0x300D,  // （）［］｛｝「」
    0xFF0B, 0xFF0D, 0xFF1D, 0xFF1C, 0xFF1E, 0xFFE5,                  // ＋－＝＜＞￥
    0xFF04, 0xFF05, 0xFF03, 0xFF06, 0xFF0A, 0xFF20,                  // ＄％＃＆＊＠
    0x0391,  // Α: its code lies in the full-width katakana block of the code page
};

bool inRange(char16_t c, char16_t first, char16_t last) { return c >= first && c <= last; }

bool isHalfWidth(char16_t c) { return inRange(c, AsciiBlank, AsciiLast) || inRange(c, HalfFirst, HalfLast); }

bool isFoldPunctuation(char16_t c) {
  for (char16_t p : FoldPunctuation)
    if (p == c) return true;
  return false;
}

bool isFullWidthAlnumOrKatakana(char16_t c) {
  return inRange(c, 0xFF10, 0xFF19)      // ０..９
         || inRange(c, 0xFF21, 0xFF3A)   // Ａ..Ｚ
         || inRange(c, 0xFF41, 0xFF5A)   // ａ..ｚ
         || inRange(c, 0x30A1, 0x30F6);  // ァ..ヶ
}

bool takesVoicedMark(char16_t c) { return c == HalfU || inRange(c, HalfKa, HalfTo) || inRange(c, HalfHa, HalfHo); }

bool takesSemiVoicedMark(char16_t c) { return inRange(c, HalfHa, HalfHo); }

// The full-width character for a half-width one and the mark after it;
// joined tells whether the mark was used.
char16_t fullWidthOf(char16_t c, char16_t next, bool& joined) {
  joined = false;
  if (c == AsciiBlank) return ch::IdeographicSpace;
  if (inRange(c, AsciiFirst, AsciiLast)) return static_cast<char16_t>(c + FullWidthOffset);
  const char16_t full = FullOfHalf[c - HalfFirst];
  if (next == HalfVoiced && takesVoicedMark(c)) {
    joined = true;
    return c == HalfU ? FullVu : static_cast<char16_t>(full + 1);  // カ -> ガ, ハ -> バ
  }
  if (next == HalfSemiVoiced && takesSemiVoicedMark(c)) {
    joined = true;
    return static_cast<char16_t>(full + 2);  // ハ -> パ
  }
  return full;
}

// The full-width forms that stand for the same character as another one.
char16_t sameAs(char16_t c) {
  switch (c) {
    case 0x2019: return 0xFF07;  // ’ -> ＇
    case 0x201D: return 0xFF02;  // ” -> ＂
    case 0xFFE5: return 0xFF3C;  // ￥ -> ＼
    default: return c;
  }
}

void appendFullWidth(TextView text, Text& out) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (!isHalfWidth(c)) {
      out.push_back(sameAs(c));
      continue;
    }
    const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
    bool joined = false;
    out.push_back(fullWidthOf(c, next, joined));
    if (joined) ++i;
  }
}

}  // namespace

bool NeedWidthFold(TextView text) {
  for (char16_t c : text)
    if (isHalfWidth(c) || isFullWidthAlnumOrKatakana(c) || isFoldPunctuation(c)) return true;
  return false;
}

bool HasLatinLetter(TextView text) {
  for (char16_t c : text)
    if (inRange(c, u'A', u'Z') || inRange(c, u'a', u'z') || inRange(c, 0xFF21, 0xFF3A) || inRange(c, 0xFF41, 0xFF5A))
      return true;
  return false;
}

Text toFullWidth(TextView text) {
  Text out;
  out.reserve(text.size());
  appendFullWidth(text, out);
  return out;
}

void toUpperLatin(Text& text) {
  for (char16_t& c : text) {
    if (inRange(c, u'a', u'z') || inRange(c, 0xFF41, 0xFF5A)) c = static_cast<char16_t>(c - 0x20);
  }
}

void foldText(TextView text, bool width, bool upper, Text& out) {
  out.clear();
  if (width) {
    out.reserve(text.size());
    appendFullWidth(text, out);
  } else {
    out.assign(text);
  }
  if (upper) toUpperLatin(out);
}

}  // namespace zevro
