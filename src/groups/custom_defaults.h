// Custom defaults: a caller may pass a stream of the same class whose values
// replace the built-in defaults key by key. The public operation loads it into
// a bag once per call; every group and set takes its defaults from here.
//
// A custom default is taken in the type the key is stored as before it is
// compared or used: a custom stream holding the Long 5 under a String key
// must not make every text that merely converts to 5 ("05", "5.0") count as
// equal to it and come back as "5".
#pragma once

#include <cstdint>
#include <string_view>

#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

namespace tavorin::detail {

/// The default of `key` in this call as it stands: the custom defaults bag's
/// value under the key, or `builtIn` when there is no custom defaults bag
/// (nullptr) or it lacks the key. For objects, which compare by their stored
/// images and are never converted.
host::Variant EffectiveDefault(const host::PropertyBag* customDefaults, std::string_view key,
                               const host::Variant& builtIn);

/// The default a value of `valueType` is written against: the custom value
/// converted to that type. A custom value that does not convert matches no
/// value, so the value is always stored (Missing).
host::Variant DefaultForWriting(const host::PropertyBag* customDefaults, std::string_view key,
                                const host::Variant& builtIn, std::int16_t valueType);

/// The default a read falls back to: the custom value converted to
/// `valueType`, or `builtIn` when it does not convert.
host::Variant DefaultForReading(const host::PropertyBag* customDefaults, std::string_view key,
                                const host::Variant& builtIn, std::int16_t valueType);

}  // namespace tavorin::detail
