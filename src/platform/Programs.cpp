#include "platform/Programs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace zevro {

std::optional<NativePath> LinuxPrograms::find(std::string_view name) {
  if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const std::size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    if (!folder.empty()) {
      const NativePath candidate = NativePath(std::string(folder)) / std::string(name);
      struct stat st {};
      if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
        return candidate;
    }
    if (colon == std::string_view::npos) break;
    folders.remove_prefix(colon + 1);
  }
  return std::nullopt;
}

bool LinuxPrograms::start(const NativePath& program, const std::vector<std::string>& arguments) {
  std::vector<std::string> words;
  words.push_back(program.native());
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  // Started through a middle process that ends at once, so that the program
  // runs on its own and never stays behind as a child of ours. A pipe that
  // closes on exec tells whether the exec worked.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  const pid_t middle = ::fork();
  if (middle < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return false;
  }
  if (middle == 0) {
    ::close(report[0]);
    ::setsid();
    const pid_t child = ::fork();
    if (child == 0) {
      ::execv(argv[0], argv.data());
      const char failed = 1;
      (void)!::write(report[1], &failed, 1);
      ::_exit(127);
    }
    ::_exit(child < 0 ? 1 : 0);
  }
  ::close(report[1]);
  int status = 0;
  while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  char failed = 0;
  ssize_t got = 0;
  while ((got = ::read(report[0], &failed, 1)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

std::optional<NativePath> FakePrograms::find(std::string_view name) {
  for (const auto& [n, path] : installed)
    if (n == name) return path;
  return std::nullopt;
}

bool FakePrograms::start(const NativePath& program, const std::vector<std::string>& arguments) {
  started.push_back({program, arguments});
  return true;
}

}  // namespace zevro
