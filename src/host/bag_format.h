// The property bag's byte image: what the bag keeps, and its encoder/decoder.
#pragma once

#include <span>
#include <string>
#include <variant>
#include <vector>

#include <tavorin/host/variant.h>

namespace tavorin::host::detail {

/// An object as the bag keeps it: its class name and the bytes of its state,
/// taken when it was written.
struct PersistedObject {
  std::string type_name;
  ByteArray state;
};

/// What the bag keeps under a name: a plain value (any type but Missing and
/// objects other than Nothing) or a persisted object.
using StoredValue = std::variant<Variant, PersistedObject>;

struct BagEntry {
  std::string name;
  StoredValue value;
};

/// The image of `entries` in their order; equal entries give equal bytes.
ByteArray EncodeBagImage(std::span<const BagEntry> entries);

/// The entries of an image that EncodeBagImage made. Raises 321 "Invalid file
/// format" for bytes that are not one, checked before any entry is trusted.
/// Unique names and loadable objects are for the caller to check.
std::vector<BagEntry> DecodeBagImage(std::span<const std::uint8_t> image);

}  // namespace tavorin::host::detail
