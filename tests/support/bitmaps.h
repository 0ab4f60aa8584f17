// Small valid bitmaps made on the spot, so that tests can build pictures
// without files: different seeds give different images.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>

#include <tavorin/tavorin.h>

namespace tavorin::testing {

/// A 24-bit BMP file of 2 x 2 pixels whose colours follow `seed`.
inline host::ByteArray SmallBitmap(std::uint32_t seed) {
  constexpr std::uint32_t kPixelBytes = 2 * 8;  // two rows padded to 4 bytes
  host::ByteArray bmp = {'B', 'M'};
  auto put = [&](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  };
  // File header, then the info header: size, width, height, planes, bits,
  // no compression, image size, resolution, palette.
  for (std::uint32_t field : {54 + kPixelBytes, 0U, 54U, 40U, 2U, 2U}) put(field, 4);
  put(1, 2);
  put(24, 2);
  for (std::uint32_t field : {0U, kPixelBytes, 2835U, 2835U, 0U, 0U}) put(field, 4);
  for (std::uint32_t i = 0; i < kPixelBytes; ++i) put((seed * 2654435761U + i * 40503U) >> 13, 1);
  return bmp;
}

inline std::shared_ptr<host::Picture> SmallPicture(std::uint32_t seed) {
  return host::Picture::FromBytes(SmallBitmap(seed));
}

}  // namespace tavorin::testing
