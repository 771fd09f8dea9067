#pragma once
// A whole file's bytes for reading, as long as the view lives: mapped into
// memory where the system can (no copy of the file is made), else read.
//
//   FileView view;
//   if (IoError e = files.viewFile(path, view)) …;
//   scan(view.bytes());     // like "BX001F5…", the whole file
//
// A mapped view shows the file as it is on disk; the program replaces its
// files by renaming a new one over them, which leaves a view of the old one
// intact.
#include <cstddef>
#include <string>
#include <string_view>

namespace zevro {

class FileView {
public:
  FileView() = default;
  ~FileView() { release(); }
  FileView(const FileView&) = delete;
  FileView& operator=(const FileView&) = delete;

  std::string_view bytes() const {
    return mapped_ ? std::string_view(static_cast<const char*>(mapped_), size_) : std::string_view(owned_);
  }

  // Shows bytes read into memory (the view owns them).
  void hold(std::string bytes) {
    release();
    owned_ = std::move(bytes);
  }
  // Shows a mapping of `size` bytes, unmapped when the view is released.
  void holdMapping(const void* data, std::size_t size) {
    release();
    mapped_ = data;
    size_ = size;
  }
  // Nothing shown any more; the buffer of read bytes is kept for reuse.
  void release();
  // The buffer a read can fill (released first).
  std::string& buffer() {
    release();
    return owned_;
  }

private:
  const void* mapped_ = nullptr;
  std::size_t size_ = 0;
  std::string owned_;
};

}  // namespace zevro
