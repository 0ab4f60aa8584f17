// Picture: an image held by the bytes of its file, and LoadPicture.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <tavorin/host/object.h>

namespace tavorin::host {

/// An immutable image: the bytes of a bitmap (BMP), icon or cursor (ICO/CUR),
/// GIF, JPEG or PNG file, with its kind told by the signature and its size in
/// pixels read from the header. Pictures are shared freely between controls.
///
/// By name (all read-only; assigning raises 383, other names 438):
/// - "Width", "Height" (Long): the size in HiMetric, pixels * 2540 / 96
///   rounded to the nearest unit, as the runtime measures at 96 pixels/inch;
/// - "Type" (Integer): the runtime's picture type, 1 for a bitmap and 3 for
///   an icon. GIF, JPEG and PNG report 1 because the runtime loads them as
///   bitmaps.
class Picture : public PersistableObject {
 public:
  enum class Kind { Bitmap, Icon, Gif, Jpeg, Png };

  /// Largest width or height accepted from an image header, in pixels.
  static constexpr int kMaxSidePixels = 65535;
  /// Largest width or height of a bitmap made by Blank or PaintOnto; larger
  /// sizes are clamped to it (4096 x 4096 x 3 bytes is 48 MiB at most).
  static constexpr int kMaxPaintedSidePixels = 4096;
  /// Largest file LoadPicture reads; a larger file raises 481.
  static constexpr std::uintmax_t kMaxFileBytes = 64u * 1024u * 1024u;

  /// The picture of an image file's bytes. Raises 481 "Invalid picture" for
  /// bytes that are no image: an unknown signature, a header cut short, a
  /// width or height of 0 or above kMaxSidePixels.
  static std::shared_ptr<Picture> FromBytes(ByteArray bytes);

  /// A white 24-bit bitmap. Each side is clamped to 1..kMaxPaintedSidePixels.
  static std::shared_ptr<Picture> Blank(int widthPixels, int heightPixels);

  /// A new 24-bit bitmap of the canvas's size (each side clamped to
  /// kMaxPaintedSidePixels) holding the canvas with the overlay drawn at its
  /// top left corner. Only uncompressed 24- and 32-bit bitmaps have pixels
  /// here: a canvas of another kind counts as white, and an overlay of another
  /// kind covers its width x height with one colour derived from its bytes.
  /// Equal inputs give equal bytes.
  static std::shared_ptr<Picture> PaintOnto(const Picture& canvas, const Picture& overlay);

  /// The property bag's loader: the picture whose SaveState is `state`.
  /// Raises 321 "Invalid file format" when `state` is no image.
  static ObjectRef LoadState(const ByteArray& state);

  Kind GetKind() const { return kind_; }
  /// The image file's bytes, unchanged.
  const ByteArray& Bytes() const { return bytes_; }
  int WidthPixels() const { return width_; }
  int HeightPixels() const { return height_; }

  std::string TypeName() const override { return "Picture"; }
  using Object::GetProperty;
  using Object::SetProperty;
  Variant GetProperty(const std::string& name) const override;
  void SetProperty(const std::string& name, const Variant& value) override;

  /// The image file's bytes: pictures of equal files have equal state.
  ByteArray SaveState() const override { return bytes_; }

 private:
  Picture(ByteArray bytes, Kind kind, int widthPixels, int heightPixels);

  ByteArray bytes_;
  Kind kind_;
  int width_;
  int height_;
};

/// The picture in the file at `path` (a path of this system). Raises 53 "File
/// not found" when nothing is there, 75 for a folder or any other thing that
/// is not a regular file, 70 when the file cannot be read, and 481 for a file
/// larger than Picture::kMaxFileBytes or bytes that are no image.
std::shared_ptr<Picture> LoadPicture(const std::string& path);

/// Picture::FromBytes.
std::shared_ptr<Picture> LoadPicture(const ByteArray& bytes);

}  // namespace tavorin::host
