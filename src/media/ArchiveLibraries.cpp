#include "media/ArchiveLibraries.h"

#include <archive.h>
#include <archive_entry.h>
#include <lhasa.h>
#include <locale.h>
#include <time.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/Strings.h"
#include "media/LzhHeader.h"
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

struct LhaStream {
  std::FILE* file = nullptr;
  LHAInputStream* stream = nullptr;
  LHAReader* reader = nullptr;
  ~LhaStream() {
    if (reader) lha_reader_free(reader);
    if (stream) lha_input_stream_free(stream);
    if (file) std::fclose(file);
  }
  bool open(const NativePath& path) {
    file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    stream = lha_input_stream_from_FILE(file);
    if (!stream) return false;
    reader = lha_reader_new(stream);
    return reader != nullptr;
  }
};

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
  if (!available(type)) return {};
  return type == ArchiveType::Lzh ? listLzh(archive) : listZip(archive);
}

ArchiveListing ArchiveLibraries::listLzh(const NativePath& archive) {
  ArchiveListing listing;
  LhaStream lha;
  if (!lha.open(archive)) return listing;
  listing.opened = true;
  while (LHAFileHeader* h = lha_reader_next_file(lha.reader)) {
    ArchiveMember m;
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
      m.time = dosTime(*fields->dosDate, *fields->dosTime);
    else
      m.time = ListTime::of(static_cast<std::int64_t>(h->timestamp) * NanosPerSecond, zone_);
    listing.members.push_back(std::move(m));
  }
  // The reader tells damage and the end apart by nothing: either way the
  // members read so far stay.
  return listing;
}

ArchiveListing ArchiveLibraries::listZip(const NativePath& archive) {
  ArchiveListing listing;
  Utf8CharacterType utf8;
  std::unique_ptr<struct archive, decltype(&archive_read_free)> a(archive_read_new(), archive_read_free);
  if (!a) return listing;
  archive_read_support_format_zip(a.get());
  if (archive_read_set_options(a.get(), "hdrcharset=CP932") != ARCHIVE_OK) return listing;
  if (archive_read_open_filename(a.get(), archive.c_str(), ReadBlock) != ARCHIVE_OK) return listing;
  listing.opened = true;
  archive_entry* e = nullptr;
  for (;;) {
    const int r = archive_read_next_header(a.get(), &e);
    // At damage the members read before it stay.
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN) break;
    ArchiveMember m;
    if (const char* utf8Name = archive_entry_pathname_utf8(e)) {
      m.path = cp932::fromNativeName(utf8Name);
    } else if (const char* rawName = archive_entry_pathname(e)) {
      m.path = cp932::decode(rawName);
    }
    turnBackslashes(m.path);
    const auto type = archive_entry_filetype(e);
    m.directory = type == AE_IFDIR || (!m.path.empty() && m.path.back() == u'/');
    if (m.directory && !m.path.empty() && m.path.back() != u'/') m.path.push_back(u'/');
    m.regular = !m.directory && (type == AE_IFREG || type == 0);
    m.size = archive_entry_size_is_set(e) ? static_cast<std::uint64_t>(archive_entry_size(e)) : 0;
    // libarchive made the stored DOS fields a time in this process's zone;
    // the same zone gives them back as stored.
    const time_t when = archive_entry_mtime(e);
    struct tm fields {};
    if (localtime_r(&when, &fields)) {
      m.time.year = fields.tm_year + 1900;
      m.time.month = fields.tm_mon + 1;
      m.time.day = fields.tm_mday;
      m.time.hour = fields.tm_hour;
      m.time.minute = fields.tm_min;
    }
    listing.members.push_back(std::move(m));
  }
  return listing;
}

}  // namespace zevro
