#include "core/IconTable.h"

#include <algorithm>
#include <ctime>
#include <initializer_list>
#include <unordered_map>

#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "core/Numbers.h"
#include "core/Strings.h"

namespace zevro {

namespace {

constexpr int FirstFileKind = 10;
constexpr int LastFolderLikeKind = 5;
constexpr int OldFolderKindFirst = 10;  // folder-like rows of data older than stamps
constexpr int OldFolderKindLast = 13;
constexpr int OldFolderKindShift = 9;
constexpr std::size_t CodeDigits = 3;
constexpr std::size_t LengthDigits = 4;
constexpr std::int64_t JapanShiftSeconds = 9 * 3600;
constexpr std::int64_t NanosPerSecond = 1'000'000'000;

// The standard file types from kind code 10 on, one slot per code; a slot
// with several spellings lists them in table order.
constexpr const char* StandardExtensions[] = {
    "3GP",      "AA3",      "ADE",      "ADN",        "ADP", "AIF",  "AIFC", "AIFF",  "ALM",  "ANI",       // 10
    "ASA",      "ASF",      "ASM",      "ASP",        "ASR", "ASX",  "AU",   "AVI",   "AXD",  "BAS",       // 20
    "BKF",      "BMP",      "C",        "CAT",        "CDX", "CER",  "CFM",  "CGI",   "CHM",  "CLP",       // 30
    "CLS",      "CRT",      "CS",       "CSD",        "CSS", "CSV",  "CTL",  "DB",    "DEF",  "DIB",       // 40
    "DIC",      "DIF",      "DOC",      "DOT",        "DRV", "DRY",  "DSN",  "DSP",   "DSR",  "EMF",       // 50
    "FDF",      "FLA",      "FLV",      "FON",        "FRM", "GIF",  "GRA",  "H",     "HEX",  "HHC",       // 60
    "HHP",      "HLP",      "HPP",      "HTM HTML",   "ICO", "IFO",  "INC",  "INF",   "INI",  "IQY",       // 70
    "JFIF",     "JPE",      "JPG JPEG", "JPN",        "JPP", "JS",   "JSP",  "KEY",   "LIC",  "LOG",       // 80
    "LST",      "LZH",      "M1V",      "M2V",        "MAK", "MAP",  "MDA",  "MDB",   "MDI",  "MHT",       // 90
    "MHTML",    "MID MIDI", "MSG",      "MMF",        "MOD", "MOV",  "MP1",  "MP2",   "MP2V", "MP3",       // 100
    "MP4",      "MPA",      "MPE",      "MPEG MPG",   "MPN", "MPV2", "MSI",  "MSWMM", "OBJ",  "OCA",       // 110
    "OCX",      "OMA",      "OML2",     "OMS2",       "PCX", "PDF",  "PDX",  "PFX",   "PHP",  "PIC PICT",  // 120
    "PNG",      "PPJ",      "QT",       "RA",         "RAM", "RAW",  "REG",  "RM",    "RMM",  "RMS",       // 130
    "RMX",      "RTF",      "RV",       "SHTM SHTML", "SLK", "SND",  "SRC",  "SWF",   "SYS",  "TAR",       // 140
    "TIF TIFF", "TTC",      "TTF",      "TXT",        "URL", "VBG",  "VBP",  "VXD",   "VBX",  "WAB",       // 150
    "WAV WAVE", "WMA",      "WMF",      "WMP",        "WMV", "WRI",  "XLA",  "XLB",   "XLC",  "XLS",       // 160
    "XML",      "ZIP",      "XBM",      "EXE",        "PCD", "PRN",  "DAT",  "COM",   "BAT",  "DLL",       // 170
    "CAB",      "CFG",      "DIR",      "CNT",        "SCR", "TIP",  "NEW",  "BIN",   "LIB",  "1ST",       // 180
    "CDA",      "VOB",      "AVN",      "MPO",        "GIN",                                               // 190
};
constexpr int StandardKindCount = static_cast<int>(std::size(StandardExtensions));

// Icons 7 to 46 and the standard kind codes drawn with them; every other
// standard file type is drawn with icon 6.
struct IconKinds {
  int icon;
  std::initializer_list<int> kinds;
};
const IconKinds StandardIcons[] = {
    {7, {80, 81, 82, 83}},
    {8, {27, 104, 105, 132, 192}},
    {9, {101}},
    {10, {73, 99, 100, 143, 154}},
    {11, {89, 90, 175}},
    {12, {165}},
    {13, {78, 181, 182, 183}},
    {14, {71}},
    {15, {92, 93, 107, 108, 111, 112, 113, 114, 115, 191}},
    {16, {177, 178}},
    {17, {91}},
    {18, {171}},
    {19, {77, 119, 120, 148, 157, 179, 187, 188}},
    {20, {65, 194}},
    {21, {31, 49, 59, 129, 150, 162, 172, 174}},
    {22, {146, 153, 185, 186, 189}},
    {23, {180}},
    {24, {45, 51, 144, 166, 167, 168, 169}},
    {25, {52, 53, 141}},
    {26, {106, 109}},
    {27, {15, 16, 17, 145, 160, 190}},
    {28, {10, 11, 110, 121, 122, 123}},
    {29, {26, 133, 134, 137, 138, 139, 140, 142}},
    {30, {21, 25, 161}},
    {31, {163, 164}},
    {32, {60, 125, 126}},
    {33, {130}},
    {34, {147}},
    {35, {136}},
    {36, {38}},
    {37, {96, 97}},
    {38, {151, 152}},
    {39, {63}},
    {40, {155}},
    {41, {156}},
    {42, {64}},
    {43, {29}},
    {44, {40}},
    {45, {173}},
    {46, {193}},
};

Text buildStandardTypes() {
  Text table;
  for (int i = 0; i < StandardKindCount; ++i) {
    const Text code = zeroPadded(FirstFileKind + i, static_cast<int>(CodeDigits));
    std::string_view spellings = StandardExtensions[i];
    while (!spellings.empty()) {
      const std::size_t blank = std::min(spellings.find(' '), spellings.size());
      table += code + u"." + ascii(spellings.substr(0, blank)) + u"|";
      spellings.remove_prefix(std::min(blank + 1, spellings.size()));
    }
  }
  return table;
}

IconTable::IconMap buildStandardIconMap() {
  IconTable::IconMap map{};
  for (int kind = 1; kind <= catalog::KindFile; ++kind)
    map[static_cast<std::size_t>(kind)] = static_cast<std::uint8_t>(kind);
  for (int i = 0; i < StandardKindCount; ++i) map[static_cast<std::size_t>(FirstFileKind + i)] = catalog::KindFile;
  for (const IconKinds& row : StandardIcons)
    for (int kind : row.kinds) map[static_cast<std::size_t>(kind)] = static_cast<std::uint8_t>(row.icon);
  return map;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Every entry "NNN.EXT|" with a code up to 255 and an extension without "."
// or "|"; an empty table is well formed too.
bool wellFormedTable(std::string_view table) {
  while (!table.empty()) {
    if (table.size() < CodeDigits + 3 || !isDigit(table[0]) || !isDigit(table[1]) || !isDigit(table[2])) return false;
    const int code = (table[0] - '0') * 100 + (table[1] - '0') * 10 + (table[2] - '0');
    if (code >= IconTable::MapSize || table[CodeDigits] != '.') return false;
    const std::size_t end = table.find('|', CodeDigits + 1);
    if (end == std::string_view::npos || end == CodeDigits + 1) return false;
    if (table.substr(CodeDigits + 1, end - CodeDigits - 1).find('.') != std::string_view::npos) return false;
    table.remove_prefix(end + 1);
  }
  return true;
}

// Days since 1970-01-01 -> year, month, day of the proleptic Gregorian calendar.
void civilFromDays(std::int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0); }

// The kind code an entry of the table gives a name's extension, or 6.
// IconCodeOf's answers for a whole catalog: a re-derive asks for every row,
// and searching the table text row by row made loading a large catalog of
// another stamp several times slower than loading it. The extensions of the
// table go into a hash of their upper-cased ASCII letters; a table that is not
// a plain list of such entries (or an extension that is not ASCII) is
// searched as IconCodeOf searches it.
class KindLookup {
public:
  explicit KindLookup(const IconTable& table) : table_(table) {
    TextView text = table.types();
    while (exact_ && !text.empty()) {
      const std::size_t bar = text.find(u'|');
      const TextView entry = text.substr(0, bar);
      if (bar == TextView::npos || entry.size() <= CodeDigits + 1 || entry[CodeDigits] != u'.') {
        exact_ = false;
        break;
      }
      const TextView extension = entry.substr(CodeDigits + 1);
      const std::optional<std::uint64_t> key = keyOf(extension);
      exact_ = key.has_value() && extension.find(u'.') == TextView::npos;
      if (exact_) codes_.try_emplace(*key, table.IconCodeOf(extension));
      text.remove_prefix(bar + 1);
    }
  }

  int kindOf(TextView extension) const {
    if (extension.empty()) return IconTable::UnlistedKind;
    const std::optional<std::uint64_t> key = keyOf(extension);
    if (!exact_ || !key) return table_.IconCodeOf(extension);
    const auto found = codes_.find(*key);
    return found == codes_.end() ? IconTable::UnlistedKind : found->second;
  }

private:
  // Up to eight ASCII characters, upper-cased, seven bits each, and the length.
  static std::optional<std::uint64_t> keyOf(TextView extension) {
    constexpr std::size_t MaxKeyed = 8;
    if (extension.size() > MaxKeyed) return std::nullopt;
    std::uint64_t key = extension.size();
    for (char16_t c : extension) {
      if (c >= 0x80) return std::nullopt;
      if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
      key = (key << 7) | c;
    }
    return key;
  }

  const IconTable& table_;
  std::unordered_map<std::uint64_t, int> codes_;
  bool exact_ = true;
};

// The same rule as the reading's, so that a re-derive keeps every icon the
// reading gave under the same table. The medium name is looked at only when
// the name has no extension.
int kindFromName(const KindLookup& kinds, const RowStore& store, int row) {
  const TextView name = store.fieldView(catalog::FieldName, row);
  if (name.ends_with(u'_')) return IconTable::UnlistedKind;
  TextView extension = extensionView(name);
  if (extension.empty()) extension = extensionView(store.fieldView(catalog::FieldMediumName, row));
  return kinds.kindOf(extension);
}

std::uint32_t littleEndian(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint32_t value = 0;
  for (std::size_t i = width; i-- > 0;) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

}  // namespace

const Text& IconTable::standardTypes() {
  static const Text table = buildStandardTypes();
  return table;
}

const IconTable::IconMap& IconTable::standardIconMap() {
  static const IconMap map = buildStandardIconMap();
  return map;
}

void IconTable::BuildStandardTables() {
  if (types_.empty()) types_ = standardTypes();
  if (map_[1] != 0) return;
  map_ = standardIconMap();
}

int IconTable::IconCodeOf(TextView extension) const {
  if (extension.empty() || extension.find_first_of(u".|") != TextView::npos) return UnlistedKind;
  const std::size_t at = types_.find(u"." + asciiUpper(extension) + u"|");
  if (at == Text::npos || at < CodeDigits) return UnlistedKind;
  int code = 0;
  for (std::size_t i = at - CodeDigits; i < at; ++i) {
    if (types_[i] < u'0' || types_[i] > u'9') return UnlistedKind;
    code = code * 10 + (types_[i] - u'0');
  }
  return code < MapSize ? code : UnlistedKind;
}

void IconTable::useStandardTables() {
  types_ = standardTypes();
  map_ = standardIconMap();
  stamp_ = Text(NoStamp);
}

bool IconTable::loadUserTable(FileSystem& files, const NativePath& programFolder, Clock clock) {
  stamp_ = Text(NoStamp);
  const NativePath path = fileops::resolved(files, programFolder / FileName);
  const std::optional<DirEntry> entry = files.stat(path);
  if (!entry || entry->isFolder()) return false;
  std::string bytes;
  std::optional<FileContents> contents;
  if (!files.readFile(path, bytes)) contents = decodeFile(bytes);
  if (!contents) {
    useStandardTables();
    return false;
  }
  map_ = contents->map;
  types_ = std::move(contents->types);
  stamp_ = stampOf(entry->modified, clock);
  return true;
}

int IconTable::LoadIcons(FileSystem& files, const NativePath& programFolder, const NativePath& picture, Clock clock) {
  stamp_ = Text(NoStamp);
  int icons = 0;
  if (!picture.empty()) {
    std::string bytes;
    const NativePath path = fileops::resolved(files, picture);
    const std::optional<DirEntry> entry = files.stat(path);
    if (entry && !entry->isFolder() && !files.readFile(path, bytes)) icons = bitmapStripIcons(bytes);
  }
  if (icons > 0 && loadUserTable(files, programFolder, clock) &&
      *std::max_element(map_.begin(), map_.end()) <= icons)
    return icons;
  useStandardTables();
  return 0;
}

IoError IconTable::SaveIcons(FileSystem& files, const NativePath& programFolder, Clock clock) {
  const NativePath path = fileops::resolved(files, programFolder / FileName);
  if (IoError error = files.writeFileAtomic(path, encodeFile(map_, types_))) return error;
  const std::optional<DirEntry> entry = files.stat(path);
  stamp_ = entry ? stampOf(entry->modified, clock) : Text(NoStamp);
  return {};
}

std::string IconTable::encodeFile(const IconMap& map, TextView types) {
  std::string bytes(map.begin(), map.end());
  bytes += narrowAscii(zeroPadded(static_cast<std::int64_t>(types.size()), static_cast<int>(LengthDigits)));
  bytes += narrowAscii(types);
  return bytes;
}

std::optional<IconTable::FileContents> IconTable::decodeFile(std::string_view bytes) {
  constexpr std::size_t head = MapSize + LengthDigits;
  if (bytes.size() < head) return std::nullopt;
  std::size_t length = 0;
  for (char c : bytes.substr(MapSize, LengthDigits)) {
    if (!isDigit(c)) return std::nullopt;
    length = length * 10 + static_cast<std::size_t>(c - '0');
  }
  if (length > bytes.size() - head) return std::nullopt;
  const std::string_view table = bytes.substr(head, length);
  if (!wellFormedTable(table)) return std::nullopt;
  FileContents contents;
  for (std::size_t i = 0; i < contents.map.size(); ++i) contents.map[i] = static_cast<std::uint8_t>(bytes[i]);
  contents.types = ascii(table);
  return contents;
}

int IconTable::bitmapStripIcons(std::string_view bytes) {
  constexpr std::size_t FileHeader = 14;
  constexpr int StripWidth = 32;
  constexpr int IconHeight = 16;
  if (bytes.size() < FileHeader + 40 || bytes.substr(0, 2) != "BM") return 0;
  const std::uint32_t pixelsAt = littleEndian(bytes, 10, 4);
  const std::uint32_t infoSize = littleEndian(bytes, 14, 4);
  if (infoSize < 40 || FileHeader + infoSize > bytes.size()) return 0;
  const auto width = static_cast<std::int32_t>(littleEndian(bytes, 18, 4));
  const auto signedHeight = static_cast<std::int32_t>(littleEndian(bytes, 22, 4));
  const std::uint32_t bits = littleEndian(bytes, 28, 2);
  const std::uint32_t compression = littleEndian(bytes, 30, 4);
  const std::int64_t height = signedHeight < 0 ? -static_cast<std::int64_t>(signedHeight) : signedHeight;
  if (width != StripWidth || height <= 0 || height % IconHeight != 0 || height / IconHeight >= MapSize) return 0;
  // Uncompressed pixels (bit fields only say where the colours are).
  if (compression != 0 && compression != 3) return 0;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return 0;
  const std::int64_t rowBytes = (static_cast<std::int64_t>(width) * bits + 31) / 32 * 4;
  if (static_cast<std::int64_t>(pixelsAt) + rowBytes * height > static_cast<std::int64_t>(bytes.size())) return 0;
  return static_cast<int>(height / IconHeight);
}

Text IconTable::stampOf(FileTime time, Clock clock) {
  std::int64_t seconds = floorDiv(time, NanosPerSecond);
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (clock == Clock::MachineTime) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) return Text(NoStamp);
    year = local.tm_year + 1900;
    month = local.tm_mon + 1;
    day = local.tm_mday;
    hour = local.tm_hour;
    minute = local.tm_min;
    second = local.tm_sec;
  } else {
    seconds += JapanShiftSeconds;
    const std::int64_t days = floorDiv(seconds, 86400);
    const std::int64_t inDay = seconds - days * 86400;
    civilFromDays(days, year, month, day);
    hour = static_cast<int>(inDay / 3600);
    minute = static_cast<int>(inDay / 60 % 60);
    second = static_cast<int>(inDay % 60);
  }
  return zeroPadded(year % 100, 2) + zeroPadded(month, 2) + zeroPadded(day, 2) + zeroPadded(hour, 2) +
         zeroPadded(minute, 2) + zeroPadded(second, 2);
}

void ReDeriveKinds(RowStore& store, const IconTable& table, Text& catalogStamp,
                   const std::function<void(int row, int code)>& onLowCode) {
  const bool beforeStamps = catalogStamp.empty();
  const KindLookup kinds(table);
  for (int row = 0; row < store.rowCount(); ++row) {
    const int kind = store.kind(row);
    if (beforeStamps && kind >= OldFolderKindFirst && kind <= OldFolderKindLast) {
      store.setKind(row, kind - OldFolderKindShift);
      continue;
    }
    if (!beforeStamps && kind >= 1 && kind <= LastFolderLikeKind) continue;
    const int code = kindFromName(kinds, store, row);
    if (code <= LastFolderLikeKind && onLowCode) onLowCode(row, code);
    store.setKind(row, code);
  }
  catalogStamp = table.stamp();
}

}  // namespace zevro
