// Picture-valued members: Nothing or a Picture.
#pragma once

#include <memory>

#include <tavorin/host/error.h>
#include <tavorin/host/picture.h>
#include <tavorin/host/variant.h>

namespace tavorin::host::detail {

/// The picture held by `value`: nullptr for Nothing, 380 for another object,
/// 13 for a value that is no object.
inline std::shared_ptr<Picture> AsPicture(const Variant& value) {
  const ObjectRef object = value.AsObject();
  auto picture = std::dynamic_pointer_cast<Picture>(object);
  if (object && !picture) RaiseHostError(errors::kInvalidPropertyValue);
  return picture;
}

}  // namespace tavorin::host::detail
