#pragma once
// Numbers as the search index files hold them: little-endian fixed widths,
// 7-bit varints, and the FNV-1a hash that tells damaged bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zevro::indexbytes {

inline std::uint64_t fnv(std::string_view bytes, std::uint64_t h = 1469598103934665603ull) {
  for (unsigned char b : bytes) {
    h ^= b;
    h *= 1099511628211ull;
  }
  return h;
}

inline void putU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void putU64(std::string& out, std::uint64_t v) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void putVarint(std::string& out, std::uint64_t v) {
  while (v >= 0x80) {
    out.push_back(static_cast<char>((v & 0x7F) | 0x80));
    v >>= 7;
  }
  out.push_back(static_cast<char>(v));
}
inline std::uint64_t getU(std::string_view bytes, std::size_t at, int width) {
  std::uint64_t v = 0;
  for (int i = 0; i < width; ++i) v |= std::uint64_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
  return v;
}
// False when the varint runs past the end or is too long.
inline bool getVarint(std::string_view bytes, std::size_t& at, std::uint64_t& v) {
  v = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (at >= bytes.size()) return false;
    const auto b = static_cast<unsigned char>(bytes[at++]);
    v |= std::uint64_t{b & 0x7Fu} << shift;
    if (!(b & 0x80)) return true;
  }
  return false;
}

}  // namespace zevro::indexbytes
