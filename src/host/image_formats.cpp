#include "host/image_formats.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "host/byte_coding.h"

namespace tavorin::host::detail {
namespace {

using namespace std::string_view_literals;

// Fixed-width reads that say whether the bytes were there, so that no header
// field is read before its size has been checked.
bool Has(ByteView bytes, std::size_t at, std::size_t count) {
  return at <= bytes.size() && bytes.size() - at >= count;
}

std::optional<std::uint32_t> U16Le(ByteView bytes, std::size_t at) {
  if (!Has(bytes, at, 2)) return std::nullopt;
  return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8);
}

std::optional<std::uint32_t> U16Be(ByteView bytes, std::size_t at) {
  if (!Has(bytes, at, 2)) return std::nullopt;
  return static_cast<std::uint32_t>(bytes[at] << 8 | bytes[at + 1]);
}

std::optional<std::uint32_t> U32Le(ByteView bytes, std::size_t at) {
  if (!Has(bytes, at, 4)) return std::nullopt;
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::optional<std::uint32_t> U32Be(ByteView bytes, std::size_t at) {
  if (!Has(bytes, at, 4)) return std::nullopt;
  return static_cast<std::uint32_t>(bytes[at]) << 24 |
         static_cast<std::uint32_t>(bytes[at + 1]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 8 | static_cast<std::uint32_t>(bytes[at + 3]);
}

std::optional<std::int32_t> I32Le(ByteView bytes, std::size_t at) {
  const auto value = U32Le(bytes, at);
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

struct Size {
  std::int64_t width;
  std::int64_t height;
};

// --- BMP -------------------------------------------------------------------
// "BM", file size (4), reserved (4), pixel data offset (4) at 10, then the
// header whose own size (4) at 14 tells its layout: 12 is the old core
// header (16-bit width and height), the rest share the info header's
// 32-bit fields; a negative height means the rows run top-down.

constexpr std::size_t kBmpFileHeaderBytes = 14;
constexpr std::uint32_t kBmpCoreHeaderBytes = 12;
constexpr std::uint32_t kBmpInfoHeaderSizes[] = {40, 52, 56, 64, 108, 124};
constexpr std::uint32_t kBmpUncompressed = 0;

struct BmpLayout {
  std::int64_t width;
  std::int64_t height;  // always positive
  bool topDown;
  std::uint32_t bitsPerPixel;
  std::uint32_t compression;
  std::uint32_t pixelOffset;
};

std::optional<BmpLayout> ReadBmpLayout(ByteView bytes) {
  const auto pixelOffset = U32Le(bytes, 10);
  const auto headerBytes = U32Le(bytes, kBmpFileHeaderBytes);
  if (!pixelOffset || !headerBytes) return std::nullopt;
  if (*pixelOffset < kBmpFileHeaderBytes + *headerBytes || *pixelOffset >= bytes.size()) {
    return std::nullopt;
  }
  if (*headerBytes == kBmpCoreHeaderBytes) {
    const auto width = U16Le(bytes, 18);
    const auto height = U16Le(bytes, 20);
    const auto bits = U16Le(bytes, 24);
    if (!width || !height || !bits) return std::nullopt;
    return BmpLayout{*width, *height, false, *bits, kBmpUncompressed, *pixelOffset};
  }
  if (std::find(std::begin(kBmpInfoHeaderSizes), std::end(kBmpInfoHeaderSizes), *headerBytes) ==
      std::end(kBmpInfoHeaderSizes)) {
    return std::nullopt;
  }
  const auto width = I32Le(bytes, 18);
  const auto height = I32Le(bytes, 22);
  const auto bits = U16Le(bytes, 28);
  const auto compression = U32Le(bytes, 30);
  if (!width || !height || !bits || !compression) return std::nullopt;
  const std::int64_t signedHeight = *height;
  return BmpLayout{*width, std::abs(signedHeight), signedHeight < 0,
                   *bits,  *compression,           *pixelOffset};
}

std::optional<Size> ReadBmpSize(ByteView bytes) {
  const auto layout = ReadBmpLayout(bytes);
  if (!layout) return std::nullopt;
  return Size{layout->width, layout->height};
}

// --- ICO / CUR -------------------------------------------------------------
// Reserved (2), type (2), image count (2), then 16-byte directory entries:
// width (1, 0 means 256), height (1, likewise), ..., image bytes (4) at 8 and
// image offset (4) at 12. The first image must lie after the directory and
// inside the file.

constexpr std::size_t kIconDirectoryStart = 6;
constexpr std::size_t kIconEntryBytes = 16;

std::optional<Size> ReadIconSize(ByteView bytes) {
  const auto count = U16Le(bytes, 4);
  const auto imageBytes = U32Le(bytes, kIconDirectoryStart + 8);
  const auto imageOffset = U32Le(bytes, kIconDirectoryStart + 12);
  if (!count || !imageBytes || !imageOffset || *count == 0 || *imageBytes == 0) {
    return std::nullopt;
  }
  const std::uint64_t directoryEnd = kIconDirectoryStart + *count * kIconEntryBytes;
  if (*imageOffset < directoryEnd || std::uint64_t{*imageOffset} + *imageBytes > bytes.size()) {
    return std::nullopt;
  }
  const auto side = [](std::uint8_t stored) -> std::int64_t { return stored == 0 ? 256 : stored; };
  return Size{side(bytes[kIconDirectoryStart]), side(bytes[kIconDirectoryStart + 1])};
}

// --- GIF -------------------------------------------------------------------
// Signature (6), then the logical screen descriptor (7): width (2), height (2)
// and three more bytes.

std::optional<Size> ReadGifSize(ByteView bytes) {
  if (!Has(bytes, 6, 7)) return std::nullopt;
  return Size{*U16Le(bytes, 6), *U16Le(bytes, 8)};
}

// --- JPEG ------------------------------------------------------------------
// SOI, then segments: 0xFF (any number of fill bytes), a marker, and for all
// but the standalone markers a big-endian length that counts itself. The
// size is in the first start-of-frame segment: precision (1), height (2),
// width (2), component count (1), ... A scan or the end before any frame
// means no image.

bool IsStandaloneJpegMarker(std::uint8_t marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

bool IsStartOfFrame(std::uint8_t marker) {
  // C4 (Huffman tables), C8 (reserved) and CC (arithmetic conditioning)
  // share the range but are no frame headers.
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

constexpr std::uint32_t kMinFrameHeaderBytes = 8;

std::optional<Size> ReadJpegSize(ByteView bytes) {
  std::size_t at = 2;
  for (;;) {
    if (!Has(bytes, at, 1) || bytes[at] != 0xFF) return std::nullopt;
    while (at < bytes.size() && bytes[at] == 0xFF) ++at;
    if (at >= bytes.size()) return std::nullopt;
    const std::uint8_t marker = bytes[at++];
    if (IsStandaloneJpegMarker(marker)) continue;
    if (marker == 0x00 || marker == 0xD8 || marker == 0xD9 || marker == 0xDA) {
      return std::nullopt;
    }
    const auto length = U16Be(bytes, at);
    if (!length || *length < 2 || !Has(bytes, at, *length)) return std::nullopt;
    if (IsStartOfFrame(marker)) {
      if (*length < kMinFrameHeaderBytes) return std::nullopt;
      return Size{*U16Be(bytes, at + 5), *U16Be(bytes, at + 3)};
    }
    at += *length;
  }
}

// --- PNG -------------------------------------------------------------------
// Signature (8), then the IHDR chunk: length 13 (4), "IHDR", width (4),
// height (4), five more bytes of data and the CRC (4), all big-endian.

constexpr std::size_t kPngIhdrEnd = 8 + 8 + 13 + 4;

std::optional<Size> ReadPngSize(ByteView bytes) {
  if (!Has(bytes, 0, kPngIhdrEnd) || U32Be(bytes, 8) != 13u) return std::nullopt;
  if (!std::equal(bytes.begin() + 12, bytes.begin() + 16, "IHDR")) return std::nullopt;
  return Size{*U32Be(bytes, 16), *U32Be(bytes, 20)};
}

// ---------------------------------------------------------------------------

struct ImageFormat {
  std::string_view signature;
  Picture::Kind kind;
  std::optional<Size> (*readSize)(ByteView);
};

constexpr ImageFormat kImageFormats[] = {
    {"BM"sv, Picture::Kind::Bitmap, ReadBmpSize},
    {"\0\0\1\0"sv, Picture::Kind::Icon, ReadIconSize},
    {"\0\0\2\0"sv, Picture::Kind::Icon, ReadIconSize},  // cursors load as icons
    {"GIF87a"sv, Picture::Kind::Gif, ReadGifSize},
    {"GIF89a"sv, Picture::Kind::Gif, ReadGifSize},
    {"\xFF\xD8"sv, Picture::Kind::Jpeg, ReadJpegSize},
    {"\x89PNG\r\n\x1A\n"sv, Picture::Kind::Png, ReadPngSize},
};

bool StartsWith(ByteView bytes, std::string_view signature) {
  return Has(bytes, 0, signature.size()) &&
         std::equal(signature.begin(), signature.end(), bytes.begin(),
                    [](char expected, std::uint8_t actual) {
                      return static_cast<std::uint8_t>(expected) == actual;
                    });
}

bool IsSaneSide(std::int64_t pixels) { return pixels >= 1 && pixels <= Picture::kMaxSidePixels; }

std::size_t RowStride(std::int64_t width, std::uint32_t bitsPerPixel) {
  return static_cast<std::size_t>((width * bitsPerPixel + 31) / 32 * 4);
}

constexpr std::uint32_t kPixelsPerMetreAt96Dpi = 3780;

}  // namespace

std::optional<ImageHeader> ReadImageHeader(ByteView bytes) {
  for (const ImageFormat& format : kImageFormats) {
    if (!StartsWith(bytes, format.signature)) continue;
    const auto size = format.readSize(bytes);
    if (!size || !IsSaneSide(size->width) || !IsSaneSide(size->height)) {
      return std::nullopt;
    }
    return ImageHeader{format.kind, static_cast<int>(size->width), static_cast<int>(size->height)};
  }
  return std::nullopt;
}

Raster::Raster(int widthPixels, int heightPixels, Colour fill)
    : width(widthPixels), height(heightPixels) {
  bgr.resize(static_cast<std::size_t>(width) * height * 3);
  FillTopLeft(*this, width, height, fill);
}

bool DrawBitmap(Raster& target, ByteView bmp) {
  if (!StartsWith(bmp, "BM"sv)) return false;
  const auto layout = ReadBmpLayout(bmp);
  if (!layout || layout->compression != kBmpUncompressed ||
      (layout->bitsPerPixel != 24 && layout->bitsPerPixel != 32) || !IsSaneSide(layout->width) ||
      !IsSaneSide(layout->height)) {
    return false;
  }
  const std::size_t stride = RowStride(layout->width, layout->bitsPerPixel);
  const std::size_t rows = static_cast<std::size_t>(layout->height);
  if (!Has(bmp, layout->pixelOffset, stride) ||
      (bmp.size() - layout->pixelOffset) / stride < rows) {
    return false;
  }
  const std::size_t bytesPerPixel = layout->bitsPerPixel / 8;
  const int drawnRows = static_cast<int>(std::min<std::int64_t>(layout->height, target.height));
  const int drawnColumns = static_cast<int>(std::min<std::int64_t>(layout->width, target.width));
  for (int y = 0; y < drawnRows; ++y) {
    const std::size_t row = static_cast<std::size_t>(y);
    const std::size_t sourceRow = layout->topDown ? row : rows - 1 - row;
    const std::uint8_t* source = bmp.data() + layout->pixelOffset + sourceRow * stride;
    std::uint8_t* destination = target.bgr.data() + static_cast<std::size_t>(y) * target.width * 3;
    for (int x = 0; x < drawnColumns; ++x) {
      std::copy_n(source + x * bytesPerPixel, 3, destination + x * 3);
    }
  }
  return true;
}

void FillTopLeft(Raster& target, int width, int height, Colour colour) {
  const int rows = std::clamp(height, 0, target.height);
  const int columns = std::clamp(width, 0, target.width);
  for (int y = 0; y < rows; ++y) {
    std::uint8_t* row = target.bgr.data() + static_cast<std::size_t>(y) * target.width * 3;
    for (int x = 0; x < columns; ++x) {
      row[x * 3] = colour.blue;
      row[x * 3 + 1] = colour.green;
      row[x * 3 + 2] = colour.red;
    }
  }
}

Colour ColourOf(ByteView bytes) {
  // 64-bit FNV-1a: stable across runs and platforms, unlike std::hash.
  std::uint64_t hash = 0xCBF29CE484222325ull;
  for (std::uint8_t byte : bytes) {
    hash = (hash ^ byte) * 0x100000001B3ull;
  }
  return Colour{static_cast<std::uint8_t>(hash), static_cast<std::uint8_t>(hash >> 8),
                static_cast<std::uint8_t>(hash >> 16)};
}

ByteArray EncodeBitmap24(const Raster& raster) {
  constexpr std::uint32_t kInfoHeaderBytes = 40;
  constexpr std::uint32_t kPixelOffset = kBmpFileHeaderBytes + kInfoHeaderBytes;
  const std::size_t stride = RowStride(raster.width, 24);
  const auto pixelBytes = static_cast<std::uint32_t>(stride * raster.height);

  ByteArray out;
  out.reserve(kPixelOffset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  PutFixed32(out, kPixelOffset + pixelBytes);
  PutFixed32(out, 0);  // reserved
  PutFixed32(out, kPixelOffset);
  PutFixed32(out, kInfoHeaderBytes);
  PutFixed32(out, static_cast<std::uint32_t>(raster.width));
  PutFixed32(out, static_cast<std::uint32_t>(raster.height));  // positive: bottom-up
  PutFixed16(out, 1);                                          // planes
  PutFixed16(out, 24);                                         // bits per pixel
  PutFixed32(out, kBmpUncompressed);
  PutFixed32(out, pixelBytes);
  PutFixed32(out, kPixelsPerMetreAt96Dpi);
  PutFixed32(out, kPixelsPerMetreAt96Dpi);
  PutFixed32(out, 0);  // colours used
  PutFixed32(out, 0);  // important colours

  const std::size_t rowBytes = static_cast<std::size_t>(raster.width) * 3;
  for (int y = raster.height - 1; y >= 0; --y) {
    const auto row = raster.bgr.begin() + static_cast<std::ptrdiff_t>(y * rowBytes);
    out.insert(out.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
    out.resize(out.size() + stride - rowBytes, 0);
  }
  return out;
}

}  // namespace tavorin::host::detail
