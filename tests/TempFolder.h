#pragma once
// A temporary folder for one test, removed with everything below it when the
// test ends, and small helpers to lay out files in it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zevro::test {

class TempFolder {
public:
  explicit TempFolder(const char* tag = "zevro-test") {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(tag) + "-XXXXXX")).native();
    if (::mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a temporary folder";
    root_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path path(const std::string& relative) const { return root_ / relative; }

  // Writes a file (and the folders above it) with exactly these bytes.
  void put(const std::string& relative, const std::string& bytes) const {
    std::filesystem::create_directories(path(relative).parent_path());
    std::ofstream(path(relative), std::ios::binary) << bytes;
  }

  std::string get(const std::string& relative) const {
    std::ifstream in(path(relative), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  // True when the entry exists (a dangling link counts).
  bool there(const std::string& relative) const {
    return std::filesystem::exists(std::filesystem::symlink_status(path(relative)));
  }

  // The names in a folder, sorted, hidden and temporary files included.
  std::vector<std::string> namesIn(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(path(relative)))
      names.push_back(e.path().filename().native());
    std::sort(names.begin(), names.end());
    return names;
  }

private:
  std::filesystem::path root_;
};

}  // namespace zevro::test
