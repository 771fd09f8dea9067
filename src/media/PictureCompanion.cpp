#include "media/PictureCompanion.h"

#include <array>
#include <cstdio>

#include "core/CatalogList.h"
#include "core/FileOps.h"
#include "core/Record.h"
#include "core/Strings.h"
#include "text/Cp932.h"

namespace zevro {

namespace picturecodec {

namespace {

constexpr std::size_t HeaderWidth = LengthWidth + IdWidth;

std::optional<std::size_t> hexLength(std::string_view field) {
  std::size_t n = 0;
  for (char c : field) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (v < 0) return std::nullopt;
    n = n * 16 + static_cast<std::size_t>(v);
  }
  return n;
}

}  // namespace

Parsed parse(std::string_view bytes) {
  Parsed out;
  std::size_t at = 0;
  while (at < bytes.size()) {
    const std::string_view rest = bytes.substr(at);
    const std::string_view lengthField = rest.substr(0, LengthWidth);
    if (lengthField.find('\0') != std::string_view::npos) {
      // The end of the pictures; only zero padding may follow.
      out.damaged = rest.find_first_not_of('\0') != std::string_view::npos;
      break;
    }
    const std::optional<std::size_t> length = hexLength(lengthField);
    if (rest.size() < HeaderWidth || lengthField.size() < LengthWidth || !length ||
        *length > rest.size() - HeaderWidth) {
      out.damaged = true;
      break;
    }
    Record r;
    r.idField = std::string(rest.substr(LengthWidth, IdWidth));
    r.start = at;
    r.data = at + HeaderWidth;
    r.length = *length;
    out.records.push_back(r);
    at = r.end();
  }
  return out;
}

std::string record(std::string_view id, std::string_view data) {
  std::array<char, LengthWidth + 1> length{};
  std::snprintf(length.data(), length.size(), "%08zX", data.size());
  std::string out(length.data(), LengthWidth);
  std::string idField(id);
  idField.resize(IdWidth, ' ');
  out += idField;
  out += data;
  return out;
}

bool holds(const Record& r, std::string_view id) { return !id.empty() && r.idField.starts_with(id); }

std::optional<std::string> withPicture(std::string_view bytes, std::string_view id, std::string_view data) {
  const Parsed parsed = parse(bytes);
  if (parsed.damaged) return std::nullopt;
  std::string out;
  bool placed = false;
  for (const Record& r : parsed.records) {
    if (!holds(r, id)) {
      out += bytes.substr(r.start, r.end() - r.start);
    } else if (!placed) {
      out += record(id, data);
      placed = true;
    }
  }
  if (!placed) out += record(id, data);
  return out;
}

std::optional<std::string> withoutPicture(std::string_view bytes, std::string_view id) {
  const Parsed parsed = parse(bytes);
  if (parsed.damaged) return std::nullopt;
  std::string out;
  for (const Record& r : parsed.records)
    if (!holds(r, id)) out += bytes.substr(r.start, r.end() - r.start);
  return out;
}

std::optional<std::string> pictureOf(std::string_view bytes, std::string_view id) {
  for (const Record& r : parse(bytes).records)
    if (holds(r, id)) return std::string(bytes.substr(r.data, r.length));
  return std::nullopt;
}

Text nextFreeId(TextView heap) {
  std::array<bool, MaxId + 1> used{};
  const char16_t marker = record::marker(catalog::FieldImage);
  for (std::size_t at = heap.find(marker); at != TextView::npos; at = heap.find(marker, at + 1)) {
    if (heap.size() - at <= IdDigits) break;
    int n = 0;
    bool digits = true;
    for (std::size_t i = 1; i <= IdDigits; ++i) {
      const char16_t c = heap[at + i];
      digits = digits && c >= u'0' && c <= u'9';
      n = n * 10 + (c - u'0');
    }
    if (digits) used[static_cast<std::size_t>(n)] = true;
  }
  for (int n = 1; n <= MaxId; ++n) {
    if (used[static_cast<std::size_t>(n)]) continue;
    return Text{static_cast<char16_t>(u'0' + n / 100), static_cast<char16_t>(u'0' + n / 10 % 10),
                static_cast<char16_t>(u'0' + n % 10)};
  }
  return {};
}

Text catalogKey(TextView listFileName) {
  Text name(listFileName.size() > 3 ? listFileName.substr(3) : TextView{});
  if (const std::size_t dot = name.rfind(u'.'); dot != Text::npos) name.erase(dot);
  for (std::size_t i = 0; i < 2 && i < name.size(); ++i)
    if (name[i] >= u'a' && name[i] <= u'z') name[i] = static_cast<char16_t>(name[i] - u'a' + u'A');
  return name;
}

Text companionName(TextView listFileName) { return u"_p_" + catalogKey(listFileName) + u".ccj"; }

}  // namespace picturecodec

// ---------------------------------------------------------------- operations

NativePath AttachedPictures::companionPath(TextView listFileName) const {
  return s_.catalogFolder / cp932::toNativeName(picturecodec::companionName(listFileName));
}

void AttachedPictures::SyncPictureCache(TextView listFileName) {
  FileSystem& files = s_.platform.files;
  const Text key = asciiUpper(picturecodec::catalogKey(listFileName));
  const NativePath nameFile = s_.workFolder / CacheNameFile;
  std::string bytes;
  if (!files.readFile(nameFile, bytes)) {
    Text first = cp932::decode(bytes);
    if (const std::size_t end = first.find_first_of(u"\r\n"); end != Text::npos) first.erase(end);
    if (first == key) return;
    fileops::deleteFilesOfFolder(files, s_.workFolder);
  }
  files.createFolders(s_.workFolder);
  files.writeFileAtomic(nameFile, cp932::encode(key) + "\r\n");
}

std::optional<NativePath> AttachedPictures::LoadAttachedPicture(TextView listFileName, TextView id) {
  if (id.empty()) return std::nullopt;
  FileSystem& files = s_.platform.files;
  const NativePath cached = s_.workFolder / (cp932::toNativeName(id) + ".jpg");
  if (fileops::fileExists(files, cached)) return cached;
  std::string companion;
  if (files.readFile(companionPath(listFileName), companion)) return std::nullopt;
  const std::optional<std::string> picture = picturecodec::pictureOf(companion, cp932::toNativeName(id));
  if (!picture) return std::nullopt;
  files.createFolders(s_.workFolder);
  if (IoError error = files.writeFileAtomic(cached, *picture)) {
    report(error, cached);
    return std::nullopt;
  }
  return cached;
}

bool AttachedPictures::AddPicture(RowStore& catalog, int row, RowStore* pane, int paneRow, TextView listFileName,
                                  const NativePath& picture) {
  SyncPictureCache(listFileName);
  FileSystem& files = s_.platform.files;
  Text id = catalog.field(catalog::FieldImage, row);
  if (id.empty()) id = picturecodec::nextFreeId(catalog.heap());
  if (id.empty()) {
    s_.platform.ui.beep();
    return false;
  }
  std::string data;
  if (IoError error = files.readFile(picture, data)) {
    report(error, picture);
    return false;
  }
  const NativePath companion = companionPath(listFileName);
  std::string old;
  if (IoError error = files.readFile(companion, old); error && error.code != ENOENT) {
    report(error, companion);
    return false;
  }
  if (!writeCompanion(companion, picturecodec::withPicture(old, cp932::toNativeName(id), data))) return false;
  const NativePath cached = s_.workFolder / (cp932::toNativeName(id) + ".jpg");
  files.createFolders(s_.workFolder);
  if (IoError error = files.writeFileAtomic(cached, data)) report(error, cached);

  setImage(catalog, row, id);
  if (pane != nullptr && paneRow >= 0) setImage(*pane, paneRow, id);
  catalog.setModified(true);
  return true;
}

bool AttachedPictures::RemovePicture(RowStore& catalog, int row, RowStore* pane, int paneRow,
                                     TextView listFileName) {
  SyncPictureCache(listFileName);
  FileSystem& files = s_.platform.files;
  const Text id = catalog.field(catalog::FieldImage, row);
  if (!id.empty()) {
    const NativePath companion = companionPath(listFileName);
    std::string old;
    IoError error = files.readFile(companion, old);
    if (error && error.code != ENOENT) {
      report(error, companion);
      return false;
    }
    if (!error && !writeCompanion(companion, picturecodec::withoutPicture(old, cp932::toNativeName(id))))
      return false;
    fileops::deleteFile(files, s_.workFolder / (cp932::toNativeName(id) + ".jpg"));
  }
  setImage(catalog, row, {});
  if (pane != nullptr && paneRow >= 0) setImage(*pane, paneRow, {});
  catalog.setModified(true);
  return true;
}

bool AttachedPictures::writeCompanion(const NativePath& path, const std::optional<std::string>& bytes) {
  if (!bytes) {
    s_.platform.ui.systemMessage(Text(DamagedMessage) + u"\r" + cp932::fromNativeName(path.native()), mb::Ok,
                                 {});
    return false;
  }
  if (IoError error = s_.platform.files.writeFileAtomic(path, *bytes)) {
    report(error, path);
    return false;
  }
  return true;
}

void AttachedPictures::report(const IoError& error, const NativePath& path) {
  s_.platform.ui.systemMessage(
      cp932::fromNativeName(path.native()) + u"\r" + cp932::fromNativeName(error.text), mb::Ok, {});
}

void AttachedPictures::setImage(RowStore& store, int row, TextView id) {
  const TextView flags = store.fieldView(catalog::FieldFlags, row);
  int bits = flags.empty() ? 0 : flags[0] - catalog::FlagBase;
  bits = id.empty() ? bits & ~catalog::FlagImage : bits | catalog::FlagImage;
  store.setField(catalog::FieldFlags, row, Text(1, static_cast<char16_t>(catalog::FlagBase + bits)));
  store.setField(catalog::FieldImage, row, id);
}

}  // namespace zevro
