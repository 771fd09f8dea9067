#include "app/cli/ReadProgress.h"

#include <ostream>

#include "core/Numbers.h"

namespace zevro::cli {

namespace {

constexpr auto Interval = std::chrono::milliseconds(100);
constexpr int LineColumns = 79;
constexpr const char* ClearLine = "\r\x1b[K";

// Columns a character takes on a terminal: two for the wide East Asian
// blocks, one for the rest (half-width kana included).
int columnsOf(char32_t c) {
  if (c >= 0xFF61 && c <= 0xFF9F) return 1;
  if ((c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
      (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
      (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000)
    return 2;
  return 1;
}

std::string grouped(int n) { return toUtf8(groupedNumber(n)); }

}  // namespace

ReadProgress::ReadProgress(std::ostream& err)
    : err_(err), start_(std::chrono::steady_clock::now()), throttle_([this] { return draw(); }, Interval) {}

WalkCallbacks ReadProgress::callbacks() {
  WalkCallbacks c;
  c.showFolder = [this](TextView path) {
    // The first folder is the medium (or folder) being read, not one of its folders.
    if (!folder_.empty()) ++folders_;
    folder_ = path;
  };
  c.showCount = [this](int count) { count_ = count; };
  c.pump = [this] { return throttle_(); };
  return c;
}

std::string ReadProgress::countText(int files, int folders) {
  return grouped(files) + (files == 1 ? " file, " : " files, ") + grouped(folders) +
         (folders == 1 ? " folder" : " folders");
}

std::string ReadProgress::elapsedText(std::chrono::steady_clock::duration elapsed) {
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
  const auto two = [](long long n) { return (n < 10 ? "0" : "") + std::to_string(n); };
  if (seconds >= 3600) return std::to_string(seconds / 3600) + ':' + two(seconds / 60 % 60) + ':' + two(seconds % 60);
  return std::to_string(seconds / 60) + ':' + two(seconds % 60);
}

std::string ReadProgress::fittedTail(TextView path, int columns) {
  int used = 0;
  std::size_t from = path.size();
  while (from > 0) {
    std::size_t at = from - 1;
    char32_t c = path[at];
    if (c >= 0xDC00 && c <= 0xDFFF && at > 0 && path[at - 1] >= 0xD800 && path[at - 1] <= 0xDBFF) {
      --at;
      c = 0x10000 + ((static_cast<char32_t>(path[at]) - 0xD800) << 10) + (c - 0xDC00);
    }
    const int width = columnsOf(c);
    // Room for the "…" in front when something is cut.
    if (used + width > columns - (at > 0 ? 1 : 0)) break;
    used += width;
    from = at;
  }
  if (from == 0) return toUtf8(path);
  return "…" + toUtf8(path.substr(from));
}

bool ReadProgress::draw() {
  // The walk counts files and folders together; each folder is shown once.
  const int files = count_ > folders_ ? count_ - folders_ : 0;
  std::string line = countText(files, folders_) + "  " + elapsedText(std::chrono::steady_clock::now() - start_);
  const int room = LineColumns - static_cast<int>(line.size()) - 2;
  if (room > 4 && !folder_.empty()) line += "  " + fittedTail(folder_, room);
  err_ << ClearLine << line << std::flush;
  return true;
}

void ReadProgress::finish(int files, int folders) {
  err_ << ClearLine << countText(files, folders) << " read in "
       << elapsedText(std::chrono::steady_clock::now() - start_) << '\n'
       << std::flush;
}

}  // namespace zevro::cli
