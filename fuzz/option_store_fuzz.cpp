// Fuzzes the option file's parser and writer (ProfileDocument and the value
// codec) with arbitrary file contents and values. Not part of the normal
// build; build and run it by hand from the repository's top folder, after a
// normal build (which generates build/generated/Cp932Tables.cpp):
//
//   clang++-14 -g -O1 -std=c++20 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I src \
//     fuzz/option_store_fuzz.cpp src/core/ProfileDocument.cpp src/core/OptionValue.cpp \
//     src/text/Cp932.cpp src/core/Strings.cpp src/core/Numbers.cpp src/text/Text.cpp \
//     build/generated/Cp932Tables.cpp -o /tmp/option_store_fuzz
//   mkdir -p /tmp/option_store_corpus && /tmp/option_store_fuzz -max_total_time=300 /tmp/option_store_corpus
//
// Input: byte 0 picks the key, byte 1 the length of the value (its bytes are
// CP932), the rest is the option file. What must hold for every input:
//   - an untouched file gives back exactly its bytes;
//   - the value forms survive: the number a value reads as is written and
//     read back as the same number, and a colour as the same 32 bits;
//   - after storing a value, the file read afresh gives the value back as a
//     new file would, and every line that was there before is still there in
//     the same order, byte for byte, apart from the one line of the key.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/OptionValue.h"
#include "core/ProfileDocument.h"
#include "text/Cp932.h"

namespace {

using zevro::ProfileDocument;
using zevro::Text;
using zevro::TextView;

constexpr TextView Section = u"Options";
constexpr TextView Keys[] = {u"ListInterleave", u"listinterleave", u"K", u"Group00", u"ForeColor12", u"CatalogDir"};

void check(bool ok) {
  if (!ok) std::abort();
}

// Lines without their ends ("\r\n" or "\n"); a last line without an end counts.
std::vector<std::string_view> linesOf(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t lf = bytes.find('\n', start);
    if (lf == std::string_view::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    std::string_view line = bytes.substr(start, lf - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    start = lf + 1;
  }
  return lines;
}

// The lines of before are all in after, in their order, except at one place
// where at most one line was replaced and at most two were added.
void checkLinesKept(std::string_view before, std::string_view after) {
  const std::vector<std::string_view> old = linesOf(before);
  const std::vector<std::string_view> now = linesOf(after);
  const std::size_t shorter = std::min(old.size(), now.size());
  std::size_t prefix = 0;
  while (prefix < shorter && old[prefix] == now[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (prefix + suffix < shorter && old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix]) ++suffix;
  const std::size_t oldMiddle = old.size() - prefix - suffix;
  const std::size_t newMiddle = now.size() - prefix - suffix;
  check(oldMiddle <= 1);
  check(newMiddle <= 2 && newMiddle >= oldMiddle);
}

void checkValueForms(TextView value) {
  const std::int64_t n = zevro::optval::leadingNumber(value);
  check(zevro::optval::leadingNumber(zevro::optval::numberText(n)) == n);
  const std::uint32_t colour = zevro::optval::colourOf(value);
  check(zevro::optval::colourOf(zevro::optval::colourText(colour)) == colour);
  check(zevro::optval::isOn(value) == zevro::optval::isOn(zevro::optval::onOffText(zevro::optval::isOn(value))));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const TextView key = Keys[data[0] % (sizeof Keys / sizeof Keys[0])];
  const std::size_t valueLength = std::min<std::size_t>(data[1], size - 2);
  const std::string_view input(reinterpret_cast<const char*>(data) + 2, size - 2);
  const Text value = zevro::cp932::decode(input.substr(0, valueLength));
  const std::string_view file = input.substr(valueLength);

  ProfileDocument document(file);
  check(document.bytes() == file);
  if (std::optional<Text> stored = document.value(Section, key)) checkValueForms(*stored);
  checkValueForms(value);

  // What a new file gives back for the value: the reference.
  ProfileDocument fresh;
  check(fresh.setValue(Section, key, value));
  const std::optional<Text> expected = ProfileDocument(fresh.bytes()).value(Section, key);
  check(expected.has_value());

  const bool changed = document.setValue(Section, key, value);
  const std::string written = document.bytes();
  if (!changed) check(written == file);
  const std::optional<Text> reread = ProfileDocument(written).value(Section, key);
  check(reread == expected);
  checkLinesKept(file, written);

  // Storing the same value again changes nothing.
  check(!document.setValue(Section, key, value));
  check(document.bytes() == written);
  return 0;
}
