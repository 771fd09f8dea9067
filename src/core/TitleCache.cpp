#include "core/TitleCache.h"

#include <algorithm>

#include "core/FileOps.h"
#include "platform/WriteLock.h"
#include "text/Cp932.h"

namespace zevro {

int driveSlot(char letter) {
  if (letter >= 'a' && letter <= 'z') return letter - 'a';
  if (letter >= 'A' && letter <= 'Z') return letter - 'A';
  return -1;
}

const Text& TitleCache::title(char letter) const {
  static const Text none;
  const int slot = driveSlot(letter);
  return slot < 0 ? none : titles_[static_cast<std::size_t>(slot)];
}

void TitleCache::setTitle(char letter, TextView title) {
  const int slot = driveSlot(letter);
  if (slot < 0) return;
  Text stored(title);
  std::replace_if(
      stored.begin(), stored.end(), [](char16_t c) { return c == ch::CR || c == ch::LF; }, u' ');
  titles_[static_cast<std::size_t>(slot)] = std::move(stored);
}

std::string TitleCache::encode() const {
  Text text;
  for (const Text& t : titles_) text += t + u"\r\n";
  return cp932::encode(text);
}

TitleCache TitleCache::decode(std::string_view bytes) {
  TitleCache cache;
  const Text text = cp932::decode(bytes);
  TextView rest(text);
  for (std::size_t k = 0; k < cache.titles_.size() && !rest.empty(); ++k) {
    const std::size_t end = rest.find_first_of(u"\r\n");
    cache.titles_[k] = Text(rest.substr(0, end));
    if (end == TextView::npos) break;
    const bool crlf = rest[end] == ch::CR && end + 1 < rest.size() && rest[end + 1] == ch::LF;
    rest.remove_prefix(end + (crlf ? 2 : 1));
  }
  return cache;
}

IoError TitleCache::load(FileSystem& files, const NativePath& programFolder) {
  const NativePath path = fileops::resolved(files, programFolder / FileName);
  *this = TitleCache();
  if (!files.stat(path)) return {};
  std::string bytes;
  if (IoError error = files.readFile(path, bytes)) return error;
  *this = decode(bytes);
  return {};
}

IoError TitleCache::write(FileSystem& files, const NativePath& programFolder) const {
  WriteLock lock(programFolder);
  if (!lock) return {lock.error().code, lock.message()};
  return files.writeFileAtomic(fileops::resolved(files, programFolder / FileName), encode());
}

}  // namespace zevro
