#pragma once
// Other programs of this machine: finding one on PATH and starting it with
// an argument list (never through a shell, so that no file name is ever
// taken for a command).
//
//   programs.find("mpv")                          -> "/usr/bin/mpv"
//   programs.start("/usr/bin/mpv", {"/media/kaori/DVD/MOVIE.MPG"})
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace zevro {

class Programs {
public:
  virtual ~Programs() = default;
  // The program of that name on PATH (an executable file), or nullopt.
  virtual std::optional<NativePath> find(std::string_view name) = 0;
  // Starts the program with these arguments and does not wait for it;
  // false when it could not be started.
  virtual bool start(const NativePath& program, const std::vector<std::string>& arguments) = 0;
};

// PATH lookup and posix_spawn; the started program is left to run on its own.
class LinuxPrograms final : public Programs {
public:
  std::optional<NativePath> find(std::string_view name) override;
  bool start(const NativePath& program, const std::vector<std::string>& arguments) override;
};

// For tests: the programs "installed" and every start recorded.
class FakePrograms final : public Programs {
public:
  struct Start {
    NativePath program;
    std::vector<std::string> arguments;
  };
  std::vector<std::pair<std::string, NativePath>> installed;  // name, path
  std::vector<Start> started;

  std::optional<NativePath> find(std::string_view name) override;
  bool start(const NativePath& program, const std::vector<std::string>& arguments) override;
};

}  // namespace zevro
