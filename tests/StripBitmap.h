#pragma once
// A BMP file made in memory for the tests of the icon strip's picture file.
#include <cstdint>
#include <string>

namespace zevro::test {

// A 24-bit BMP of the given size, all white; pixels short by `cut` bytes.
inline std::string bitmapBytes(int width, int height, std::size_t cut = 0, int bits = 24) {
  const std::size_t rowBytes = static_cast<std::size_t>((width * bits + 31) / 32 * 4);
  const std::size_t pixels = rowBytes * static_cast<std::size_t>(height < 0 ? -height : height);
  std::string b(54 + pixels, '\xFF');
  auto put = [&](std::size_t at, std::uint32_t v, int width_) {
    for (int i = 0; i < width_; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, static_cast<std::uint32_t>(b.size()), 4);
  put(6, 0, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(width), 4);
  put(22, static_cast<std::uint32_t>(height), 4);
  put(26, 1, 2);
  put(28, static_cast<std::uint32_t>(bits), 2);
  put(30, 0, 4);
  put(34, static_cast<std::uint32_t>(pixels), 4);
  put(38, 2835, 4);
  put(42, 2835, 4);
  put(46, 0, 4);
  put(50, 0, 4);
  b.resize(b.size() - cut);
  return b;
}

// A whole strip picture of `icons` icons (32 px wide, 16 px an icon).
inline std::string stripBitmap(int icons) { return bitmapBytes(32, icons * 16); }

}  // namespace zevro::test
