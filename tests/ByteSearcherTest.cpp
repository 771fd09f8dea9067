#include "search/ByteSearcher.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace zevro {
namespace {

constexpr std::size_t None = std::string_view::npos;

// The text in a heap block of exactly its size, so that a read past its end
// is caught by the address checker.
struct ExactText {
  explicit ExactText(const std::string& s) : bytes(new char[s.size() == 0 ? 1 : s.size()]), size(s.size()) {
    std::copy(s.begin(), s.end(), bytes.get());
  }
  std::string_view view() const { return {bytes.get(), size}; }
  std::unique_ptr<char[]> bytes;
  std::size_t size;
};

TEST(ByteSearcherTest, FindsTheFirstOccurrenceFromAPosition) {
  const std::string kinkakuji = "\x8B\xE0\x8A\x74\x8E\x9B";
  const struct {
    const char* behaviour;
    std::string needle;
    std::string text;
    std::size_t from;
    std::size_t expected;
  } cases[] = {
      {"at the start", "ab", "abab", 0, 0},
      {"from skips earlier ones", "ab", "abab", 1, 2},
      {"at the very end", "ab", "xxab", 0, 2},
      {"one byte", "b", "aab", 0, 2},
      {"empty needle", "", "abc", 0, None},
      {"from at the end", "ab", "ab", 2, None},
      {"from past the end", "ab", "ab", 5, None},
      {"text shorter than the needle", "abc", "ab", 0, None},
      {"first and last agree, middle not", "abcd", "abxdabcd", 0, 4},
      {"at the end of a long text", kinkakuji, std::string(100, 'x') + kinkakuji, 0, 100},
      {"just before the end of a long text", kinkakuji, std::string(99, 'x') + kinkakuji + "y", 3, 99},
      {"first byte of a double-byte pair", "\x83\x5C", std::string(40, '\x83') + "\x5C", 0, 39},
  };
  for (const auto& c : cases) {
    const ExactText text(c.text);
    EXPECT_EQ(ByteSearcher(c.needle).find(text.view(), c.from), c.expected) << c.behaviour;
  }
}

TEST(ByteSearcherTest, AgreesWithAPlainSearchOnRandomTexts) {
  std::mt19937 random(12345);
  // Few distinct bytes, so that occurrences and near misses are frequent.
  const std::string alphabet = "ab\x10\x83\x5C";
  const auto randomText = [&](std::size_t length) {
    std::string s(length, ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::string needle = randomText(1 + random() % 6);
    const ExactText text(randomText(random() % 120));
    const std::size_t from = random() % (text.size + 2);
    EXPECT_EQ(ByteSearcher(needle).find(text.view(), from), text.view().find(needle, from))
        << "round " << round;
  }
}

}  // namespace
}  // namespace zevro
