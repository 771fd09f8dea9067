#pragma once
// The option store: the profile file ZEVRO32.Opt in the program folder with
// its single section "[Options]", one line per option, CP932 text, CR LF:
//
//   [Options]
//   CatalogDir=/home/kaori/.local/share/zevro/Catalog
//   ListInterleave= 2
//   ColorF=ON
//   SelBackCol=-2147483635
//
// The file is read once and kept in memory; writes change the copy in memory
// and save() puts the changed keys into the file (the program saves at
// shutdown and may save earlier). A write that leaves a value as it was
// changes nothing, so an unchanged store never rewrites the file and its
// modification time stays. Saving reads the file afresh, changes only the
// keys written since the last save and replaces the file atomically: keys
// of older versions, other sections, comments and the order of the lines
// stay byte for byte, and a failed save leaves the old file as it was.
//
// Keys compare without regard to ASCII case. A key that is missing or has an
// empty value gives the caller's default. Values may be longer than the 254
// characters older versions read back; they are kept whole (a cut folder path
// would name another folder). The value forms are those of core/OptionValue.h;
// the keys and their defaults are in core/OptionKeys.h.
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "core/ProfileDocument.h"
#include "platform/FileSystem.h"
#include "text/Text.h"

namespace zevro {

class OptionStore {
public:
  static constexpr TextView Section = u"Options";

  // path: the option file, like "/home/kaori/.local/share/zevro/ZEVRO32.Opt".
  OptionStore(FileSystem& files, NativePath path);

  // Reads the file (found ignoring case). A missing file is an empty store;
  // a file that cannot be read leaves the store empty and reports the error
  // (save() then refuses to replace it).
  IoError load();

  // The stored text, or the default when the key is missing or empty.
  Text readText(TextView key, TextView defaultText) const;
  // The leading decimal number of the stored text (" 5" -> 5, "12abc" -> 12,
  // "abc" -> 0), limited to the range of int; the default when the key is
  // missing or empty.
  int readNumber(TextView key, int defaultValue) const;
  // readNumber(key, default ? -1 : 0) != 0: "-1" and "1" are true, "0" false.
  bool readBoolean(TextView key, bool defaultValue) const;
  // When the key has a value: true exactly for "ON" in any case; else the default.
  bool readOnOff(TextView key, bool defaultValue) const;
  // A colour as its 32-bit value: "-2147483635" and "2147483661" both give
  // 0x8000000D; the default when the key is missing or empty.
  std::uint32_t readColour(TextView key, std::uint32_t defaultValue) const;
  // A native path stored as text (see writePath); the default when missing or empty.
  NativePath readPath(TextView key, const NativePath& defaultPath) const;
  // True when the key has a value that is not empty.
  bool has(TextView key) const;

  // The typed writes leave a value that already reads as the one written as
  // it is: "on" stays for writeOnOff(true), "5" for writeNumber(5),
  // "2147483661" for writeColour(0x8000000D).
  void writeText(TextView key, TextView text);
  void writeNumber(TextView key, std::int64_t n);        // 5 -> " 5", -1 -> "-1"
  void writeBoolean(TextView key, bool value);           // "-1" / " 0"
  void writeOnOff(TextView key, bool on);                // "ON" / "OFF"
  void writeColour(TextView key, std::uint32_t colour);  // 0x8000000D -> "-2147483635"
  // A native path as text: its bytes as a file name is read (UTF-8, with any
  // byte that is not UTF-8 kept), so that readPath gives the same path back.
  void writePath(TextView key, const NativePath& path);

  // True when a write changed a value that is not yet saved.
  bool changed() const { return !pending_.empty(); }

  // Puts the changed values into the file. Nothing is written (and the file
  // keeps its time) when nothing changed. On failure the old file stays as it
  // was, the values stay pending and the error is returned.
  IoError save();
  // Values written since the last save, not yet in the file.
  bool hasPending() const { return !pending_.empty(); }

  const NativePath& path() const { return path_; }

private:
  void write(TextView key, TextView value);
  // The value of the key when it has one that is not empty.
  std::optional<Text> stored(TextView key) const;

  FileSystem& files_;
  NativePath path_;
  ProfileDocument document_;
  std::vector<std::pair<Text, Text>> pending_;  // key, its last value; in the order first written
};

}  // namespace zevro
