#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <tavorin/tavorin.h>

#include "support/raises.h"

using namespace tavorin::host;

namespace {

using Rgb = std::array<std::uint8_t, 3>;
constexpr Rgb kRed{0xFF, 0x00, 0x00};
constexpr Rgb kBlue{0x00, 0x00, 0xFF};
constexpr Rgb kWhiteRgb{0xFF, 0xFF, 0xFF};

void Le(ByteArray& out, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void Be(ByteArray& out, std::uint32_t value, int width) {
  for (int i = width - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void Text(ByteArray& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

// An uncompressed BMP of one colour, with a BITMAPINFOHEADER.
ByteArray Bmp(std::int32_t width, std::int32_t height, Rgb colour, int bits = 24) {
  const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
  const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
  ByteArray out;
  Text(out, "BM");
  Le(out, 54 + stride * rows, 4);
  Le(out, 0, 4);
  Le(out, 54, 4);
  Le(out, 40, 4);
  Le(out, static_cast<std::uint32_t>(width), 4);
  Le(out, static_cast<std::uint32_t>(height), 4);
  Le(out, 1, 2);
  Le(out, static_cast<std::uint32_t>(bits), 2);
  for (int i = 0; i < 6; ++i) Le(out, 0, 4);
  for (std::uint32_t y = 0; y < rows; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      out.insert(out.end(), {colour[2], colour[1], colour[0]});
      if (bits == 32) out.push_back(0);
    }
    out.resize(54 + (y + 1) * stride, 0);
  }
  return out;
}

// A top-down 32-bit BMP whose top row is `top` and the rest `rest`.
ByteArray TopDownBmp32(std::int32_t width, std::int32_t height, Rgb top, Rgb rest) {
  ByteArray out = Bmp(width, -height, rest, 32);
  for (std::int32_t x = 0; x < width; ++x) {
    std::copy(top.rbegin(), top.rend(), out.begin() + 54 + x * 4);
  }
  return out;
}

ByteArray Ico(std::uint8_t width, std::uint8_t height) {
  ByteArray out;
  Le(out, 0, 2);
  Le(out, 1, 2);
  Le(out, 1, 2);
  out.insert(out.end(), {width, height, 0, 0});
  Le(out, 1, 2);
  Le(out, 32, 2);
  Le(out, 8, 4);   // image bytes
  Le(out, 22, 4);  // image offset: right after the directory
  out.resize(out.size() + 8, 0xAB);
  return out;
}

ByteArray Gif(std::uint32_t width, std::uint32_t height) {
  ByteArray out;
  Text(out, "GIF89a");
  Le(out, width, 2);
  Le(out, height, 2);
  out.insert(out.end(), {0x00, 0x00, 0x00, 0x3B});
  return out;
}

// SOI, an APP0 segment to walk over (after fill bytes), SOF0, EOI.
ByteArray Jpeg(std::uint32_t width, std::uint32_t height) {
  ByteArray out{0xFF, 0xD8, 0xFF, 0xE0};
  Be(out, 16, 2);
  Text(out, "JFIF");
  out.insert(out.end(), {0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
  out.insert(out.end(), {0xFF, 0xFF, 0xC0});
  Be(out, 11, 2);
  out.push_back(8);
  Be(out, height, 2);
  Be(out, width, 2);
  out.insert(out.end(), {1, 1, 0x11, 0, 0xFF, 0xD9});
  return out;
}

ByteArray Png(std::uint32_t width, std::uint32_t height) {
  ByteArray out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Be(out, 13, 4);
  Text(out, "IHDR");
  Be(out, width, 4);
  Be(out, height, 4);
  out.insert(out.end(), {8, 2, 0, 0, 0});
  Be(out, 0, 4);  // CRC, not checked
  return out;
}

// The colour at x, y of a 24-bit bottom-up BMP with a 54-byte header.
Rgb PixelOf(const Picture& picture, int x, int y) {
  const ByteArray& bytes = picture.Bytes();
  const std::size_t stride = (static_cast<std::size_t>(picture.WidthPixels()) * 24 + 31) / 32 * 4;
  const std::size_t at = 54 + (picture.HeightPixels() - 1 - y) * stride + x * 3;
  return Rgb{bytes.at(at + 2), bytes.at(at + 1), bytes.at(at)};
}

struct Sample {
  const char* name;
  ByteArray bytes;
  Picture::Kind kind;
  int width;
  int height;
  std::size_t headerBytes;  // every shorter prefix is no image
};

std::vector<Sample> Samples() {
  return {
      {"bmp", Bmp(3, 2, kRed), Picture::Kind::Bitmap, 3, 2, 55},
      {"top-down bmp", Bmp(5, -4, kRed), Picture::Kind::Bitmap, 5, 4, 55},
      {"ico", Ico(16, 32), Picture::Kind::Icon, 16, 32, Ico(16, 32).size()},
      {"ico of 256", Ico(0, 0), Picture::Kind::Icon, 256, 256, Ico(0, 0).size()},
      {"gif", Gif(640, 480), Picture::Kind::Gif, 640, 480, 13},
      {"jpeg", Jpeg(1024, 768), Picture::Kind::Jpeg, 1024, 768, Jpeg(1, 1).size() - 2},
      {"png", Png(65535, 1), Picture::Kind::Png, 65535, 1, 33},
  };
}

}  // namespace

TEST(Picture, TellsKindAndSizeFromTheHeader) {
  for (const Sample& sample : Samples()) {
    SCOPED_TRACE(sample.name);
    const auto picture = Picture::FromBytes(sample.bytes);
    EXPECT_EQ(picture->GetKind(), sample.kind);
    EXPECT_EQ(picture->WidthPixels(), sample.width);
    EXPECT_EQ(picture->HeightPixels(), sample.height);
    EXPECT_EQ(picture->SaveState(), sample.bytes);
    const auto loaded = std::dynamic_pointer_cast<Picture>(Picture::LoadState(sample.bytes));
    EXPECT_EQ(loaded->SaveState(), sample.bytes);
  }
}

TEST(Picture, RefusesEveryHeaderCutShort) {
  for (const Sample& sample : Samples()) {
    for (std::size_t length = 0; length < sample.headerBytes; ++length) {
      SCOPED_TRACE(std::string(sample.name) + " cut to " + std::to_string(length));
      const ByteArray prefix(sample.bytes.begin(), sample.bytes.begin() + length);
      EXPECT_RAISES(481, Picture::FromBytes(prefix));
    }
  }
}

TEST(Picture, RefusesBytesThatAreNoImage) {
  ByteArray jpegRunningPastItsEnd = Jpeg(2, 2);
  jpegRunningPastItsEnd[5] = 0xF0;  // APP0 length far beyond the end
  const ByteArray jpegScanBeforeFrame{0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9};
  ByteArray icoDataOutside = Ico(16, 16);
  icoDataOutside[14] = 0xFF;  // image bytes reach past the end
  ByteArray pngWithoutIhdr = Png(4, 4);
  pngWithoutIhdr[12] = 'X';
  ByteArray bmpOddHeader = Bmp(2, 2, kRed);
  bmpOddHeader[14] = 41;
  ByteArray bmpZeroWide = Bmp(2, 2, kRed);
  bmpZeroWide[18] = 0;
  ByteArray bmpLowestHeight = Bmp(2, 2, kRed);
  std::copy_n(ByteArray{0, 0, 0, 0x80}.begin(), 4, bmpLowestHeight.begin() + 22);
  ByteArray bmpPixelsOutside = Bmp(2, 2, kRed);
  bmpPixelsOutside[12] = 0x10;  // pixel offset past the end

  const std::vector<std::pair<const char*, ByteArray>> cases = {
      {"empty", {}},
      {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
      {"GIF88a", {'G', 'I', 'F', '8', '8', 'a', 1, 0, 1, 0, 0, 0, 0}},
      {"zero-wide bmp", bmpZeroWide},
      {"zero-high gif", Gif(4, 0)},
      {"zero-wide jpeg", Jpeg(0, 4)},
      {"zero-high png", Png(4, 0)},
      {"absurdly wide png", Png(70000, 4)},
      {"bmp with the lowest height", bmpLowestHeight},
      {"jpeg segment past the end", jpegRunningPastItsEnd},
      {"jpeg scan before any frame", jpegScanBeforeFrame},
      {"ico data outside the file", icoDataOutside},
      {"png without IHDR", pngWithoutIhdr},
      {"bmp of unknown header size", bmpOddHeader},
      {"bmp pixels outside the file", bmpPixelsOutside},
  };
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    EXPECT_RAISES(481, Picture::FromBytes(bytes));
    EXPECT_RAISES(321, Picture::LoadState(bytes));
  }
}

TEST(Picture, ReadsBackFromAPropertyBagAsAnEqualPicture) {
  PropertyBag written;
  written.WriteProperty("Icon", LoadPicture(Ico(16, 16)));
  PropertyBag read;
  read.SetContents(written.Contents());
  const auto picture = std::dynamic_pointer_cast<Picture>(read.ReadProperty("Icon").AsObject());
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->SaveState(), Ico(16, 16));
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
  EXPECT_EQ(PixelOf(*blank, 0, 0), kWhiteRgb);
  EXPECT_EQ(PixelOf(*blank, 3, 2), kWhiteRgb);

  EXPECT_EQ(Picture::Blank(0, -5)->HeightPixels(), 1);
  EXPECT_EQ(Picture::Blank(1, 1'000'000)->HeightPixels(), Picture::kMaxPaintedSidePixels);
}

TEST(Picture, PaintOntoDrawsBitmapPixelsClippedToTheCanvas) {
  const auto canvas = Picture::Blank(4, 3);
  const auto painted = Picture::PaintOnto(*canvas, *LoadPicture(Bmp(2, 2, kRed)));
  EXPECT_EQ(painted->WidthPixels(), 4);
  EXPECT_EQ(painted->HeightPixels(), 3);
  EXPECT_EQ(PixelOf(*painted, 0, 0), kRed);
  EXPECT_EQ(PixelOf(*painted, 1, 1), kRed);
  EXPECT_EQ(PixelOf(*painted, 2, 0), kWhiteRgb);
  EXPECT_EQ(PixelOf(*painted, 0, 2), kWhiteRgb);

  // The canvas keeps its pixels; a top-down 32-bit overlay larger than the
  // canvas is clipped to it.
  const auto twice = Picture::PaintOnto(*painted, *LoadPicture(TopDownBmp32(9, 2, kBlue, kRed)));
  EXPECT_EQ(twice->WidthPixels(), 4);
  EXPECT_EQ(PixelOf(*twice, 3, 0), kBlue);
  EXPECT_EQ(PixelOf(*twice, 3, 1), kRed);
  EXPECT_EQ(PixelOf(*twice, 3, 2), kWhiteRgb);
}

TEST(Picture, PaintOntoCoversTheFootprintOfOtherImagesDeterministically) {
  const auto canvas = Picture::Blank(5, 5);
  const auto gif = LoadPicture(Gif(2, 3));
  const auto painted = Picture::PaintOnto(*canvas, *gif);
  EXPECT_EQ(painted->Bytes(), Picture::PaintOnto(*canvas, *gif)->Bytes());
  EXPECT_EQ(painted->Bytes(), Picture::PaintOnto(*canvas, *LoadPicture(Gif(2, 3)))->Bytes());

  const Rgb footprint = PixelOf(*painted, 0, 0);
  EXPECT_NE(footprint, kWhiteRgb);
  EXPECT_EQ(PixelOf(*painted, 1, 2), footprint);
  EXPECT_EQ(PixelOf(*painted, 2, 0), kWhiteRgb);
  EXPECT_EQ(PixelOf(*painted, 0, 3), kWhiteRgb);
  EXPECT_NE(PixelOf(*Picture::PaintOnto(*canvas, *LoadPicture(Gif(2, 4))), 0, 0), footprint);

  // A canvas without readable pixels counts as white, at its own size.
  const auto onPng = Picture::PaintOnto(*LoadPicture(Png(3, 2)), *LoadPicture(Bmp(1, 1, kBlue)));
  EXPECT_EQ(onPng->GetKind(), Picture::Kind::Bitmap);
  EXPECT_EQ(onPng->WidthPixels(), 3);
  EXPECT_EQ(PixelOf(*onPng, 0, 0), kBlue);
  EXPECT_EQ(PixelOf(*onPng, 2, 1), kWhiteRgb);
}

class LoadPictureFromFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::path(::testing::TempDir()) /
              ("picture_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string Write(const std::string& name, const ByteArray& bytes) {
    const auto path = folder_ / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

  std::filesystem::path folder_;
};

TEST_F(LoadPictureFromFile, TwoLoadsOfOneFileHaveEqualState) {
  const std::string path = Write("logo.png", Png(12, 8));
  const auto first = LoadPicture(path);
  const auto second = LoadPicture(path);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->SaveState(), second->SaveState());
  EXPECT_EQ(first->WidthPixels(), 12);
}

TEST_F(LoadPictureFromFile, ReportsWhatIsWrongWithThePath) {
  EXPECT_RAISES(53, LoadPicture((folder_ / "missing.bmp").string()));
  EXPECT_RAISES(53, LoadPicture(std::string()));
  EXPECT_RAISES(75, LoadPicture(folder_.string()));
  EXPECT_RAISES(75, LoadPicture(std::string("/dev/zero")));
  const std::string notes = Write("notes.bmp", ByteArray{'B', 'M', 0});
  EXPECT_RAISES(481, LoadPicture(notes));
}

TEST_F(LoadPictureFromFile, RefusesAFileAboveTheSizeLimit) {
  const std::string path = Write("huge.gif", Gif(1, 1));
  std::filesystem::resize_file(path, Picture::kMaxFileBytes + 1);
  EXPECT_RAISES(481, LoadPicture(path));
  std::filesystem::resize_file(path, Picture::kMaxFileBytes);
  EXPECT_EQ(LoadPicture(path)->GetKind(), Picture::Kind::Gif);
}
