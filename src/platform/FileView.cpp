#include "platform/FileView.h"

#include <sys/mman.h>

namespace zevro {

void FileView::release() {
  if (mapped_) ::munmap(const_cast<void*>(mapped_), size_);
  mapped_ = nullptr;
  size_ = 0;
  owned_.clear();
}

}  // namespace zevro
