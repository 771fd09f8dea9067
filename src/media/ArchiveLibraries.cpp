#include "media/ArchiveLibraries.h"

#include <archive.h>
#include <archive_entry.h>
#include <lhasa.h>
#include <locale.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "core/Strings.h"
#include "media/LzhHeader.h"
#include "media/MemberPath.h"
#include "platform/ConfinedFolder.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

constexpr std::int64_t NanosPerSecond = 1'000'000'000;
constexpr std::size_t ReadBlock = 64 * 1024;
constexpr char LzhDirectoryMethod[] = "-lhd-";

// libarchive converts names through the C library's converters, which need a
// UTF-8 character type; set for this thread only while the reader runs.
class Utf8CharacterType {
public:
  Utf8CharacterType() : locale_(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {
    if (locale_) previous_ = uselocale(locale_);
  }
  ~Utf8CharacterType() {
    if (!locale_) return;
    uselocale(previous_);
    freelocale(locale_);
  }
  Utf8CharacterType(const Utf8CharacterType&) = delete;
  Utf8CharacterType& operator=(const Utf8CharacterType&) = delete;

private:
  locale_t locale_;
  locale_t previous_ = nullptr;
};

void turnBackslashes(Text& path);

// One pass over an archive's members: next() moves to the following member
// (skipping the data of the one before), read() gives its data in pieces.
class MemberCursor {
public:
  virtual ~MemberCursor() = default;
  virtual bool next(ArchiveMember& member) = 0;
  // Bytes read into buffer; 0 at the end of the member's data, -1 on damage.
  virtual long read(char* buffer, std::size_t size) = 0;
  // After the data was read to its end: true when it is whole.
  virtual bool whole() { return true; }
};

std::uint16_t crc16Update(std::uint16_t crc, const char* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    crc = static_cast<std::uint16_t>(crc ^ static_cast<unsigned char>(data[i]));
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

class LzhCursor final : public MemberCursor {
public:
  explicit LzhCursor(ListTime::Zone zone) : zone_(zone) {}
  ~LzhCursor() override {
    if (reader_) lha_reader_free(reader_);
    if (stream_) lha_input_stream_free(stream_);
    if (file_) std::fclose(file_);
  }
  LzhCursor(const LzhCursor&) = delete;
  LzhCursor& operator=(const LzhCursor&) = delete;

  bool open(const NativePath& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return false;
    stream_ = lha_input_stream_from_FILE(file_);
    if (!stream_) return false;
    reader_ = lha_reader_new(stream_);
    return reader_ != nullptr;
  }

  bool next(ArchiveMember& m) override {
    header_ = lha_reader_next_file(reader_);
    if (!header_) return false;
    const LHAFileHeader* h = header_;
    m = ArchiveMember{};
    const std::string_view raw(reinterpret_cast<const char*>(h->raw_data), h->raw_data_len);
    const std::optional<LzhHeaderFields> fields = readLzhHeader(raw, h->header_level);
    if (fields) {
      m.path = fields->path;
    } else {
      // A header variant whose bytes are laid out otherwise: the library's
      // own reading of the name.
      std::string bytes = h->path ? h->path : "";
      if (h->filename) bytes += h->filename;
      m.path = cp932::decode(bytes);
      turnBackslashes(m.path);
    }
    m.directory = std::string_view(h->compress_method) == LzhDirectoryMethod && !h->symlink_target;
    m.regular = !h->symlink_target && !m.directory;
    if (m.directory && !m.path.empty() && m.path.back() != u'/') m.path.push_back(u'/');
    m.size = h->length;
    if (fields && fields->dosDate && !fields->unixTime)
      m.time = ArchiveLibraries::dosTime(*fields->dosDate, *fields->dosTime);
    else
      m.time = ListTime::of(static_cast<std::int64_t>(h->timestamp) * NanosPerSecond, zone_);
    crc_ = 0;
    read_ = 0;
    return true;
  }

  long read(char* buffer, std::size_t size) override {
    const std::size_t n = lha_reader_read(reader_, buffer, size);
    crc_ = crc16Update(crc_, buffer, n);
    read_ += n;
    if (n == 0 && read_ < header_->length) return -1;
    return static_cast<long>(n);
  }

  bool whole() override { return read_ == header_->length && crc_ == header_->crc; }

private:
  ListTime::Zone zone_;
  std::FILE* file_ = nullptr;
  LHAInputStream* stream_ = nullptr;
  LHAReader* reader_ = nullptr;
  LHAFileHeader* header_ = nullptr;
  std::uint16_t crc_ = 0;
  std::size_t read_ = 0;
};

std::uint64_t le(std::string_view bytes, std::size_t at, std::size_t width) {
  std::uint64_t v = 0;
  for (std::size_t i = width; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

std::string readRange(std::FILE* file, std::uint64_t offset, std::uint64_t size) {
  std::string bytes(size, '\0');
  if (fseeko(file, static_cast<off_t>(offset), SEEK_SET) != 0) return {};
  if (std::fread(bytes.data(), 1, bytes.size(), file) != bytes.size()) return {};
  return bytes;
}

// For each entry of a ZIP's central directory, in its order: whether it
// stores a Unix modification time (extra field 0x5455 with its time flag).
// Such a member shows that time as a list time; the others the DOS date and
// time they store. Empty when the directory cannot be found.
std::vector<bool> zipUnixTimes(const NativePath& path) {
  constexpr std::uint64_t TailMax = 22 + 65535;
  std::unique_ptr<std::FILE, decltype(&std::fclose)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file || fseeko(file.get(), 0, SEEK_END) != 0) return {};
  const off_t end = ftello(file.get());
  if (end < 22) return {};
  const std::uint64_t tailSize = std::min<std::uint64_t>(static_cast<std::uint64_t>(end), TailMax);
  const std::uint64_t tailAt = static_cast<std::uint64_t>(end) - tailSize;
  const std::string tail = readRange(file.get(), tailAt, tailSize);
  const std::size_t eocd = tail.rfind(std::string_view("PK\x05\x06", 4));
  if (tail.empty() || eocd == std::string::npos || eocd + 22 > tail.size()) return {};
  std::uint64_t count = le(tail, eocd + 10, 2);
  std::uint64_t cdSize = le(tail, eocd + 12, 4);
  std::uint64_t cdAt = le(tail, eocd + 16, 4);
  if ((count == 0xFFFF || cdAt == 0xFFFFFFFF || cdSize == 0xFFFFFFFF) && eocd >= 20 &&
      tail.compare(eocd - 20, 4, std::string_view("PK\x06\x07", 4)) == 0) {
    const std::string zip64 = readRange(file.get(), le(tail, eocd - 20 + 8, 8), 56);
    if (zip64.size() < 56 || zip64.compare(0, 4, std::string_view("PK\x06\x06", 4)) != 0) return {};
    count = le(zip64, 32, 8);
    cdSize = le(zip64, 40, 8);
    cdAt = le(zip64, 48, 8);
  }
  if (cdAt + cdSize > static_cast<std::uint64_t>(end)) return {};
  const std::string cd = readRange(file.get(), cdAt, cdSize);
  std::vector<bool> unix;
  unix.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(count, cdSize / 46 + 1)));
  std::size_t at = 0;
  while (at + 46 <= cd.size() && cd.compare(at, 4, std::string_view("PK\x01\x02", 4)) == 0) {
    const std::size_t nameLength = le(cd, at + 28, 2);
    const std::size_t extraLength = le(cd, at + 30, 2);
    const std::size_t commentLength = le(cd, at + 32, 2);
    const std::size_t extraAt = at + 46 + nameLength;
    if (extraAt + extraLength > cd.size()) break;
    bool hasTime = false;
    for (std::size_t x = extraAt; x + 4 <= extraAt + extraLength;) {
      const std::uint64_t id = le(cd, x, 2);
      const std::size_t size = le(cd, x + 2, 2);
      if (id == 0x5455 && size >= 1 && x + 5 <= extraAt + extraLength) hasTime = (cd[x + 4] & 1) != 0;
      x += 4 + size;
    }
    unix.push_back(hasTime);
    at = extraAt + extraLength + commentLength;
  }
  return unix;
}

class ZipCursor final : public MemberCursor {
public:
  explicit ZipCursor(ListTime::Zone zone) : archive_(archive_read_new()), zone_(zone) {}
  ~ZipCursor() override {
    if (archive_) archive_read_free(archive_);
    if (latin_) archive_read_free(latin_);
  }
  ZipCursor(const ZipCursor&) = delete;
  ZipCursor& operator=(const ZipCursor&) = delete;

  bool open(const NativePath& path) {
    if (!archive_) return false;
    archive_read_support_format_zip(archive_);
    if (archive_read_set_options(archive_, "hdrcharset=CP932") != ARCHIVE_OK) return false;
    path_ = path;
    if (archive_read_open_filename(archive_, path.c_str(), ReadBlock) != ARCHIVE_OK) return false;
    unixTimes_ = zipUnixTimes(path);
    return true;
  }

  bool next(ArchiveMember& m) override {
    archive_entry* e = nullptr;
    const int r = archive_read_next_header(archive_, &e);
    // At damage the members read before it stay.
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) return false;
    ++index_;
    m = ArchiveMember{};
    if (const char* utf8Name = archive_entry_pathname_utf8(e)) {
      m.path = cp932::fromNativeName(utf8Name);
    } else {
      m.path = cp932::decode(rawName());
    }
    turnBackslashes(m.path);
    const auto type = archive_entry_filetype(e);
    m.directory = type == AE_IFDIR || (!m.path.empty() && m.path.back() == u'/');
    if (m.directory && !m.path.empty() && m.path.back() != u'/') m.path.push_back(u'/');
    m.regular = !m.directory && (type == AE_IFREG || type == 0);
    m.size = archive_entry_size_is_set(e) ? static_cast<std::uint64_t>(archive_entry_size(e)) : 0;
    const time_t when = archive_entry_mtime(e);
    if (index_ < static_cast<long>(unixTimes_.size()) && unixTimes_[static_cast<std::size_t>(index_)]) {
      m.time = ListTime::of(static_cast<std::int64_t>(when) * NanosPerSecond, zone_);
      return true;
    }
    // libarchive made the stored DOS fields a time in this process's zone;
    // the same zone gives them back as stored.
    struct tm fields {};
    if (localtime_r(&when, &fields)) {
      m.time.year = fields.tm_year + 1900;
      m.time.month = fields.tm_mon + 1;
      m.time.day = fields.tm_mday;
      m.time.hour = fields.tm_hour;
      m.time.minute = fields.tm_min;
    }
    return true;
  }

  long read(char* buffer, std::size_t size) override {
    const la_ssize_t n = archive_read_data(archive_, buffer, size);
    return n < 0 ? -1 : static_cast<long>(n);
  }

private:
  // The name bytes of the current member as stored, for a name the CP932
  // converter refused (bytes CP932 assigns nothing): a second reader takes
  // names as ISO-8859-1, whose characters are the bytes themselves. It
  // follows the first one member by member, so each archive is read at
  // most twice.
  std::string rawName() {
    if (!latin_) {
      latin_ = archive_read_new();
      if (!latin_) return {};
      archive_read_support_format_zip(latin_);
      if (archive_read_set_options(latin_, "hdrcharset=ISO-8859-1") != ARCHIVE_OK ||
          archive_read_open_filename(latin_, path_.c_str(), ReadBlock) != ARCHIVE_OK)
        return {};
    }
    while (latinIndex_ < index_) {
      const int r = archive_read_next_header(latin_, &latinEntry_);
      if (r != ARCHIVE_OK && r != ARCHIVE_WARN) return {};
      ++latinIndex_;
    }
    const char* utf8 = latinEntry_ ? archive_entry_pathname_utf8(latinEntry_) : nullptr;
    if (!utf8) return {};
    // UTF-8 of code points below 256 back to those bytes.
    std::string bytes;
    for (const char* p = utf8; *p; ++p) {
      const auto b = static_cast<unsigned char>(*p);
      if (b < 0x80) {
        bytes.push_back(static_cast<char>(b));
      } else if ((b & 0xE0) == 0xC0 && p[1]) {
        bytes.push_back(static_cast<char>(((b & 0x1F) << 6) | (static_cast<unsigned char>(p[1]) & 0x3F)));
        ++p;
      }
    }
    // The reader turned every "\\" byte into "/", also the second byte of a
    // double-byte character such as 表 (0x95 0x5C); "/" is never a second
    // byte, so after a lead byte it was a "\\".
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
      if (!cp932::isLeadByte(static_cast<unsigned char>(bytes[i]))) continue;
      if (bytes[i + 1] == '/') bytes[i + 1] = '\\';
      ++i;
    }
    return bytes;
  }

  struct archive* archive_;
  ListTime::Zone zone_;
  std::vector<bool> unixTimes_;  // per member: a stored Unix time
  NativePath path_;
  long index_ = -1;
  struct archive* latin_ = nullptr;
  archive_entry* latinEntry_ = nullptr;
  long latinIndex_ = -1;
};

// The cursor of an archive, with the UTF-8 character type libarchive's name
// conversion needs held as long as it is used.
struct OpenArchive {
  Utf8CharacterType utf8;
  std::unique_ptr<MemberCursor> cursor;
};

std::unique_ptr<OpenArchive> openArchive(const NativePath& path, ArchiveType type, ListTime::Zone zone) {
  auto open = std::make_unique<OpenArchive>();
  if (type == ArchiveType::Lzh) {
    auto lzh = std::make_unique<LzhCursor>(zone);
    if (!lzh->open(path)) return nullptr;
    open->cursor = std::move(lzh);
  } else if (type == ArchiveType::Zip) {
    auto zip = std::make_unique<ZipCursor>(zone);
    if (!zip->open(path)) return nullptr;
    open->cursor = std::move(zip);
  } else {
    return nullptr;
  }
  return open;
}

std::vector<std::string> nativeComponents(const std::vector<Text>& parts) {
  std::vector<std::string> out;
  out.reserve(parts.size());
  for (const Text& p : parts) out.push_back(cp932::toNativeName(p));
  return out;
}

Text joined(const std::vector<Text>& parts) {
  Text out;
  for (const Text& p : parts) {
    if (!out.empty()) out.push_back(u'/');
    out += p;
  }
  return out;
}

// Writes one member below the target; why not, when it was not written.
std::optional<ExtractRefusal> writeMember(MemberCursor& cursor, const ArchiveMember& m, ConfinedFolder& out,
                                          std::vector<char>& buffer, std::vector<Text>& written) {
  const std::optional<std::vector<Text>> parts = safeMemberComponents(m.path);
  if (!parts) return ExtractRefusal::Unsafe;
  if (!out.ready()) return ExtractRefusal::WriteFailed;
  if (m.directory) {
    switch (out.makeFolders(nativeComponents(*parts))) {
      case ConfinedFolder::Result::Made:
      case ConfinedFolder::Result::Exists: return std::nullopt;
      case ConfinedFolder::Result::Escapes: return ExtractRefusal::Unsafe;
      case ConfinedFolder::Result::Failed: return ExtractRefusal::WriteFailed;
    }
  }
  if (!m.regular) return ExtractRefusal::NotRegular;
  ConfinedFolder::NewFile file;
  switch (out.makeFile(nativeComponents(*parts), file)) {
    case ConfinedFolder::Result::Made: break;
    case ConfinedFolder::Result::Exists: return ExtractRefusal::Exists;
    case ConfinedFolder::Result::Escapes: return ExtractRefusal::Unsafe;
    case ConfinedFolder::Result::Failed: return ExtractRefusal::WriteFailed;
  }
  for (;;) {
    const long n = cursor.read(buffer.data(), buffer.size());
    if (n < 0) return ExtractRefusal::Damaged;  // the part written goes with `file`
    if (n == 0) break;
    if (!file.write(buffer.data(), static_cast<std::size_t>(n))) return ExtractRefusal::WriteFailed;
  }
  if (!cursor.whole()) return ExtractRefusal::Damaged;
  if (!file.keep()) return ExtractRefusal::WriteFailed;
  written.push_back(joined(*parts));
  return std::nullopt;
}

void turnBackslashes(Text& path) {
  for (char16_t& c : path)
    if (c == u'\\') c = u'/';
}

}  // namespace

ArchiveType archiveTypeOf(TextView name) {
  const Text ext = asciiUpper(extensionOf(name));
  if (ext == u"LZH") return ArchiveType::Lzh;
  if (ext == u"ZIP") return ArchiveType::Zip;
  if (ext == u"CAB") return ArchiveType::Cab;
  return ArchiveType::None;
}

ListTime ArchiveLibraries::dosTime(std::uint16_t date, std::uint16_t time) {
  ListTime t;
  t.year = date / 512 + 1980;
  t.month = date / 32 % 16;
  t.day = date % 32;
  t.hour = time / 2048;
  t.minute = time / 32 % 64;
  return t;
}

bool ArchiveLibraries::available(ArchiveType type) const {
  return available_ && (type == ArchiveType::Lzh || type == ArchiveType::Zip);
}

ArchiveListing ArchiveLibraries::list(const NativePath& archive, ArchiveType type) {
  ArchiveListing listing;
  if (!available(type)) return listing;
  const std::unique_ptr<OpenArchive> open = openArchive(archive, type, zone_);
  if (!open) return listing;
  listing.opened = true;
  ArchiveMember m;
  while (open->cursor->next(m)) listing.members.push_back(std::move(m));
  return listing;
}

int ArchiveLibraries::resolve(const NativePath& archive, ArchiveType type, TextView member) {
  const ArchiveListing listing = list(archive, type);
  std::vector<Text> paths;
  paths.reserve(listing.members.size());
  for (const ArchiveMember& m : listing.members) paths.push_back(m.path);
  return findMember(paths, member);
}

ExtractReport ArchiveLibraries::ExtractMember(const NativePath& archive, ArchiveType type, TextView member,
                                              const NativePath& target) {
  ExtractReport report;
  if (!available(type)) return report;
  const int wanted = member.empty() ? -1 : resolve(archive, type, member);
  const std::unique_ptr<OpenArchive> open = openArchive(archive, type, zone_);
  if (!open) return report;
  report.opened = true;
  if (!member.empty() && wanted < 0) {
    report.refused.push_back({Text(member), ExtractRefusal::NotFound});
    return report;
  }
  ConfinedFolder out(target);
  std::vector<char> buffer(ReadBlock);
  ArchiveMember m;
  for (int index = 0; open->cursor->next(m); ++index) {
    if (wanted >= 0 && index != wanted) continue;
    const std::optional<ExtractRefusal> refusal = writeMember(*open->cursor, m, out, buffer, report.written);
    if (refusal) report.refused.push_back({m.path, *refusal});
    if (wanted >= 0) break;
  }
  return report;
}

std::optional<std::string> ArchiveLibraries::ReadMember(const NativePath& archive, ArchiveType type, TextView member,
                                                        std::size_t maxBytes) {
  if (!available(type)) return std::nullopt;
  const int wanted = resolve(archive, type, member);
  if (wanted < 0) return std::nullopt;
  const std::unique_ptr<OpenArchive> open = openArchive(archive, type, zone_);
  if (!open) return std::nullopt;
  ArchiveMember m;
  for (int index = 0; open->cursor->next(m); ++index) {
    if (index != wanted) continue;
    if (!m.regular) return std::nullopt;
    std::string data;
    std::vector<char> buffer(std::min<std::size_t>(ReadBlock, std::max<std::size_t>(maxBytes, 1)));
    while (data.size() < maxBytes) {
      const long n = open->cursor->read(buffer.data(), std::min(buffer.size(), maxBytes - data.size()));
      if (n < 0) return std::nullopt;
      if (n == 0) break;
      data.append(buffer.data(), static_cast<std::size_t>(n));
    }
    return data;
  }
  return std::nullopt;
}

const char* refusalText(ExtractRefusal refusal) {
  switch (refusal) {
    case ExtractRefusal::Unsafe: return "unsafe path";
    case ExtractRefusal::NotRegular: return "not a regular file";
    case ExtractRefusal::Exists: return "exists";
    case ExtractRefusal::NotFound: return "not found";
    case ExtractRefusal::Damaged: return "damaged";
    case ExtractRefusal::WriteFailed: return "cannot write";
  }
  return "";
}

}  // namespace zevro
