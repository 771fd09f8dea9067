#include "core/OptionStore.h"

#include <cerrno>
#include <limits>

#include "core/FileOps.h"
#include "core/ListFile.h"
#include "core/OptionValue.h"
#include "core/Strings.h"
#include "platform/WriteLock.h"
#include "text/Cp932.h"

namespace zevro {

namespace {

int clampToInt(std::int64_t n) {
  if (n < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (n > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(n);
}

// The file's bytes; "" for a missing file.
IoError readIfThere(FileSystem& files, const NativePath& path, std::string& bytes) {
  bytes.clear();
  // An option file is small; anything the size of the largest list file is
  // no option file and is not read.
  IoError error = files.readFile(path, bytes, listfile::MaxFileSize);
  if (error.code == ENOENT) return {};
  return error;
}

}  // namespace

OptionStore::OptionStore(FileSystem& files, NativePath path) : files_(files), path_(std::move(path)) {}

IoError OptionStore::load() {
  path_ = fileops::resolved(files_, path_);
  std::string bytes;
  IoError error = readIfThere(files_, path_, bytes);
  document_ = error ? ProfileDocument() : ProfileDocument(bytes);
  return error;
}

bool OptionStore::has(TextView key) const {
  std::optional<Text> value = document_.value(Section, key);
  return value && !value->empty();
}

Text OptionStore::readText(TextView key, TextView defaultText) const {
  std::optional<Text> value = document_.value(Section, key);
  if (!value || value->empty()) return Text(defaultText);
  return *value;
}

int OptionStore::readNumber(TextView key, int defaultValue) const {
  std::optional<Text> value = document_.value(Section, key);
  if (!value || value->empty()) return defaultValue;
  return clampToInt(optval::leadingNumber(*value));
}

bool OptionStore::readBoolean(TextView key, bool defaultValue) const {
  return readNumber(key, defaultValue ? -1 : 0) != 0;
}

bool OptionStore::readOnOff(TextView key, bool defaultValue) const {
  std::optional<Text> value = document_.value(Section, key);
  if (!value || value->empty()) return defaultValue;
  return optval::isOn(*value);
}

std::uint32_t OptionStore::readColour(TextView key, std::uint32_t defaultValue) const {
  std::optional<Text> value = document_.value(Section, key);
  if (!value || value->empty()) return defaultValue;
  return optval::colourOf(*value);
}

NativePath OptionStore::readPath(TextView key, const NativePath& defaultPath) const {
  std::optional<Text> value = document_.value(Section, key);
  if (!value || value->empty()) return defaultPath;
  return NativePath(cp932::toNativeName(*value));
}

void OptionStore::write(TextView key, TextView value) {
  if (!document_.setValue(Section, key, value)) return;
  // Only the last value of a key goes to the file: a value changed and then
  // changed back leaves the file as it was.
  const Text folded = asciiLower(key);
  for (auto& [pendingKey, pendingValue] : pending_) {
    if (asciiLower(pendingKey) != folded) continue;
    pendingValue = Text(value);
    return;
  }
  pending_.emplace_back(Text(key), Text(value));
}

std::optional<Text> OptionStore::stored(TextView key) const {
  std::optional<Text> value = document_.value(Section, key);
  if (value && value->empty()) return std::nullopt;
  return value;
}

// The typed writes compare as their reads do, so that an older version's file
// is not rewritten for a difference of spelling alone.

void OptionStore::writeText(TextView key, TextView text) { write(key, text); }

void OptionStore::writeNumber(TextView key, std::int64_t n) {
  std::optional<Text> value = stored(key);
  if (value && optval::leadingNumber(*value) == n) return;
  write(key, optval::numberText(n));
}

void OptionStore::writeBoolean(TextView key, bool flag) {
  std::optional<Text> value = stored(key);
  if (value && (optval::leadingNumber(*value) != 0) == flag) return;
  write(key, optval::numberText(flag ? -1 : 0));
}

void OptionStore::writeOnOff(TextView key, bool on) {
  std::optional<Text> value = stored(key);
  if (value && optval::isOn(*value) == on) return;
  write(key, optval::onOffText(on));
}

void OptionStore::writeColour(TextView key, std::uint32_t colour) {
  std::optional<Text> value = stored(key);
  if (value && optval::colourOf(*value) == colour) return;
  write(key, optval::colourText(colour));
}

void OptionStore::writePath(TextView key, const NativePath& path) { write(key, cp932::fromNativeName(path.native())); }

IoError OptionStore::save() {
  if (pending_.empty()) return {};
  // Another program may write the file too: the re-read, the change and the
  // write are one step under the program folder's write lock.
  WriteLock lock(path_.parent_path());
  if (!lock) return {lock.error().code, lock.message()};
  path_ = fileops::resolved(files_, path_);  // "zevro32.opt" made meanwhile is the same file
  // Afresh from the disk: a line another program wrote meanwhile survives,
  // and only the keys written here change.
  std::string old;
  if (IoError error = readIfThere(files_, path_, old)) return error;
  ProfileDocument document(old);
  for (const auto& [key, value] : pending_) document.setValue(Section, key, value);
  std::string bytes = document.bytes();
  if (bytes != old) {
    if (IoError error = files_.writeFileAtomic(path_, bytes)) return error;
  }
  document_ = std::move(document);
  pending_.clear();
  return {};
}

}  // namespace zevro
