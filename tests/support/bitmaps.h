// Small valid bitmaps made on the spot, so that tests can build pictures
// without files: different seeds give different images.
#pragma once

#include <cstdint>
#include <memory>

#include <tavorin/tavorin.h>

namespace tavorin::testing {

/// A 24-bit BMP file of `width` x `height` pixels whose colours follow `seed`.
inline host::ByteArray SmallBitmap(std::uint32_t seed, int width = 2, int height = 2) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes * height);
  const std::uint32_t fileBytes = 54 + pixelBytes;
  host::ByteArray bmp;
  auto put16 = [&](std::uint32_t v) {
    bmp.push_back(static_cast<std::uint8_t>(v));
    bmp.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  auto put32 = [&](std::uint32_t v) {
    put16(v & 0xFFFF);
    put16(v >> 16);
  };
  bmp.push_back('B');
  bmp.push_back('M');
  put32(fileBytes);
  put32(0);
  put32(54);
  put32(40);
  put32(static_cast<std::uint32_t>(width));
  put32(static_cast<std::uint32_t>(height));
  put16(1);
  put16(24);
  put32(0);
  put32(pixelBytes);
  put32(2835);
  put32(2835);
  put32(0);
  put32(0);
  for (std::uint32_t i = 0; i < pixelBytes; ++i) {
    bmp.push_back(static_cast<std::uint8_t>((seed * 2654435761u + i * 40503u) >> 13));
  }
  return bmp;
}

inline std::shared_ptr<host::Picture> SmallPicture(std::uint32_t seed) {
  return host::Picture::FromBytes(SmallBitmap(seed));
}

}  // namespace tavorin::testing
