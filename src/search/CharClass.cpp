#include "search/CharClass.h"

namespace zevro {

namespace {

bool inRange(char16_t c, char16_t first, char16_t last) { return c >= first && c <= last; }

// The code page's single-byte characters: ASCII, half-width katakana, and the
// raw bytes the codec keeps as U+DC80..U+DCFF (byte 0xA0 among them, which
// sits with the half-width katakana).
constexpr char16_t RawByteFirst = 0xDC80;
constexpr char16_t RawByteLast = 0xDCFF;
constexpr char16_t RawKanaFirst = 0xDCA0;
constexpr char16_t RawKanaLast = 0xDCDF;

int asciiClass(char16_t c) {
  if (inRange(c, u'0', u'9')) return 1;
  if (inRange(c, u'A', u'Z') || inRange(c, u'a', u'z') || c == u'_') return 2;
  return EmptyCharClass;
}

bool isWordSeparator(char16_t c) {
  switch (c) {
    case 0x3000:  // 　
    case 0x3001:  // 、
    case 0x3002:  // 。
    case 0xFF0C:  // ，
    case 0xFF0E:  // ．
    case 0xFF1B:  // ；
    case 0xFF1A:  // ：
      return true;
    default: return inRange(c, 0xFF01, 0xFF0F);  // ！ .. ／
  }
}

}  // namespace

int CharClass(char16_t c) {
  if (c < 0x80) return asciiClass(c);
  if (inRange(c, 0xFF61, 0xFF9F)) return 3;
  if (inRange(c, RawByteFirst, RawByteLast)) return inRange(c, RawKanaFirst, RawKanaLast) ? 3 : EmptyCharClass;
  if (isWordSeparator(c)) return EmptyCharClass;
  if (inRange(c, 0xFF10, 0xFF19)) return 1;
  if (inRange(c, 0xFF21, 0xFF3A) || inRange(c, 0xFF41, 0xFF5A)) return 2;
  if (inRange(c, 0x3041, 0x3093) || inRange(c, 0x30A1, 0x30F4) || c == 0x30FC) return 3;
  return 4;
}

int CharClassAt(TextView text, std::size_t i) { return i < text.size() ? CharClass(text[i]) : EmptyCharClass; }

bool StartsWord(TextView text, std::size_t pos, TextStart start) {
  if (pos == 0 && start == TextStart::WordBoundary) return true;
  return CharClassAt(text, pos - 1) != CharClassAt(text, pos);
}

bool EndsWord(TextView text, std::size_t end) { return CharClassAt(text, end - 1) != CharClassAt(text, end); }

bool IsWholeWord(TextView text, std::size_t pos, std::size_t length, TextStart start) {
  return StartsWord(text, pos, start) && EndsWord(text, pos + length);
}

}  // namespace zevro
