// The stream envelope: what makes a property bag image a control stream, and
// the checks and queries on it. Whatever bytes they get, the queries answer
// instead of raising; only what is no RuntimeError, such as running out of
// memory, gets through them (see host/error.h).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

namespace tavorin::detail {

/// The stream flags (a Long), written first in every stream.
inline constexpr std::string_view kStreamFlagsKey = "@SF#";
/// The control's name (a String), right after the flags when names are written.
inline constexpr std::string_view kControlNameKey = "@CN#";

/// What the flags of a valid stream say.
struct ValidStream {
  std::int32_t typeCode = 0;
  bool requiresDefaults = false;
};

/// A valid stream loaded into a bag, with its decoded flags: the one load of
/// the bytes that a call checks and then reads its values from.
struct LoadedStream {
  std::unique_ptr<host::PropertyBag> bag;  // never null
  ValidStream flags;
};

/// The loaded stream when `stream` is a valid stream; nullopt otherwise.
std::optional<LoadedStream> LoadValidStream(const host::ByteArray& stream);
/// The same for a variant; anything but a byte array is no stream.
std::optional<LoadedStream> LoadValidStream(const host::Variant& stream);

/// The type code when `stream` is a valid stream (it loads into a bag whose
/// "@SF#" converts to a Long with signature 3; the version does not count),
/// nullopt otherwise.
std::optional<std::int32_t> CheckStream(const host::ByteArray& stream);

/// The custom-defaults bit of the stream's flags, without a validity check;
/// false when the bytes do not load.
bool StreamRequiresDefaults(const host::ByteArray& stream);

/// "@CN#" of a valid stream; "" when absent, not text, or the stream invalid.
std::string StreamControlName(const host::ByteArray& stream);

/// The stream that stands for no control: only "@SF#" with type code 0.
host::ByteArray NothingToStream();

/// The byte array a variant holds; an empty array for any other value.
/// The reference lives as long as `value`.
const host::ByteArray& StreamFromVariant(const host::Variant& value) noexcept;

/// True for an array without elements.
inline bool IsEmptyArray(const host::ByteArray& bytes) noexcept { return bytes.empty(); }

}  // namespace tavorin::detail
