#include "core/FileOps.h"

#include <cerrno>
#include <system_error>
#include <vector>

#include "core/Strings.h"
#include "text/Cp932.h"

namespace zevro::fileops {

namespace {

constexpr int QuestionFlags = mb::YesNo | mb::DefaultSecond;
constexpr TextView LineBreak = u"\r";
constexpr TextView TwoLineBreaks = u"\r\r";

char16_t foldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool hasWildcard(TextView text) { return text.find_first_of(u"*?") != TextView::npos; }

bool isFileEntry(const DirEntry& e) { return !e.isFolder() && !e.linkToFolder; }
bool isFolderEntry(const DirEntry& e) { return e.isFolder() || e.linkToFolder; }

// "/a/b/" and "/a/./b" both as "/a/b"; "/" stays.
NativePath plain(const NativePath& path) {
  std::string s = path.lexically_normal().native();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return NativePath(s);
}

NativePath folderPart(const NativePath& path) {
  NativePath folder = path.parent_path();
  return folder.empty() ? NativePath(".") : folder;
}

Text namePart(const NativePath& path) { return cp932::fromNativeName(path.filename().native()); }

// The entries of folder that the name or pattern matches, in listing order;
// a plain name finds its exact spelling before one differing in case.
std::vector<DirEntry> matching(FileSystem& files, const NativePath& folder, TextView pattern) {
  std::vector<DirEntry> found;
  if (pattern.empty()) return found;
  if (!hasWildcard(pattern)) {
    std::optional<std::string> name = files.resolveName(folder, cp932::toNativeName(pattern));
    if (!name) return found;
    std::optional<DirEntry> entry = files.stat(folder / *name);
    if (entry) found.push_back(*entry);
    return found;
  }
  for (DirEntry& e : files.list(folder))
    if (matchesWildcard(pattern, nameOf(e))) found.push_back(std::move(e));
  return found;
}

std::vector<DirEntry> matching(FileSystem& files, const NativePath& path) {
  return matching(files, folderPart(path), namePart(path));
}

bool isFileThere(FileSystem& files, const NativePath& path) {
  std::optional<DirEntry> entry = files.stat(path);
  return entry && isFileEntry(*entry);
}

// A mount point (its device differs from its parent's) or "/".
bool isMountRoot(FileSystem& files, const NativePath& folder) {
  NativePath p = plain(folder);
  if (p.has_root_directory() && p.relative_path().empty()) return true;
  std::optional<std::uint64_t> device = files.deviceOf(p);
  std::optional<std::uint64_t> parentDevice = files.deviceOf(folderPart(p));
  return device && parentDevice && *device != *parentDevice;
}

// True when folder is outer itself or one of the folders holding it.
bool holds(const NativePath& folder, const NativePath& outer) {
  NativePath rel = plain(outer).lexically_relative(plain(folder));
  return !rel.empty() && *rel.begin() != "..";
}

IoError errorOf(int code) { return {code, std::generic_category().message(code)}; }

// Unlinks one entry of a folder being emptied; a refused file is tried once
// more without its read-only mark. A link is never changed through (chmod
// would reach its target).
void removeEntry(FileSystem& files, const NativePath& path, const DirEntry& entry) {
  if (!files.removeFile(path)) return;
  if (entry.type != DirEntry::Type::File) return;
  files.setReadOnly(path, false);
  files.removeFile(path);
}

void report(Ui& ui, const Text& text) { ui.systemMessage(text, mb::Ok, u""); }

bool askYes(Ui& ui, const Text& text) { return ui.systemMessage(text, QuestionFlags, u"") == AnswerYes; }

}  // namespace

// --- Messages -------------------------------------------------------------

Text shown(const NativePath& path) { return cp932::fromNativeName(path.native()); }

Text cannotDeleteText(const NativePath& path) { return Text(MsgCannotDeleteFile) + Text(TwoLineBreaks) + shown(path); }

Text rootQuestionText(const NativePath& root) {
  return Text(MsgRootQuestionHead) + shown(root) + Text(MsgRootQuestionTail) + Text(TwoLineBreaks) +
         Text(MsgRootQuestionAsk);
}

Text rootWarningText(const NativePath& root) {
  return Text(MsgRootWarningHead) + shown(root) + Text(MsgRootWarningTail);
}

Text copyFailedText(const IoError& error, bool parentIsRoot, const NativePath& destination) {
  Text text;
  if (parentIsRoot && error.code == ENOSPC) {
    text = Text(MsgRootFolderFull) + Text(LineBreak) + Text(MsgRootFolderFullWhy) + Text(TwoLineBreaks) +
           Text(MsgRootFolderFullHint1) + Text(LineBreak) + Text(MsgRootFolderFullHint2) + Text(TwoLineBreaks);
  } else {
    text = fromUtf8(error.text) + Text(LineBreak);
  }
  return text + Text(MsgCopyFileLabel) + shown(destination);
}

Text moveFailedText(const IoError& error, const NativePath& destination) {
  return fromUtf8(error.text) + Text(LineBreak) + Text(MsgMoveFileLabel) + shown(destination);
}

Text sourceKeptText(const NativePath& source) {
  return Text(MsgSourceKeptHead) + shown(source) + Text(MsgSourceKeptTail);
}

// --- Names and patterns ---------------------------------------------------

bool matchesWildcard(TextView pattern, TextView name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = TextView::npos;  // position of the last "*" seen
  std::size_t resume = 0;             // where the name goes on when that "*" takes one more
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      resume = n;
      continue;
    }
    if (p < pattern.size() && (pattern[p] == u'?' || foldAscii(pattern[p]) == foldAscii(name[n]))) {
      ++p;
      ++n;
      continue;
    }
    if (star == TextView::npos) return false;
    p = star + 1;
    n = ++resume;
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

Text nameOf(const DirEntry& entry) { return cp932::fromNativeName(entry.name); }

// --- Existence and listings -----------------------------------------------

bool fileExists(FileSystem& files, const NativePath& path) {
  return fileExists(files, folderPart(path), namePart(path));
}

bool fileExists(FileSystem& files, const NativePath& folder, TextView pattern) {
  for (const DirEntry& e : matching(files, folder, pattern))
    if (isFileEntry(e)) return true;
  return false;
}

bool folderExists(FileSystem& files, const NativePath& path) {
  NativePath p = plain(path);
  if (p.empty()) return false;
  if (p.filename().empty() || p.filename() == "." || p.filename() == "..") {
    std::optional<DirEntry> entry = files.stat(p);
    return entry && isFolderEntry(*entry);
  }
  for (const DirEntry& e : matching(files, p))
    if (isFolderEntry(e)) return true;
  return false;
}

Text listFiles(FileSystem& files, const NativePath& folder, TextView pattern) {
  Text list;
  for (const DirEntry& e : files.list(folder)) {
    if (!isFileEntry(e)) continue;
    Text name = nameOf(e);
    if (matchesWildcard(pattern, name)) appendName(list, name);
  }
  return list;
}

Text listFolders(FileSystem& files, const NativePath& folder, TextView pattern) {
  Text list;
  for (const DirEntry& e : files.list(folder)) {
    if (!isFolderEntry(e) || e.name.starts_with('.')) continue;
    Text name = nameOf(e);
    if (matchesWildcard(pattern, name)) appendName(list, name);
  }
  return list;
}

std::uint64_t fileSize(FileSystem& files, const NativePath& path) {
  std::vector<DirEntry> found = matching(files, path);
  return found.empty() ? 0 : found.front().size;
}

NativePath resolved(FileSystem& files, const NativePath& path) {
  if (path.filename().empty()) return path;
  std::optional<std::string> name = files.resolveName(folderPart(path), path.filename().native());
  if (!name) return path;
  return path.parent_path() / *name;
}

// --- File operations ------------------------------------------------------

void deleteFile(FileSystem& files, const NativePath& path) {
  NativePath p = resolved(files, path);
  std::optional<DirEntry> entry = files.stat(p);
  if (!entry || entry->isFolder()) return;
  removeEntry(files, p, *entry);
}

bool clearForWriting(FileSystem& files, const NativePath& path) {
  NativePath p = resolved(files, path);
  std::optional<DirEntry> entry = files.stat(p);
  if (!entry) return true;
  if (entry->isFolder()) return false;
  if (entry->type != DirEntry::Type::File || !entry->readOnly) return true;
  return !files.setReadOnly(p, false);
}

void deleteFilesOfFolder(FileSystem& files, const NativePath& folder) {
  if (!folderExists(files, folder)) return;
  forEachName(listFiles(files, folder, u"*"),
              [&](TextView name) { deleteFile(files, folder / cp932::toNativeName(name)); });
}

bool confirmRootDeletion(Platform& platform, const NativePath& folder) {
  NativePath p = plain(folder);
  if (p.empty()) return false;
  if (p.has_root_directory() && p.relative_path().empty()) return false;  // "/"
  if (std::optional<NativePath> home = platform.files.homeFolder(); home && !home->empty() && holds(p, *home))
    return false;
  if (!isMountRoot(platform.files, p)) return true;
  if (!askYes(platform.ui, rootQuestionText(p))) return false;
  return askYes(platform.ui, rootWarningText(p));
}

bool deleteFolderTree(Platform& platform, const NativePath& given) {
  FileSystem& files = platform.files;
  // Without its trailing "/", a link to a folder is seen as the link.
  const NativePath folder = plain(given);
  std::optional<DirEntry> top = files.stat(folder);
  if (!top) return true;
  if (top->type == DirEntry::Type::Link) return !files.removeFile(folder);  // the link, not its target
  if (!top->isFolder()) return false;
  if (!confirmRootDeletion(platform, folder)) return false;

  // Entries of a folder without write permission cannot be removed.
  if (top->readOnly) files.setReadOnly(folder, false);
  for (const DirEntry& e : files.list(folder)) {
    NativePath path = folder / e.name;
    if (e.isFolder()) {
      deleteFolderTree(platform, path);
      continue;
    }
    removeEntry(files, path, e);
    if (files.stat(path)) report(platform.ui, cannotDeleteText(path));
  }
  return !files.removeFolder(folder);
}

bool createFolderChain(FileSystem& files, const NativePath& folder) {
  files.createFolders(folder);
  std::optional<DirEntry> entry = files.stat(plain(folder));
  return entry && isFolderEntry(*entry);
}

bool copyFile(Platform& platform, const NativePath& source, const NativePath& destination) {
  FileSystem& files = platform.files;
  NativePath from = resolved(files, source);
  if (!isFileThere(files, from)) return false;
  NativePath to = resolved(files, destination);
  if (plain(from) == plain(to)) return false;  // onto itself: nothing to do, nothing to lose
  if (!clearForWriting(files, to)) return false;
  if (IoError error = files.copyFile(from, to)) {
    report(platform.ui, copyFailedText(error, isMountRoot(files, folderPart(to)), to));
    return false;
  }
  return isFileThere(files, to);
}

bool moveFileToFolder(Platform& platform, const NativePath& source, const NativePath& folder) {
  FileSystem& files = platform.files;
  NativePath from = resolved(files, source);
  std::optional<DirEntry> entry = files.stat(from);
  if (!entry || !isFileEntry(*entry)) return false;
  NativePath to = resolved(files, folder / from.filename());
  if (plain(from) == plain(to)) return false;
  if (!clearForWriting(files, to)) return false;

  IoError renamed = files.renameFile(from, to);
  if (!renamed) return isFileThere(files, to);
  if (renamed.code != EXDEV) {
    report(platform.ui, moveFailedText(renamed, to));
    return false;
  }

  // Another file system: the source goes only once its copy is complete.
  if (IoError copied = files.copyFile(from, to)) {
    report(platform.ui, moveFailedText(copied, to));
    return false;
  }
  std::optional<DirEntry> copy = files.stat(to);
  if (!copy || copy->size != entry->size) {
    report(platform.ui, moveFailedText(errorOf(EIO), to));
    return false;
  }
  deleteFile(files, from);
  if (files.stat(from)) report(platform.ui, sourceKeptText(from));
  return true;
}

void migrateOldExtension(Platform& platform, const NativePath& newPath, TextView oldExtension) {
  FileSystem& files = platform.files;
  Text name = namePart(newPath);
  Text oldName = changeExtension(name, oldExtension);
  if (asciiLower(oldName) == asciiLower(name)) return;  // same file: nothing to migrate
  NativePath oldPath = folderPart(newPath) / cp932::toNativeName(oldName);
  if (isFileThere(files, resolved(files, newPath))) {
    deleteFile(files, oldPath);
    return;
  }
  if (!isFileThere(files, resolved(files, oldPath))) return;
  if (copyFile(platform, oldPath, newPath)) deleteFile(files, oldPath);
}

Text browseForFolder(Ui& ui, TextView initialFolder, TextView title) {
  Text initial(initialFolder);
  if (initial.size() == 2 && initial[1] == u':') initial += ch::PathSeparator;
  return ui.browseForFolder(initial, title);
}

}  // namespace zevro::fileops
