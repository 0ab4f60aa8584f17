#include <tavorin/host/picture.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>
#include <utility>

#include <tavorin/host/error.h>

#include "host/image_formats.h"

namespace tavorin::host {
namespace {

// The runtime's picture type codes.
constexpr std::int16_t kPictureTypeBitmap = 1;
constexpr std::int16_t kPictureTypeIcon = 3;

std::int32_t PixelsToHiMetric(int pixels) {
  // HiMetric is 1/100 mm: 2540 per inch at 96 pixels per inch.
  return static_cast<std::int32_t>((std::int64_t{pixels} * 2540 + 48) / 96);
}

bool IsReadOnlyMember(std::string_view name) {
  return name == "Width" || name == "Height" || name == "Type";
}

// Reads at most kMaxFileBytes + 1 bytes whatever size the file claims, so a
// file that grows while it is read cannot make us allocate without bound.
ByteArray ReadImageFile(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status)) RaiseHostError(errors::kFileNotFound);
  // Devices and pipes are refused too: reading one could block or never end.
  if (!std::filesystem::is_regular_file(status)) {
    RaiseHostError(errors::kPathFileAccessError);
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) RaiseHostError(errors::kPermissionDenied);

  ByteArray bytes;
  char chunk[64 * 1024];
  while (file && bytes.size() <= Picture::kMaxFileBytes) {
    file.read(chunk, sizeof chunk);
    bytes.insert(bytes.end(), chunk, chunk + file.gcount());
  }
  if (file.bad()) RaiseHostError(errors::kPermissionDenied);
  if (bytes.size() > Picture::kMaxFileBytes) RaiseHostError(errors::kInvalidPicture);
  return bytes;
}

std::shared_ptr<Picture> BitmapOf(const detail::Raster& raster) {
  return Picture::FromBytes(detail::EncodeBitmap24(raster));
}

}  // namespace

Picture::Picture(ByteArray bytes, Kind kind, int widthPixels, int heightPixels)
    : bytes_(std::move(bytes)), kind_(kind), width_(widthPixels), height_(heightPixels) {}

std::shared_ptr<Picture> Picture::FromBytes(ByteArray bytes) {
  const auto header = detail::ReadImageHeader(bytes);
  if (!header) RaiseHostError(errors::kInvalidPicture);
  return std::shared_ptr<Picture>(
      new Picture(std::move(bytes), header->kind, header->width, header->height));
}

std::shared_ptr<Picture> Picture::Blank(int widthPixels, int heightPixels) {
  const detail::Raster raster(std::clamp(widthPixels, 1, kMaxPaintedSidePixels),
                              std::clamp(heightPixels, 1, kMaxPaintedSidePixels), detail::kWhite);
  return BitmapOf(raster);
}

std::shared_ptr<Picture> Picture::PaintOnto(const Picture& canvas, const Picture& overlay) {
  detail::Raster raster(std::min(canvas.width_, kMaxPaintedSidePixels),
                        std::min(canvas.height_, kMaxPaintedSidePixels), detail::kWhite);
  detail::DrawBitmap(raster, canvas.bytes_);  // a canvas without pixels stays white
  if (!detail::DrawBitmap(raster, overlay.bytes_)) {
    detail::FillTopLeft(raster, overlay.width_, overlay.height_, detail::ColourOf(overlay.bytes_));
  }
  return BitmapOf(raster);
}

ObjectRef Picture::LoadState(const ByteArray& state) {
  if (!detail::ReadImageHeader(state)) RaiseHostError(errors::kInvalidFileFormat);
  return FromBytes(state);
}

Variant Picture::GetProperty(const std::string& name) const {
  if (name == "Width") return Variant::Long(PixelsToHiMetric(width_));
  if (name == "Height") return Variant::Long(PixelsToHiMetric(height_));
  if (name == "Type") {
    return Variant::Integer(kind_ == Kind::Icon ? kPictureTypeIcon : kPictureTypeBitmap);
  }
  return Object::GetProperty(name);
}

void Picture::SetProperty(const std::string& name, const Variant& value) {
  if (IsReadOnlyMember(name)) RaiseHostError(errors::kPropertyReadOnly);
  Object::SetProperty(name, value);
}

std::shared_ptr<Picture> LoadPicture(const std::string& path) {
  return Picture::FromBytes(ReadImageFile(path));
}

std::shared_ptr<Picture> LoadPicture(const ByteArray& bytes) { return Picture::FromBytes(bytes); }

}  // namespace tavorin::host
