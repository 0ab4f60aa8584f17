// Pictures: kind and size from the header, refusal of what is no image,
// member access, blank and painted bitmaps, loading from files.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "support/bitmaps.h"
#include "support/files.h"
#include "support/raises.h"
#include "support/scratch_folder.h"

using namespace tavorin::host;
using tavorin::testing::AppendLittleEndian;

namespace {

using Rgb = std::array<std::uint8_t, 3>;
constexpr Rgb kRed{0xFF, 0x00, 0x00};
constexpr Rgb kBlue{0x00, 0x00, 0xFF};
constexpr Rgb kWhite{0xFF, 0xFF, 0xFF};

void AppendBigEndian(ByteArray& out, std::uint32_t value, int width) {
  for (int i = width - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// An uncompressed BMP of one colour; a negative height is top-down.
ByteArray Bmp(std::int32_t width, std::int32_t height, Rgb colour, int bits = 24) {
  const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
  ByteArray out = tavorin::testing::BitmapHeader(width, height, bits, stride * rows);
  for (std::uint32_t y = 0; y < rows; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      out.insert(out.end(), {colour[2], colour[1], colour[0]});
      if (bits == 32) out.push_back(0);
    }
    out.resize(54 + (y + 1) * stride, 0);
  }
  return out;
}

ByteArray Ico(std::uint8_t width, std::uint8_t height) {
  ByteArray out;
  for (std::uint32_t field : {0, 1, 1}) AppendLittleEndian(out, field, 2);
  out.insert(out.end(), {width, height, 0, 0, 1, 0, 32, 0});
  AppendLittleEndian(out, 8, 4);   // image bytes
  AppendLittleEndian(out, 22, 4);  // image offset: right after the directory
  out.resize(out.size() + 8, 0xAB);
  return out;
}

ByteArray Gif(std::uint32_t width, std::uint32_t height) {
  ByteArray out{'G', 'I', 'F', '8', '9', 'a'};
  AppendLittleEndian(out, width, 2);
  AppendLittleEndian(out, height, 2);
  out.insert(out.end(), {0x00, 0x00, 0x00, 0x3B});
  return out;
}

// SOI, an APP0 segment to walk over (after fill bytes), SOF0, EOI.
ByteArray Jpeg(std::uint32_t width, std::uint32_t height) {
  ByteArray out{0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F',  'I',  'F',  0, 1,  1,
                0,    0,    1,    0,    1, 0,  0,   0xFF, 0xFF, 0xC0, 0, 11, 8};
  AppendBigEndian(out, height, 2);
  AppendBigEndian(out, width, 2);
  out.insert(out.end(), {1, 1, 0x11, 0, 0xFF, 0xD9});
  return out;
}

ByteArray Png(std::uint32_t width, std::uint32_t height) {
  ByteArray out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  AppendBigEndian(out, width, 4);
  AppendBigEndian(out, height, 4);
  out.insert(out.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});  // then a CRC nobody checks
  return out;
}

ByteArray With(ByteArray bytes, std::size_t at, std::initializer_list<std::uint8_t> replacement) {
  std::copy(replacement.begin(), replacement.end(),
            bytes.begin() + static_cast<std::ptrdiff_t>(at));
  return bytes;
}

// The colour at x, y of a 24-bit bottom-up BMP with a 54-byte header.
Rgb PixelOf(const Picture& picture, int x, int y) {
  const ByteArray& bytes = picture.Bytes();
  const std::size_t stride = (static_cast<std::size_t>(picture.WidthPixels()) * 24 + 31) / 32 * 4;
  const std::size_t at = 54 + (picture.HeightPixels() - 1 - y) * stride + x * 3;
  return Rgb{bytes.at(at + 2), bytes.at(at + 1), bytes.at(at)};
}

TEST(Picture, TellsKindAndSizeFromTheHeaderAndRefusesEveryCutHeader) {
  struct Sample {
    const char* name;
    ByteArray bytes;
    Picture::Kind kind;
    int width;
    int height;
    std::size_t headerBytes;  // every shorter prefix is no image
  };
  const Sample samples[] = {
      {"bmp", Bmp(3, 2, kRed), Picture::Kind::Bitmap, 3, 2, 55},
      {"top-down bmp", Bmp(5, -4, kRed), Picture::Kind::Bitmap, 5, 4, 55},
      {"ico", Ico(16, 32), Picture::Kind::Icon, 16, 32, Ico(16, 32).size()},
      {"ico of 256", Ico(0, 0), Picture::Kind::Icon, 256, 256, Ico(0, 0).size()},
      {"gif", Gif(640, 480), Picture::Kind::Gif, 640, 480, 13},
      {"jpeg", Jpeg(1024, 768), Picture::Kind::Jpeg, 1024, 768, Jpeg(1, 1).size() - 2},
      {"png", Png(65535, 1), Picture::Kind::Png, 65535, 1, 33},
  };
  for (const Sample& sample : samples) {
    SCOPED_TRACE(sample.name);
    const auto picture = Picture::FromBytes(sample.bytes);
    EXPECT_EQ(picture->GetKind(), sample.kind);
    EXPECT_EQ(picture->WidthPixels(), sample.width);
    EXPECT_EQ(picture->HeightPixels(), sample.height);
    EXPECT_EQ(std::dynamic_pointer_cast<Picture>(Picture::LoadState(sample.bytes))->SaveState(),
              sample.bytes);
    for (std::size_t length = 0; length < sample.headerBytes; ++length) {
      SCOPED_TRACE(length);
      EXPECT_RAISES(
          481, Picture::FromBytes(ByteArray(sample.bytes.begin(), sample.bytes.begin() + length)));
    }
  }
}

TEST(Picture, RefusesBytesThatAreNoImage) {
  const std::vector<std::pair<const char*, ByteArray>> cases = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
      {"GIF88a", {'G', 'I', 'F', '8', '8', 'a', 1, 0, 1, 0, 0, 0, 0}},
      {"zero-wide bmp", With(Bmp(2, 2, kRed), 18, {0})},
      {"zero-high gif", Gif(4, 0)},
      {"zero-wide jpeg", Jpeg(0, 4)},
      {"zero-high png", Png(4, 0)},
      {"absurdly wide png", Png(70000, 4)},
      {"bmp with the lowest height", With(Bmp(2, 2, kRed), 22, {0, 0, 0, 0x80})},
      {"jpeg segment past the end", With(Jpeg(2, 2), 5, {0xF0})},
      {"jpeg scan before any frame", {0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9}},
      {"ico data outside the file", With(Ico(16, 16), 14, {0xFF})},
      {"png without IHDR", With(Png(4, 4), 12, {'X'})},
      {"bmp of unknown header size", With(Bmp(2, 2, kRed), 14, {41})},
      {"bmp pixels outside the file", With(Bmp(2, 2, kRed), 12, {0x10})},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    EXPECT_RAISES(481, Picture::FromBytes(bytes));
    EXPECT_RAISES(321, Picture::LoadState(bytes));
  }
}

TEST(Picture, ReportsHiMetricSizeAndTypeByNameReadOnly) {
  const auto png = LoadPicture(Png(96, 10));
  EXPECT_EQ(png->TypeName(), "Picture");
  EXPECT_EQ(png->GetProperty("Width"), Variant::Long(2540));
  EXPECT_EQ(png->GetProperty("Height"), Variant::Long(265));  // 264.58 rounded
  EXPECT_EQ(png->GetProperty("Type"), Variant::Integer(1));
  EXPECT_EQ(LoadPicture(Ico(32, 32))->GetProperty("Type"), Variant::Integer(3));
  EXPECT_RAISES(383, png->SetProperty("Width", 1));
  EXPECT_RAISES(383, png->SetProperty("Type", 3));
  EXPECT_RAISES(438, png->GetProperty("Handle"));
  EXPECT_RAISES(438, png->SetProperty("Handle", 1));
}

TEST(Picture, BlankIsAWhiteBitmapOfAClampedSize) {
  const auto blank = Picture::Blank(4, 3);
  EXPECT_EQ(blank->GetKind(), Picture::Kind::Bitmap);
  EXPECT_EQ(blank->WidthPixels(), 4);
  EXPECT_EQ(blank->HeightPixels(), 3);
  EXPECT_EQ(PixelOf(*blank, 0, 0), kWhite);
  EXPECT_EQ(PixelOf(*blank, 3, 2), kWhite);
  EXPECT_EQ(Picture::Blank(0, -5)->HeightPixels(), 1);
  EXPECT_EQ(Picture::Blank(1, 1'000'000)->HeightPixels(), Picture::kMaxPaintedSidePixels);
}

TEST(Picture, PaintOntoDrawsBitmapPixelsClippedToTheCanvas) {
  const auto painted = Picture::PaintOnto(*Picture::Blank(4, 3), *LoadPicture(Bmp(2, 2, kRed)));
  EXPECT_EQ(painted->WidthPixels(), 4);
  EXPECT_EQ(painted->HeightPixels(), 3);
  EXPECT_EQ(PixelOf(*painted, 1, 1), kRed);
  EXPECT_EQ(PixelOf(*painted, 2, 0), kWhite);
  EXPECT_EQ(PixelOf(*painted, 0, 2), kWhite);

  // The canvas keeps its pixels; a top-down 32-bit overlay larger than the
  // canvas is clipped to it.
  ByteArray overlay = Bmp(9, -2, kRed, 32);
  for (std::size_t x = 0; x < 9; ++x)
    std::copy(kBlue.rbegin(), kBlue.rend(), overlay.begin() + 54 + x * 4);
  const auto twice = Picture::PaintOnto(*painted, *LoadPicture(overlay));
  EXPECT_EQ(twice->WidthPixels(), 4);
  EXPECT_EQ(PixelOf(*twice, 3, 0), kBlue);
  EXPECT_EQ(PixelOf(*twice, 3, 1), kRed);
  EXPECT_EQ(PixelOf(*twice, 3, 2), kWhite);
}

TEST(Picture, PaintOntoCoversTheFootprintOfOtherImagesDeterministically) {
  const auto canvas = Picture::Blank(5, 5);
  const auto painted = Picture::PaintOnto(*canvas, *LoadPicture(Gif(2, 3)));
  EXPECT_EQ(painted->Bytes(), Picture::PaintOnto(*canvas, *LoadPicture(Gif(2, 3)))->Bytes());
  const Rgb footprint = PixelOf(*painted, 0, 0);
  EXPECT_NE(footprint, kWhite);
  EXPECT_EQ(PixelOf(*painted, 1, 2), footprint);
  EXPECT_EQ(PixelOf(*painted, 2, 0), kWhite);
  EXPECT_EQ(PixelOf(*painted, 0, 3), kWhite);
  EXPECT_NE(PixelOf(*Picture::PaintOnto(*canvas, *LoadPicture(Gif(2, 4))), 0, 0), footprint);

  // A canvas without readable pixels counts as white, at its own size.
  const auto onPng = Picture::PaintOnto(*LoadPicture(Png(3, 2)), *LoadPicture(Bmp(1, 1, kBlue)));
  EXPECT_EQ(onPng->GetKind(), Picture::Kind::Bitmap);
  EXPECT_EQ(onPng->WidthPixels(), 3);
  EXPECT_EQ(PixelOf(*onPng, 0, 0), kBlue);
  EXPECT_EQ(PixelOf(*onPng, 2, 1), kWhite);
}

TEST(LoadPictureFromFile, LoadsEqualStateAndReportsWhatIsWrongWithThePath) {
  const ScratchFolder scratch;
  const auto path = [&](const char* name) { return (scratch.Path() / name).string(); };
  tavorin::testing::WriteFile(path("logo.png"), Png(12, 8));
  const auto first = LoadPicture(path("logo.png"));
  EXPECT_NE(first, LoadPicture(path("logo.png")));
  EXPECT_EQ(first->SaveState(), LoadPicture(path("logo.png"))->SaveState());
  EXPECT_EQ(first->WidthPixels(), 12);

  EXPECT_RAISES(53, LoadPicture(path("missing.bmp")));
  EXPECT_RAISES(53, LoadPicture(std::string()));
  EXPECT_RAISES(75, LoadPicture(scratch.Path().string()));
  EXPECT_RAISES(75, LoadPicture(std::string("/dev/zero")));
  tavorin::testing::WriteFile(path("notes.bmp"), {'B', 'M', 0});
  EXPECT_RAISES(481, LoadPicture(path("notes.bmp")));

  tavorin::testing::WriteFile(path("huge.gif"), Gif(1, 1));
  std::filesystem::resize_file(path("huge.gif"), Picture::kMaxFileBytes + 1);
  EXPECT_RAISES(481, LoadPicture(path("huge.gif")));
  std::filesystem::resize_file(path("huge.gif"), Picture::kMaxFileBytes);
  EXPECT_EQ(LoadPicture(path("huge.gif"))->GetKind(), Picture::Kind::Gif);
}

}  // namespace
