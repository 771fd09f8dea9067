#include "search/SearchList.h"

#include "core/FileOps.h"
#include "core/ListFileName.h"

namespace zevro {

namespace {

constexpr std::size_t GenreAt = 1;
constexpr std::size_t MediumLetterAt = 3;

char16_t lowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

char16_t patternLetter(unsigned mediaFilter) {
  switch (mediaFilter) {
    case media::CD: return u'c';
    case media::FD: return u'f';
    case media::HD: return u'h';
    default: return u'?';
  }
}

}  // namespace

bool GenreFilter::admits(TextView fileName) const {
  if (!on) return true;
  if (fileName.size() < GenreAt + 2 || !isDigit(fileName[GenreAt]) || !isDigit(fileName[GenreAt + 1])) return false;
  const std::size_t genre = static_cast<std::size_t>((fileName[GenreAt] - u'0') * 10 + (fileName[GenreAt + 1] - u'0'));
  return genre < list.size() && list[genre] == u'1';
}

Text searchListPattern(unsigned mediaFilter) {
  Text pattern = u"_??";
  pattern += patternLetter(mediaFilter);
  pattern += u"D_*.CCT";
  return pattern;
}

char16_t excludedMediumLetter(unsigned mediaFilter) {
  switch (mediaFilter) {
    case media::CD | media::FD: return u'h';
    case media::CD | media::HD: return u'f';
    case media::FD | media::HD: return u'c';
    default: return 0;
  }
}

std::vector<SearchListEntry> buildSearchList(FileSystem& files, const NativePath& catalogFolder, unsigned mediaFilter) {
  const Text pattern = searchListPattern(mediaFilter);
  const char16_t excluded = excludedMediumLetter(mediaFilter);
  std::vector<SearchListEntry> entries;
  for (DirEntry& e : files.list(catalogFolder)) {
    if (e.isFolder() || e.linkToFolder || e.type == DirEntry::Type::Other) continue;
    Text name = fileops::nameOf(e);
    if (!fileops::matchesWildcard(pattern, name)) continue;
    if (excluded != 0 && lowerAscii(name[MediumLetterAt]) == excluded) continue;
    const int kind = listfilename::mediumKindOf(name);
    entries.push_back({std::move(name), std::move(e.name), kind, {}, e.size, e.modified});
  }
  return entries;
}

}  // namespace zevro
