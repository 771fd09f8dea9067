#include "platform/MemoryHint.h"

#include <sys/mman.h>

#include <cstdint>

namespace zevro {

namespace {
constexpr std::uintptr_t HugePage = std::uintptr_t{2} << 20;
constexpr std::size_t WorthAdvising = 8u << 20;
}  // namespace

void adviseLargeBlock(void* data, std::size_t bytes) noexcept {
  if (data == nullptr || bytes < WorthAdvising) return;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + HugePage - 1) & ~(HugePage - 1);
  const std::uintptr_t last = (begin + bytes) & ~(HugePage - 1);
  if (last <= first) return;
  ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace zevro
