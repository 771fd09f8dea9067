#include "text/tablegen/Cp932TableBuilder.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <string>

// Two things differ from the converter on purpose:
//   - A character the converter only maps one way (it writes U+301C WAVE DASH
//     as 81 60, which reads back as U+FF5E; likewise U+00A5 -> 5C, U+203E -> 7E,
//     U+2014, U+2016, U+2212, U+00A2, U+00A3, U+00AC) counts as one CP932 does
//     not hold and is written as an escape, so that a name keeps its exact
//     characters and still finds its file on the medium.
//   - NEC and IBM duplicates (87 90 and 81 E0 both read as U+2252) read as one
//     character and are written back as the converter's preferred code, so such
//     bytes may change when a file is saved again; the text does not.

namespace zevro::cp932::tablegen {

namespace {

// One iconv conversion descriptor; converts short pieces for table building.
class Converter {
public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("no character converter from ") + from + " to " + to);
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  enum class Result { Ok, Incomplete, Invalid };

  // Converts all of `in`; `outLength` receives the bytes written.
  Result convert(const char* in, std::size_t inLength, char* out, std::size_t outCapacity, std::size_t& outLength) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    std::size_t inLeft = inLength;
    std::size_t outLeft = outCapacity;
    const std::size_t r = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
    outLength = outCapacity - outLeft;
    if (r == static_cast<std::size_t>(-1)) return errno == EINVAL ? Result::Incomplete : Result::Invalid;
    if (inLeft != 0 || iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
      return Result::Invalid;
    outLength = outCapacity - outLeft;
    return Result::Ok;
  }

private:
  iconv_t cd_;
};

// The single UTF-16LE unit in out[0..1] when exactly one was written, else 0.
char16_t oneUnit(Converter::Result r, const char* out, std::size_t length) {
  if (r != Converter::Result::Ok || length != 2) return 0;
  return static_cast<char16_t>(static_cast<unsigned char>(out[0]) | (static_cast<unsigned char>(out[1]) << 8));
}

void buildDecodeTables(BuiltTables& t, std::array<bool, 256>& validSingle) {
  Converter toUtf16("UTF-16LE", "CP932");
  char out[16];
  std::size_t length = 0;
  unsigned rows = 0;
  for (unsigned b = 0; b < 256; ++b) {
    // 0x00..0x7F are always characters of their own: field markers and
    // line breaks of the file formats live there.
    if (b < 0x80) {
      t.single[b] = static_cast<char16_t>(b);
      validSingle[b] = true;
      continue;
    }
    const char in = static_cast<char>(b);
    const auto r = toUtf16.convert(&in, 1, out, sizeof out, length);
    t.single[b] = static_cast<char16_t>(InvalidByteBase + b);
    if (r == Converter::Result::Incomplete) {
      t.leadRow[b] = static_cast<std::uint8_t>(++rows);
    } else if (const char16_t u = oneUnit(r, out, length); u != 0) {
      t.single[b] = u;
      validSingle[b] = true;
    }
  }
  t.pairs.assign((rows + 1) * 256, 0);
  for (unsigned lead = 0x80; lead < 256; ++lead) {
    const unsigned row = t.leadRow[lead];
    if (row == 0) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      const auto r = toUtf16.convert(in, 2, out, sizeof out, length);
      t.pairs[row * 256 + trail] = oneUnit(r, out, length);
    }
  }
}

void buildEncodeTable(BuiltTables& t, const std::array<bool, 256>& validSingle) {
  t.codes.assign(0x10000, NoCode);
  std::vector<char16_t> duplicates;
  const auto claim = [&](char16_t u, std::uint16_t code) {
    if (t.codes[u] == NoCode)
      t.codes[u] = code;
    else
      duplicates.push_back(u);
  };
  for (unsigned b = 0; b < 256; ++b) {
    if (validSingle[b]) claim(t.single[b], static_cast<std::uint16_t>(b));
  }
  for (unsigned lead = 0x80; lead < 256; ++lead) {
    const unsigned row = t.leadRow[lead];
    for (unsigned trail = 0; row != 0 && trail < 256; ++trail) {
      if (const char16_t u = t.pairs[row * 256 + trail]; u != 0)
        claim(u, static_cast<std::uint16_t>(lead << 8 | trail));
    }
  }
  // A character with several codes (NEC and IBM rows) is written the way
  // the converter writes it.
  std::sort(duplicates.begin(), duplicates.end());
  duplicates.erase(std::unique(duplicates.begin(), duplicates.end()), duplicates.end());
  Converter toCp932("CP932", "UTF-16LE");
  for (const char16_t u : duplicates) {
    const char in[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    char out[16];
    std::size_t length = 0;
    if (toCp932.convert(in, 2, out, sizeof out, length) != Converter::Result::Ok) continue;
    const auto byte = [&](int k) { return static_cast<std::uint16_t>(static_cast<unsigned char>(out[k])); };
    const std::uint16_t code = length == 1   ? byte(0)
                               : length == 2 ? static_cast<std::uint16_t>(byte(0) << 8 | byte(1))
                                             : NoCode;
    if (code != NoCode && t.decodeCode(code) == u) t.codes[u] = code;
  }
}

BuiltTables buildTablesNow() {
  BuiltTables t;
  std::array<bool, 256> validSingle{};
  buildDecodeTables(t, validSingle);
  buildEncodeTable(t, validSingle);
  return t;
}

}  // namespace

BuiltTables buildFromConverter() { return buildTablesNow(); }

}  // namespace zevro::cp932::tablegen
