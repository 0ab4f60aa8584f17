// Custom defaults: a caller may pass a stream of the same class whose values
// replace the built-in defaults key by key. The public operation loads it into
// a bag once per call; every group and set takes its defaults through
// EffectiveDefault.
#pragma once

#include <string_view>

#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

namespace tavorin::detail {

/// The default of `key` in this call: the custom defaults bag's value under
/// the key, or `builtIn` when there is no custom defaults bag (nullptr) or it
/// lacks the key.
host::Variant EffectiveDefault(const host::PropertyBag* customDefaults,
                               std::string_view key, const host::Variant& builtIn);

}  // namespace tavorin::detail
