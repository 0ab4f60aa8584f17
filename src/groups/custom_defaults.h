// Custom defaults: a caller may pass a stream of the same class whose values
// replace the built-in defaults key by key. Loaded into a bag once per call;
// every group and set takes its defaults through EffectiveDefault.
#pragma once

#include <memory>
#include <string_view>

#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

namespace tavorin::detail {

/// The default of `key` in this call: the custom defaults bag's value under
/// the key, or `builtIn` when there is no custom defaults bag (nullptr) or it
/// lacks the key.
host::Variant EffectiveDefault(const host::PropertyBag* customDefaults,
                               std::string_view key, const host::Variant& builtIn);

/// A bag holding the image `stream`; an image that does not load leaves the
/// bag empty (the identity read then finds no stream flags and stops).
std::unique_ptr<host::PropertyBag> LoadStreamBag(const host::ByteArray& stream);

/// The custom defaults bag of a call: nullptr when `customDefaultsStream` is
/// Missing (the caller passed none), else a bag loaded from it. Any other value
/// than Missing selects custom defaults, even one that does not load: its
/// bag is then empty and every key falls back to the built-in default.
std::unique_ptr<host::PropertyBag> LoadCustomDefaults(
    const host::Variant& customDefaultsStream);

}  // namespace tavorin::detail
