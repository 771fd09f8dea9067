#include "core/SearchHistory.h"

#include "core/FileOps.h"
#include "core/ShutdownMessages.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr char EndOfText = 0x1A;
constexpr std::string_view FileEnd{"\x1A\0", 2};

// The lines of the text up to its first code 26; a line ends with CR LF, LF
// or CR (none of them is ever the second byte of a CP932 character), and a
// last line without an end counts.
std::vector<std::string_view> linesOf(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find(EndOfText));
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(bytes.substr(start));
      break;
    }
    lines.push_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

// A word as one line that reads back whole.
std::string lineOf(TextView word) {
  Text clean(word);
  for (char16_t& c : clean)
    if (c == ch::CR || c == ch::LF || c == EndOfText) c = u' ';
  return cp932::encode(clean);
}

void appendWords(std::string& out, const std::vector<Text>& words) {
  for (const Text& word : words) {
    if (word.empty()) continue;
    out += lineOf(word);
    out += LineEnd;
  }
}

std::vector<Text> wordsOf(const std::vector<std::string_view>& lines, std::size_t first) {
  std::vector<Text> words;
  for (std::size_t i = first; i < lines.size(); ++i)
    if (!lines[i].empty()) words.push_back(cp932::decode(lines[i]));
  return words;
}

// The file's bytes; false when it is missing or cannot be read.
bool readBytes(FileSystem& files, const NativePath& file, std::string& bytes) {
  return !files.readFile(fileops::resolved(files, file), bytes);
}

bool writeOrReport(Platform& platform, const NativePath& file, const std::string& bytes) {
  if (!platform.files.writeFileAtomic(fileops::resolved(platform.files, file), bytes)) return true;
  platform.ui.showMessage(fileWriteErrorText(file), mb::Ok, u"");
  return false;
}

}  // namespace

// --- Catalog.Opt ------------------------------------------------------------

SearchWordHistory parseSearchWords(std::string_view bytes) {
  SearchWordHistory history;
  std::vector<std::string_view> lines = linesOf(bytes);
  if (lines.empty()) return history;
  history.firstLine = std::string(lines[0]);
  if (lines.size() > 1) history.secondLine = std::string(lines[1]);
  history.words = wordsOf(lines, 2);
  return history;
}

std::string searchWordBytes(const SearchWordHistory& history) {
  std::string out = history.firstLine;
  out += LineEnd;
  out += history.secondLine;
  out += LineEnd;
  appendWords(out, history.words);
  out += FileEnd;
  return out;
}

SearchWordHistory readSearchWords(FileSystem& files, const NativePath& file) {
  std::string bytes;
  if (!readBytes(files, file, bytes)) return {};
  return parseSearchWords(bytes);
}

bool saveSearchWords(Platform& platform, const NativePath& file, const std::vector<Text>& words) {
  SearchWordHistory history = readSearchWords(platform.files, file);
  history.words = words;
  return writeOrReport(platform, file, searchWordBytes(history));
}

// --- SearchText.Opt ---------------------------------------------------------

std::vector<Text> parseSecondTerms(std::string_view bytes) { return wordsOf(linesOf(bytes), 0); }

std::string secondTermBytes(const std::vector<Text>& terms) {
  std::string out;
  appendWords(out, terms);
  return out;
}

std::vector<Text> readSecondTerms(FileSystem& files, const NativePath& file) {
  std::string bytes;
  if (!readBytes(files, file, bytes)) return {};
  return parseSecondTerms(bytes);
}

bool saveSecondTerms(Platform& platform, const NativePath& file, const std::vector<Text>& terms) {
  return writeOrReport(platform, file, secondTermBytes(terms));
}

}  // namespace zevro
