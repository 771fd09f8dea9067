#include "core/OldDataConversion.h"

#include "core/CatalogDocument.h"
#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "core/ListFileWriting.h"
#include "core/Numbers.h"
#include "core/OldRecords.h"
#include "core/Startup.h"
#include "core/Strings.h"
#include "platform/WriteLock.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr std::size_t OldHeaderSize = listfile::OldHeaderSize;  // 21
constexpr std::size_t HeapFieldAt = 0;
constexpr std::size_t HeapFieldWidth = 8;
constexpr std::size_t AhHeapFieldAt = 2;
constexpr std::size_t AhHeapFieldWidth = 6;
constexpr std::size_t KindFieldAt = 8;
constexpr std::size_t LevelFieldAt = 12;
constexpr std::size_t ShortFieldWidth = 4;
constexpr std::size_t RestAt = 16;  // sort digit and four characters
constexpr std::size_t RestWidth = 5;
constexpr int AxShortWidth = 4;
constexpr int AxHeapWidth = 6;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Hexadecimal digits only (either case).
std::optional<std::size_t> hexField(std::string_view field) {
  if (field.empty()) return std::nullopt;
  std::size_t value = 0;
  for (char c : field) {
    const int digit = hexValue(static_cast<unsigned char>(c));
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<std::size_t>(digit);
  }
  return value;
}

// Decimal digits, blanks allowed before them (at least one digit).
std::optional<std::size_t> decimalField(std::string_view field, bool leadingBlanks) {
  std::size_t i = 0;
  if (leadingBlanks)
    while (i < field.size() && field[i] == ' ') ++i;
  if (i == field.size()) return std::nullopt;
  std::size_t value = 0;
  for (; i < field.size(); ++i) {
    if (!isDigit(field[i])) return std::nullopt;
    value = value * 10 + static_cast<std::size_t>(field[i] - '0');
  }
  return value;
}

struct OldLengths {
  std::size_t heap = 0;
  std::size_t kinds = 0;
  std::size_t levels = 0;
};

std::optional<OldLengths> untaggedLengths(std::string_view bytes) {
  if (bytes.size() < OldHeaderSize) return std::nullopt;
  const auto heap = decimalField(bytes.substr(HeapFieldAt, HeapFieldWidth), true);
  const auto kinds = decimalField(bytes.substr(KindFieldAt, ShortFieldWidth), false);
  const auto levels = decimalField(bytes.substr(LevelFieldAt, ShortFieldWidth), false);
  if (!heap || !kinds || !levels) return std::nullopt;
  return OldLengths{*heap, *kinds, *levels};
}

std::optional<OldLengths> ahLengths(std::string_view bytes) {
  if (bytes.size() < OldHeaderSize || bytes.substr(0, 2) != "AH") return std::nullopt;
  const auto heap = hexField(bytes.substr(AhHeapFieldAt, AhHeapFieldWidth));
  const auto kinds = hexField(bytes.substr(KindFieldAt, ShortFieldWidth));
  const auto levels = hexField(bytes.substr(LevelFieldAt, ShortFieldWidth));
  if (!heap || !kinds || !levels) return std::nullopt;
  return OldLengths{*heap, *kinds, *levels};
}

Text lowerPath(const NativePath& path) { return asciiLower(cp932::fromNativeName(path.native())); }

}  // namespace

const char* OldDataConversion::nameOf(Generation generation) {
  switch (generation) {
    case Generation::AX: return "AX";
    case Generation::AH: return "AH";
    case Generation::Untagged: return "untagged";
    default: return "";
  }
}

OldDataConversion::Generation OldDataConversion::generationOf(std::string_view bytes) {
  if (bytes.substr(0, 2) == listfile::CurrentTag) return Generation::Current;
  if (bytes.substr(0, 2) == listfile::OldTag) return Generation::AX;
  if (ahLengths(bytes)) return Generation::AH;
  if (untaggedLengths(bytes)) return Generation::Untagged;
  return Generation::Other;
}

std::optional<std::string> OldDataConversion::Update_AH_to_AX(std::string_view bytes) {
  std::optional<OldLengths> lengths = ahLengths(bytes);
  if (!lengths) lengths = untaggedLengths(bytes);
  if (!lengths) return std::nullopt;
  if (lengths->kinds > 0xFFFF || lengths->levels > 0xFFFF || lengths->heap > listfile::MaxHeapLength)
    return std::nullopt;
  const std::string_view body = bytes.substr(OldHeaderSize);
  const std::size_t heapBytes = listfile::byteLengthOfCharacters(body, lengths->heap);
  // A file cut short is not converted (a heap cut short is found when the
  // "AX" blocks are read).
  const std::size_t total = heapBytes + lengths->kinds + lengths->levels;
  if (body.size() < total) return std::nullopt;

  std::string out;
  out.reserve(OldHeaderSize + body.size());
  out += listfile::OldTag;
  out += narrowAscii(zevro::hexField(static_cast<std::uint32_t>(lengths->kinds), AxShortWidth));
  out += narrowAscii(zevro::hexField(static_cast<std::uint32_t>(lengths->levels), AxShortWidth));
  out += narrowAscii(zevro::hexField(static_cast<std::uint32_t>(lengths->heap), AxHeapWidth));
  out += bytes.substr(RestAt, RestWidth);
  out += body;  // heap, kind codes, level string and whatever followed them
  return out;
}

bool OldDataConversion::convertAX(std::string_view bytes, const IconTable& icons, RowStore& store,
                                  listfile::Header& header) {
  listfile::OldListBlocks blocks;
  if (!listfile::parseOldLayout(bytes, blocks) || blocks.truncated) return false;
  const Text heap = oldrecords::convertHeap(blocks.heap);
  store.clear();
  catalog::makeCatalogList(store);
  if (!store.loadBlocks(heap, blocks.levels, {}, blocks.kinds, {})) return false;
  store.setSortOrder(blocks.sortOrder);
  Text stamp;  // the kinds were made before icon-table stamps existed
  ReDeriveKinds(store, icons, stamp);
  if (!store.deriveIndexAndTreeFlags()) return false;
  catalog::prepareMarks(store);
  store.setModified(false);
  header = listfile::Header();
  header.sortOrder = blocks.sortOrder;
  header.iconStamp = stamp;
  header.freeSpace = blocks.freeSpace;
  return true;
}

OldDataConversion::OldDataConversion(Services services)
    : platform_(services.platform),
      catalogFolder_(std::move(services.catalogFolder)),
      programFolder_(std::move(services.programFolder)),
      icons_(services.icons) {}

OldDataConversion::Generation OldDataConversion::peek(const NativePath& path) {
  std::string start;
  if (platform_.files.readStart(path, start, OldHeaderSize)) return Generation::Other;
  return generationOf(start);
}

bool OldDataConversion::hasWork() {
  for (const Text& name : namesOf(fileops::listFiles(platform_.files, catalogFolder_, FilePattern))) {
    const NativePath path = catalogFolder_ / cp932::toNativeName(name);
    if (tried_.count(lowerPath(path))) continue;
    const Generation g = peek(path);
    if (g == Generation::AX || g == Generation::AH || g == Generation::Untagged) return true;
  }
  return false;
}

OldDataConversion::Outcome OldDataConversion::Update_AX_to_BX(const std::function<void(TextView name)>& showFile) {
  Outcome outcome;
  FileSystem& files = platform_.files;
  for (const Text& name : namesOf(fileops::listFiles(files, catalogFolder_, FilePattern))) {
    const NativePath path = catalogFolder_ / cp932::toNativeName(name);
    const Generation seen = peek(path);
    if (seen != Generation::AX && seen != Generation::AH && seen != Generation::Untagged) continue;
    if (!tried_.insert(lowerPath(path)).second) continue;
    if (showFile) showFile(name);

    // The file is read, decided on and written while no other program writes.
    WriteLock lock(programFolder_);
    if (!lock) {
      outcome.failed.push_back({name, fromUtf8(lock.message())});
      continue;
    }
    std::string bytes;
    if (IoError error = files.readFile(path, bytes, listfile::MaxFileSize)) {
      outcome.failed.push_back({name, fromUtf8(error.text)});
      continue;
    }
    const Generation from = generationOf(bytes);
    if (from == Generation::AH || from == Generation::Untagged) {
      std::optional<std::string> ax = Update_AH_to_AX(bytes);
      if (!ax) {
        outcome.failed.push_back({name, Text(DamagedText)});
        continue;
      }
      bytes = std::move(*ax);
    } else if (from != Generation::AX) {
      continue;  // changed since it was listed
    }

    RowStore store;
    listfile::Header header;
    if (!convertAX(bytes, icons_, store, header)) {
      outcome.failed.push_back({name, Text(DamagedText)});
      continue;
    }
    const listfile::WriteOutcome written = listfile::writeToDisk(platform_, programFolder_ / BackupFolderName, store, header, path, true);
    if (!written.written) {
      Text text = written.limit == listfile::Limit::TooManyRows        ? Text(CatalogDocument::TooManyRowsMessage)
                  : written.limit == listfile::Limit::TooManyCharacters ? Text(CatalogDocument::TooManyCharactersMessage)
                                                                        : fromUtf8(written.error.text);
      outcome.failed.push_back({name, text});
      continue;
    }
    const Text writtenName = cp932::fromNativeName(written.path.filename().native());
    tried_.insert(lowerPath(written.path));
    outcome.converted.push_back({writtenName, from});
  }
  return outcome;
}

}  // namespace zevro
