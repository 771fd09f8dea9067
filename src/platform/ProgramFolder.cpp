#include "platform/ProgramFolder.h"

#include <system_error>

#include "platform/LinuxFileSystem.h"

namespace zevro {

namespace {

constexpr const char* NoHome = "cannot tell the program folder: HOME is not set (use --program-dir or ZEVRO_HOME)";
constexpr const char* CannotCreate = "cannot create the program folder ";
constexpr const char* NotAFolder = " is not a folder";

// Absolute, without "." and ".." steps and without a trailing "/".
NativePath tidy(const NativePath& folder) {
  std::error_code ec;  // without a current folder the relative path stays as it is
  NativePath absolute = folder.is_absolute() ? folder : std::filesystem::absolute(folder, ec);
  if (ec) absolute = folder;
  std::string s = absolute.lexically_normal().native();
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return NativePath(s);
}

}  // namespace

NativePath chooseProgramFolder(const std::string& argument, const EnvironmentLookup& environment) {
  if (!argument.empty()) return tidy(argument);
  if (std::string home = environment("ZEVRO_HOME"); !home.empty()) return tidy(home);
  if (std::string data = environment("XDG_DATA_HOME"); !data.empty() && NativePath(data).is_absolute())
    return tidy(NativePath(data) / "zevro");
  if (std::string home = environment("HOME"); !home.empty()) return tidy(NativePath(home) / ".local/share/zevro");
  return {};
}

ProgramFolderResult settleProgramFolder(FileSystem& files, const std::string& argument,
                                        const EnvironmentLookup& environment) {
  NativePath folder = chooseProgramFolder(argument, environment);
  if (folder.empty()) return {{}, NoHome};
  std::optional<DirEntry> entry = files.stat(folder);
  if (entry && (entry->isFolder() || entry->linkToFolder)) return {folder, {}};
  if (entry) return {{}, "the program folder " + folder.native() + NotAFolder};
  if (IoError e = files.createFolders(folder)) return {{}, CannotCreate + folder.native() + ": " + e.text};
  return {folder, {}};
}

ProgramFolderResult settleProgramFolder(const std::string& argument, const EnvironmentLookup& environment) {
  LinuxFileSystem files;
  return settleProgramFolder(files, argument, environment);
}

NativePath playerSettingsFolder(const NativePath& programFolder, const EnvironmentLookup& environment) {
  const std::string windir = environment ? environment("WINDIR") : std::string();
  return windir.empty() ? programFolder : NativePath(windir);
}

}  // namespace zevro
