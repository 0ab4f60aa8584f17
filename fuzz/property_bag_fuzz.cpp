// SetContents on arbitrary bytes: refusing them with 321 is fine, anything
// else that escapes, a crash or a sanitizer report is a fault. An accepted
// image must read back under every name and encode to the very same bytes.
//
// Each input is tried as it is, and once more with a correct checksum
// appended, so that the parser behind the checksum is explored too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <tavorin/tavorin.h>

#include "host/crc32c.h"

namespace {

using tavorin::host::ByteArray;
using tavorin::host::PropertyBag;
using tavorin::host::RuntimeError;

void Check(const ByteArray& image) {
  PropertyBag bag;
  try {
    bag.SetContents(image);
  } catch (const RuntimeError& error) {
    if (error.Number() != 321) std::abort();
    if (bag.Count() != 0) std::abort();  // a refused image leaves nothing behind
    return;
  }
  for (const std::string& name : bag.Names()) bag.ReadProperty(name);
  if (bag.Contents() != image) std::abort();
  PropertyBag copy;
  copy.SetContents(bag.Contents());
  if (copy.Names() != bag.Names()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ByteArray image(data, data + size);
  Check(image);
  const std::uint32_t crc = tavorin::host::detail::Crc32c(image);
  for (int i = 0; i < 4; ++i) image.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
  Check(image);
  return 0;
}
