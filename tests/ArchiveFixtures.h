#pragma once
// Archives made at run time for the tests: LZH written byte by byte (header
// levels 0, 1 and 2, stored "-lh0-" members and "-lhd-" folder entries with
// their CRC-16), ZIP through libarchive's writer with CP932 names.
#include <archive.h>
#include <archive_entry.h>
#include <locale.h>
#include <stdlib.h>
#include <time.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "text/Cp932.h"

namespace zevro::test {

// Sets TZ for one test and puts the old value back.
class TimeZoneForTest {
public:
  explicit TimeZoneForTest(const char* tz) {
    if (const char* old = ::getenv("TZ")) old_ = old, had_ = true;
    ::setenv("TZ", tz, 1);
    ::tzset();
  }
  ~TimeZoneForTest() {
    if (had_)
      ::setenv("TZ", old_.c_str(), 1);
    else
      ::unsetenv("TZ");
    ::tzset();
  }
  TimeZoneForTest(const TimeZoneForTest&) = delete;
  TimeZoneForTest& operator=(const TimeZoneForTest&) = delete;

private:
  std::string old_;
  bool had_ = false;
};

// CP932 bytes of a few names the tests use (表 and ソ end in 0x5C).
inline const std::string Hyo = "\x95\x5C";                     // 表
inline const std::string Ji = "\x8E\xA6";                      // 示
inline const std::string So = "\x83\x5C";                      // ソ
inline const std::string Risuto = "\x83\x8A\x83\x58\x83\x67";  // リスト

// A DOS date and time: 2005-03-04 10:20.
inline constexpr std::uint16_t DosDate2005 = ((2005 - 1980) << 9) | (3 << 5) | 4;
inline constexpr std::uint16_t DosTime1020 = (10 << 11) | (20 << 5);

struct LzhEntry {
  std::string name;  // CP932 bytes, "\" between folders; a folder entry ends with "\"
  std::string data;
  bool directory = false;               // written as "-lhd-"
  std::uint16_t dosDate = DosDate2005;  // levels 0 and 1
  std::uint16_t dosTime = DosTime1020;
  std::uint32_t unixTime = 1109931600;  // level 2: 2005-03-04 10:20 UTC
};

inline std::uint16_t crc16(const std::string& bytes) {
  std::uint16_t crc = 0;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int i = 0; i < 8; ++i) crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

inline void putLe(std::string& out, std::uint32_t v, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// The folder part of a CP932 name (with 0xFF after each folder, as the
// extended header 0x02 holds it) and the file name: the last "\\" that is a
// character of its own, not the second byte of one such as 表, divides them.
inline std::pair<std::string, std::string> lzhSplit(const std::string& name) {
  std::size_t cut = std::string::npos;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto b = static_cast<unsigned char>(name[i]);
    if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
      ++i;
      continue;
    }
    if (b == '\\') cut = i;
  }
  if (cut == std::string::npos) return {"", name};
  std::string folder;
  for (std::size_t i = 0; i < cut; ++i) {
    const auto b = static_cast<unsigned char>(name[i]);
    if ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) {
      folder += name.substr(i, 2);
      ++i;
      continue;
    }
    folder.push_back(b == '\\' ? '\xFF' : name[i]);
  }
  folder.push_back('\xFF');
  return {folder, name.substr(cut + 1)};
}

// Extended headers (type, data) chained by their "next size" fields (2 bytes).
inline std::string lzhExtended(const std::vector<std::pair<char, std::string>>& headers) {
  std::string ext;
  for (std::size_t i = 0; i < headers.size(); ++i) {
    ext.push_back(headers[i].first);
    ext += headers[i].second;
    putLe(ext, i + 1 < headers.size() ? static_cast<std::uint32_t>(1 + headers[i + 1].second.size() + 2) : 0, 2);
  }
  return ext;
}

// One member header and its data at the level. folderExtended (level 1):
// the folder part goes into an extended header, as later DOS and Windows
// archivers write it.
inline std::string lzhMember(const LzhEntry& e, int level, bool folderExtended = false) {
  const std::string method = e.directory ? "-lhd-" : "-lh0-";
  const std::uint16_t crc = crc16(e.data);
  const auto [folder, file] = lzhSplit(e.name);
  std::vector<std::pair<char, std::string>> extended;
  std::string h;
  if (level == 0 || level == 1) {
    const bool split = level == 1 && folderExtended;
    const std::string baseName = split ? file : e.name;
    if (split && !folder.empty()) extended.push_back({'\x02', folder});
    const std::string ext = lzhExtended(extended);
    std::string b = method;
    putLe(b, static_cast<std::uint32_t>(e.data.size() + ext.size()), 4);
    putLe(b, static_cast<std::uint32_t>(e.data.size()), 4);
    putLe(b, e.dosTime, 2);
    putLe(b, e.dosDate, 2);
    b.push_back('\x20');
    b.push_back(static_cast<char>(level));
    b.push_back(static_cast<char>(baseName.size()));
    b += baseName;
    putLe(b, crc, 2);
    if (level == 1) {
      b.push_back('M');
      putLe(b, extended.empty() ? 0 : static_cast<std::uint32_t>(1 + extended[0].second.size() + 2), 2);
    }
    unsigned sum = 0;
    for (unsigned char c : b) sum += c;
    h.push_back(static_cast<char>(b.size()));
    h.push_back(static_cast<char>(sum & 0xFF));
    h += b;
    return h + ext + e.data;
  }
  // Level 2: the folder part goes into extended header 0x02, the file name
  // into 0x01.
  if (!file.empty()) extended.push_back({'\x01', file});
  if (!folder.empty()) extended.push_back({'\x02', folder});
  const std::string ext = lzhExtended(extended);
  std::string b = method;
  putLe(b, static_cast<std::uint32_t>(e.data.size()), 4);
  putLe(b, static_cast<std::uint32_t>(e.data.size()), 4);
  putLe(b, e.unixTime, 4);
  b.push_back('\x20');
  b.push_back('\x02');
  putLe(b, crc, 2);
  b.push_back('U');
  putLe(b, extended.empty() ? 0 : static_cast<std::uint32_t>(1 + extended[0].second.size() + 2), 2);
  putLe(h, static_cast<std::uint32_t>(2 + b.size() + ext.size()), 2);
  return h + b + ext + e.data;
}

inline std::string lzhArchive(const std::vector<LzhEntry>& entries, int level, bool folderExtended = false) {
  std::string out;
  for (const LzhEntry& e : entries) out += lzhMember(e, level, folderExtended);
  out.push_back('\0');
  return out;
}

struct ZipEntry {
  std::string name;  // UTF-8, written as CP932 unless utf8Flag
  std::string data;
  bool directory = false;
  bool utf8Flag = false;
  time_t mtime = 1109931600;  // written as DOS fields of this machine's zone
  bool symlink = false;       // data is the link target
  bool raw = false;           // name holds the stored bytes as they are
  bool unixTime = false;      // keeps the Unix time the writer adds; else DOS fields only
};

// Calls patch(zip, header offset, flags offset, extra offset, extra length)
// for the local and central header of the entry with these name bytes.
template <typename Patch>
void patchHeaders(std::string& zip, const std::string& name, Patch patch) {
  struct Header {
    const char* signature;
    std::size_t flagsAt, nameLengthAt, extraLengthAt, nameAt;
  };
  auto u16 = [&zip](std::size_t at) {
    return static_cast<std::size_t>(static_cast<unsigned char>(zip[at])) |
           static_cast<std::size_t>(static_cast<unsigned char>(zip[at + 1])) << 8;
  };
  for (const Header& h : {Header{"PK\x03\x04", 6, 26, 28, 30}, Header{"PK\x01\x02", 8, 28, 30, 46}}) {
    for (std::size_t at = zip.find(h.signature); at != std::string::npos; at = zip.find(h.signature, at + 4)) {
      if (at + h.nameAt > zip.size()) break;
      const std::size_t length = u16(at + h.nameLengthAt);
      if (length != name.size() || zip.compare(at + h.nameAt, length, name) != 0) continue;
      patch(zip, at + h.flagsAt, at + h.nameAt + length, u16(at + h.extraLengthAt));
    }
  }
}

// Sets the UTF-8 flag (bit 11): libarchive's writer takes one name charset
// for a whole archive.
inline void flagUtf8(std::string& zip, const std::string& name) {
  patchHeaders(zip, name, [](std::string& z, std::size_t flagsAt, std::size_t, std::size_t) {
    z[flagsAt + 1] = static_cast<char>(z[flagsAt + 1] | 0x08);
  });
}

// Hides the Unix time (extra field 0x5455) libarchive's writer adds, so the
// member stores only its DOS date and time, as archivers of old media did.
inline void dropUnixTime(std::string& zip, const std::string& name) {
  patchHeaders(zip, name, [](std::string& z, std::size_t, std::size_t extraAt, std::size_t extraLength) {
    for (std::size_t x = extraAt; x + 4 <= extraAt + extraLength;) {
      const std::size_t size =
          static_cast<unsigned char>(z[x + 2]) | static_cast<std::size_t>(static_cast<unsigned char>(z[x + 3])) << 8;
      if (z[x] == 'U' && z[x + 1] == 'T') z[x] = z[x + 1] = 'z';  // an id nobody reads
      x += 4 + size;
    }
  });
}

// Writes a ZIP with libarchive's writer: names (given in UTF-8) stored as
// CP932 bytes without a flag, or as UTF-8 with the UTF-8 flag.
inline bool writeZip(const std::filesystem::path& path, const std::vector<ZipEntry>& entries) {
  archive* a = archive_write_new();
  archive_write_set_format_zip(a);
  archive_write_add_filter_none(a);
  // In the "C" character type the writer stores name bytes as given.
  locale_t plain = newlocale(LC_CTYPE_MASK, "C", nullptr);
  locale_t old = uselocale(plain);
  bool ok = archive_write_open_filename(a, path.c_str()) == ARCHIVE_OK;
  std::vector<std::string> flagged;
  std::vector<std::string> dosOnly;
  for (const ZipEntry& e : entries) {
    if (!ok) break;
    const std::string name = e.utf8Flag || e.raw ? e.name : cp932::encode(cp932::fromNativeName(e.name));
    if (e.utf8Flag) flagged.push_back(name);
    if (!e.unixTime) dosOnly.push_back(name);
    archive_entry* entry = archive_entry_new();
    archive_entry_copy_pathname(entry, name.c_str());
    archive_entry_set_mtime(entry, e.mtime, 0);
    if (e.directory) {
      archive_entry_set_filetype(entry, AE_IFDIR);
      archive_entry_set_perm(entry, 0755);
    } else if (e.symlink) {
      archive_entry_set_filetype(entry, AE_IFLNK);
      archive_entry_set_perm(entry, 0777);
      archive_entry_copy_symlink(entry, e.data.c_str());
    } else {
      archive_entry_set_filetype(entry, AE_IFREG);
      archive_entry_set_perm(entry, 0644);
      archive_entry_set_size(entry, static_cast<la_int64_t>(e.data.size()));
    }
    ok = archive_write_header(a, entry) == ARCHIVE_OK;
    if (ok && !e.directory && !e.symlink && !e.data.empty())
      ok = archive_write_data(a, e.data.data(), e.data.size()) == static_cast<la_ssize_t>(e.data.size());
    archive_entry_free(entry);
  }
  if (archive_write_close(a) != ARCHIVE_OK) ok = false;
  archive_write_free(a);
  uselocale(old);
  freelocale(plain);
  if (!ok) return ok;
  std::ifstream in(path, std::ios::binary);
  std::string zip((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  in.close();
  for (const std::string& name : flagged) flagUtf8(zip, name);
  for (const std::string& name : dosOnly) dropUnixTime(zip, name);
  std::ofstream(path, std::ios::binary | std::ios::trunc) << zip;
  return true;
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace zevro::test
