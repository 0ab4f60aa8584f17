// Image file headers, and the plain bitmaps that pictures are painted into.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <tavorin/host/picture.h>

namespace tavorin::host::detail {

using ByteView = std::span<const std::uint8_t>;

struct ImageHeader {
  Picture::Kind kind;
  int width;
  int height;
};

/// The kind (from the signature) and the pixel size (from the header) of an
/// image file; nullopt for bytes that are no image we accept: an unknown
/// signature, a header cut short or inconsistent, a side of 0 or above
/// Picture::kMaxSidePixels. Never reads outside `bytes`.
std::optional<ImageHeader> ReadImageHeader(ByteView bytes);

struct Colour {
  std::uint8_t blue;
  std::uint8_t green;
  std::uint8_t red;
};

inline constexpr Colour kWhite{0xFF, 0xFF, 0xFF};

/// Pixels in memory, top row first, three bytes (blue, green, red) each.
struct Raster {
  Raster(int width, int height, Colour fill);

  int width;
  int height;
  std::vector<std::uint8_t> bgr;
};

/// Copies the pixels of an uncompressed 24- or 32-bit BMP file onto `target`
/// at its top left corner, clipped to it. Returns false, leaving `target`
/// untouched, for any other bytes (pixel data cut short included).
bool DrawBitmap(Raster& target, ByteView bmp);

/// Fills the `width` x `height` rectangle at the top left corner of
/// `target`, clipped to it.
void FillTopLeft(Raster& target, int width, int height, Colour colour);

/// A colour that depends only on `bytes`, so a picture always paints alike.
Colour ColourOf(ByteView bytes);

/// The BMP file (BITMAPINFOHEADER, 24 bits, bottom-up, 96 pixels per inch)
/// of `raster`.
ByteArray EncodeBitmap24(const Raster& raster);

}  // namespace tavorin::host::detail
