#include "core/GenreTable.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "core/FileOps.h"
#include "core/ListFile.h"
#include "core/Numbers.h"
#include "core/OptionKeys.h"
#include "platform/WriteLock.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr char16_t NameSep = u'|';
constexpr char16_t NameSepStandIn = u'｜';
constexpr int MaxPosition = 99;

bool valid(int g) { return g >= 0 && g < GenreTable::Count; }
std::size_t slot(int g) { return static_cast<std::size_t>(g); }

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// "00".."99" -> 0..99; "-1" and anything else -> free.
int positionOf(TextView two) {
  if (two.size() == 2 && isDigit(two[0]) && isDigit(two[1])) return (two[0] - u'0') * 10 + (two[1] - u'0');
  return GenreTable::FreePosition;
}

Text positionText(int position) { return position == GenreTable::FreePosition ? Text(u"-1") : zeroPadded(position, 2); }

// The text padded with code 0 (or cut) to width characters.
Text padded(Text text, std::size_t width) {
  text.resize(width, ch::Null);
  return text;
}

// The part [from, from + width) of the text, clipped.
TextView part(TextView text, std::size_t from, std::size_t width) {
  if (from >= text.size()) return {};
  return text.substr(from, width);
}

Text genreDigits(int g) { return zeroPadded(g, 2); }

}  // namespace

GenreTable::GenreTable() : state_(Count, Closed) { positions_.fill(FreePosition); }

int GenreTable::position(int g) const { return valid(g) ? positions_[slot(g)] : FreePosition; }

void GenreTable::setPosition(int g, int position) {
  if (!valid(g)) return;
  positions_[slot(g)] = position >= 0 && position <= MaxPosition ? position : FreePosition;
}

const Text& GenreTable::name(int g) const {
  static const Text none;
  return valid(g) ? names_[slot(g)] : none;
}

void GenreTable::setName(int g, TextView name) {
  if (!valid(g)) return;
  names_[slot(g)] = storableName(name);
}

Text GenreTable::storableName(TextView name) {
  Text stored;
  stored.reserve(name.size());
  for (char16_t c : name) {
    if (c < u' ' || c == 0x7F) continue;
    stored += c == NameSep ? NameSepStandIn : c;
  }
  return stored;
}

std::size_t GenreTable::namesLength(int g, TextView name) const {
  std::size_t n = 1;
  for (int k = 0; k < Count; ++k) {
    n += (valid(g) && k == g ? cp932::fileLength(storableName(name)) : cp932::fileLength(names_[slot(k)])) + 1;
  }
  return n;
}

int GenreTable::lowestFree() const {
  for (int g = 0; g < Count; ++g)
    if (!inUse(g)) return g;
  return -1;
}

int GenreTable::nextPosition() const {
  int next = 0;
  for (int g = 0; g < Count; ++g) next = std::max(next, positions_[slot(g)] + 1);
  return next;
}

int GenreTable::genreAt(int position) const {
  if (position < 0) return -1;
  for (int g = 0; g < Count; ++g)
    if (positions_[slot(g)] == position) return g;
  return -1;
}

std::vector<int> GenreTable::inOrder() const {
  std::vector<int> order;
  for (int g = 0; g < Count; ++g)
    if (inUse(g)) order.push_back(g);
  std::stable_sort(order.begin(), order.end(),
                   [this](int a, int b) { return positions_[slot(a)] < positions_[slot(b)]; });
  return order;
}

void GenreTable::renumber() {
  int next = 0;
  for (int g : inOrder()) positions_[slot(g)] = next++;
}

char16_t GenreTable::state(int g) const { return valid(g) ? state_[slot(g)] : Closed; }

void GenreTable::setState(int g, char16_t state) {
  if (!valid(g) || state == ch::Null) return;
  state_[slot(g)] = state;
}

std::string GenreTable::encode() const {
  Text order;
  for (int g = 0; g < Count; ++g) order += positionText(positions_[slot(g)]);
  Text names(1, NameSep);
  for (const Text& n : names_) names += n + NameSep;

  Text text = padded(order, OrderWidth) + padded(state_, StateWidth) +
              zeroPadded(static_cast<std::int64_t>(cp932::fileLength(names)), LengthWidth) + names;
  return cp932::encode(text);
}

GenreTable GenreTable::decode(std::string_view bytes) {
  GenreTable table;
  const Text text = cp932::decode(bytes);
  const TextView all(text);

  const TextView order = part(all, 0, OrderWidth);
  for (int g = 0; g < Count; ++g) table.positions_[slot(g)] = positionOf(part(order, slot(g) * 2, 2));

  const TextView state = part(all, StateOffset, Count);
  for (int g = 0; g < Count && slot(g) < state.size(); ++g) table.setState(g, state[slot(g)]);

  // The names are found by their separators; the length field is not needed
  // (older writers counted it in bytes, not characters).
  TextView names = part(all, NamesOffset, TextView::npos);
  if (!names.starts_with(NameSep)) return table;
  names.remove_prefix(1);
  for (int g = 0; g < Count; ++g) {
    const std::size_t end = names.find(NameSep);
    if (end == TextView::npos) break;  // a name without its closing "|" is cut off
    table.names_[slot(g)] = Text(names.substr(0, end));
    names.remove_prefix(end + 1);
  }
  return table;
}

GenreTable::Options GenreTable::optionsFrom(const OptionStore& store) {
  Options options;
  options.janreOpen = store.readText(opt::JanreOpen, u"");
  for (int g = 0; g < Count; ++g) options.groupNames[slot(g)] = store.readText(opt::groupKey(g), u"");
  return options;
}

GenreTable GenreTable::migrate(FileSystem& files, const NativePath& catalogFolder, const Options& options) {
  GenreTable table;
  for (int g = 0; g < Count && slot(g) < options.janreOpen.size(); ++g) table.setState(g, options.janreOpen[slot(g)]);

  int next = 0;
  for (int g = 0; g < Count; ++g) {
    const Text& optionName = options.groupNames[slot(g)];
    const bool hasFiles =
        optionName.empty() && fileops::fileExists(files, catalogFolder, u"_" + genreDigits(g) + u"?D_*.CCT");
    if (optionName.empty() && !hasFiles) continue;
    table.setName(g, optionName.empty() ? opt::defaultGenreName(g) : optionName);
    table.setPosition(g, next++);
  }
  if (next > 0) return table;

  // An empty folder still starts with three genres to choose from.
  for (int g = 0; g < 3; ++g) {
    table.setName(g, opt::defaultGenreName(g));
    table.setPosition(g, g);
  }
  return table;
}

GenreTable::Loaded GenreTable::load(FileSystem& files, const NativePath& catalogFolder, const Options& options,
                                    const NativePath& programFolder) {
  Loaded result;
  std::optional<WriteLock> lock;
  if (!programFolder.empty() && !lock.emplace(programFolder)) {
    result.error = {lock->error().code, lock->message()};
    return result;
  }
  const NativePath path = fileops::resolved(files, catalogFolder / FileName);
  if (files.stat(path)) {
    std::string bytes;
    result.error = files.readFile(path, bytes, listfile::MaxFileSize);
    // A table that exists but cannot be read is left for the user to repair
    // rather than replaced by one built from the options.
    if (!result.error) result.table = decode(bytes);
    return result;
  }
  result.table = migrate(files, catalogFolder, options);
  result.migrated = true;
  result.error = result.table.write(files, catalogFolder);
  return result;
}

IoError GenreTable::write(FileSystem& files, const NativePath& catalogFolder, const NativePath& programFolder) const {
  std::optional<WriteLock> lock;
  if (namesLength() > MaxNamesLength) return {EOVERFLOW, "the genre names are longer than 9,999 characters"};
  if (!programFolder.empty() && !lock.emplace(programFolder)) return {lock->error().code, lock->message()};
  return files.writeFileAtomic(fileops::resolved(files, catalogFolder / FileName), encode());
}

}  // namespace zevro
