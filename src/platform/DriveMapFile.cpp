#include "platform/DriveMapFile.h"

#include <algorithm>
#include <filesystem>

namespace zevro {

namespace {

constexpr char FirstAssigned = 'D';
constexpr char RootLetter = 'C';

char upperLetter(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return c;
  return 0;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t at = 0;
  while (true) {
    const std::size_t tab = line.find('\t', at);
    fields.push_back(line.substr(at, tab == std::string_view::npos ? std::string_view::npos : tab - at));
    if (tab == std::string_view::npos) break;
    at = tab + 1;
  }
  return fields;
}

std::optional<int> typeOfKind(std::string_view kind) {
  std::string upper;
  for (char c : kind) upper.push_back(upperLetter(c) ? upperLetter(c) : c);
  if (upper == "CD") return 5;
  if (upper == "FD") return 2;
  if (upper == "HD") return 3;
  return std::nullopt;
}

// "/srv/x/" -> "/srv/x", "/srv//x/./y" -> "/srv/x/y"; "" for a relative path.
std::string cleanTarget(std::string_view field) {
  std::filesystem::path path{std::string(field)};
  if (!path.is_absolute()) return {};
  std::string clean = path.lexically_normal().string();
  while (clean.size() > 1 && clean.back() == '/') clean.pop_back();
  return clean;
}

// "E", "e" and "E:" name the letter E.
char letterField(std::string_view field) {
  if (field.size() == 2 && field[1] == ':') field.remove_suffix(1);
  return field.size() == 1 ? upperLetter(field[0]) : 0;
}

std::optional<DriveMapFile::Entry> parseLine(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const std::size_t first = line.find_first_not_of(" \t");
  if (first == std::string_view::npos || line[first] == '#') return std::nullopt;
  const std::vector<std::string_view> fields = splitTabs(line);
  if (fields.size() < 2) return std::nullopt;
  DriveMapFile::Entry entry;
  entry.letter = letterField(fields[0]);
  entry.target = cleanTarget(fields[1]);
  if (entry.letter == 0 || entry.letter == RootLetter || entry.target.empty()) return std::nullopt;
  if (fields.size() > 2 && !fields[2].empty()) entry.type = typeOfKind(fields[2]);
  if (fields.size() > 3 && !fields[3].empty()) entry.label = std::string(fields[3]);
  return entry;
}

}  // namespace

std::string DriveMapFile::Entry::deviceName() const {
  if (!isDevice()) return {};
  return target.substr(std::string_view(DevicePrefix).size());
}

std::string DriveMapFile::header() {
  return "# Drive letters of ZEVRO: letter, TAB, the folder (or the drive /dev/NAME) it stands for.\n"
         "# A folder may be followed by TAB and the kind CD, FD or HD, then TAB and a label.\n"
         "# Media seen for the first time get a line of their own; edit freely.\n";
}

DriveMapFile DriveMapFile::parse(std::string_view text) {
  DriveMapFile map;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t end = std::min(text.find('\n', at), text.size());
    map.lines_.emplace_back(text.substr(at, end - at));
    at = end + 1;
  }
  for (std::size_t i = 0; i < map.lines_.size(); ++i) {
    std::optional<Entry> entry = parseLine(map.lines_[i]);
    if (!entry || map.find(entry->letter)) continue;
    map.entries_.push_back(std::move(*entry));
    map.lineOfEntry_.push_back(i);
  }
  return map;
}

const DriveMapFile::Entry* DriveMapFile::find(char letter) const {
  const char upper = upperLetter(letter);
  for (const Entry& entry : entries_)
    if (entry.letter == upper) return &entry;
  return nullptr;
}

const DriveMapFile::Entry* DriveMapFile::findTarget(std::string_view target) const {
  for (const Entry& entry : entries_)
    if (entry.target == target) return &entry;
  return nullptr;
}

char DriveMapFile::freeLetter() const {
  for (char letter = FirstAssigned; letter <= 'Z'; ++letter)
    if (!find(letter)) return letter;
  return 0;
}

void DriveMapFile::assign(char letter, std::string target) {
  letter = upperLetter(letter);
  if (letter == 0 || letter == RootLetter) return;
  const std::string line = std::string(1, letter) + '\t' + target;
  changed_ = true;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].letter != letter) continue;
    entries_[i] = Entry{letter, std::move(target), std::nullopt, std::nullopt};
    lines_[lineOfEntry_[i]] = line;
    return;
  }
  entries_.push_back(Entry{letter, std::move(target), std::nullopt, std::nullopt});
  lineOfEntry_.push_back(lines_.size());
  lines_.push_back(line);
}

std::string DriveMapFile::text() const {
  std::string out;
  for (const std::string& line : lines_) {
    out += line;
    out += '\n';
  }
  return out;
}

}  // namespace zevro
