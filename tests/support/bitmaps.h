// Small valid bitmaps made on the spot, so that tests can build pictures
// without files: different seeds give different images.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>

#include <tavorin/tavorin.h>

namespace tavorin::testing {

inline void AppendLittleEndian(host::ByteArray& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

/// The 54 header bytes of an uncompressed BMP; a negative height is top-down.
inline host::ByteArray BitmapHeader(std::int32_t width, std::int32_t height, int bits,
                                    std::uint32_t pixelBytes) {
  host::ByteArray bmp = {'B', 'M'};
  // File header, then the info header: size, width, height, planes, bits,
  // no compression, image size, resolution, palette.
  for (std::uint32_t field : {54 + pixelBytes, 0U, 54U, 40U, static_cast<std::uint32_t>(width),
                              static_cast<std::uint32_t>(height)}) {
    AppendLittleEndian(bmp, field, 4);
  }
  AppendLittleEndian(bmp, 1, 2);
  AppendLittleEndian(bmp, static_cast<std::uint32_t>(bits), 2);
  for (std::uint32_t field : {0U, pixelBytes, 2835U, 2835U, 0U, 0U})
    AppendLittleEndian(bmp, field, 4);
  return bmp;
}

/// A 24-bit BMP file of 2 x 2 pixels whose colours follow `seed`.
inline host::ByteArray SmallBitmap(std::uint32_t seed) {
  constexpr std::uint32_t kPixelBytes = 2 * 8;  // two rows padded to 4 bytes
  host::ByteArray bmp = BitmapHeader(2, 2, 24, kPixelBytes);
  for (std::uint32_t i = 0; i < kPixelBytes; ++i) {
    AppendLittleEndian(bmp, (seed * 2654435761U + i * 40503U) >> 13, 1);
  }
  return bmp;
}

inline std::shared_ptr<host::Picture> SmallPicture(std::uint32_t seed) {
  return host::Picture::FromBytes(SmallBitmap(seed));
}

/// The image of a picture value; empty for Nothing or an object that is no picture.
inline host::ByteArray ImageOf(const host::Variant& value) {
  const auto picture = std::dynamic_pointer_cast<host::Picture>(value.AsObject());
  return picture ? picture->Bytes() : host::ByteArray{};
}

}  // namespace tavorin::testing
