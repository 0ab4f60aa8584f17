// LoadPicture on arbitrary bytes: refusing them with 481 (or 7 for an image
// too large to hold) is fine; an accepted picture keeps the very bytes and
// loads again to the same picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <tavorin/tavorin.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tavorin::host::LoadPicture;
  const tavorin::host::ByteArray bytes(data, data + size);
  std::shared_ptr<tavorin::host::Picture> picture;
  try {
    picture = LoadPicture(bytes);
  } catch (const tavorin::host::RuntimeError& error) {
    if (error.Number() != tavorin::host::errors::kInvalidPicture &&
        error.Number() != tavorin::host::errors::kOutOfMemory) {
      std::abort();
    }
    return 0;
  }
  if (!picture || picture->Bytes() != bytes) std::abort();
  if (picture->WidthPixels() < 0 || picture->HeightPixels() < 0) std::abort();
  const auto again = LoadPicture(picture->Bytes());
  if (again->GetKind() != picture->GetKind() || again->WidthPixels() != picture->WidthPixels() ||
      again->HeightPixels() != picture->HeightPixels()) {
    std::abort();
  }
  return 0;
}
