// The rules for every object-valued property a stream carries (pictures,
// data formats): objects compare by their stored images, never by identity,
// and against custom defaults every difference is stored, a Nothing that
// replaces a custom defaults' object included.
#pragma once

#include <string_view>

#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

namespace tavorin::detail {

/// True when the two values (objects, or Nothing) would be stored alike by a
/// property bag: two Nothings, or two objects of one type with equal stored
/// state. False when either cannot be stored. Never raises.
bool PersistedObjectsEqual(const host::Variant& first, const host::Variant& second);

/// Writes an object-valued property under `key`. Against the built-in defaults
/// it is written with `builtInDefault` (Nothing: left out when Nothing;
/// Missing: always stored). Against custom defaults it is left out when it
/// equals the custom defaults' value under the key (`builtInDefault` when
/// absent, so with Missing only a stored object can match), and otherwise
/// written with no default at all, so that it reads back as it was.
void WritePersistedObject(host::PropertyBag& stream, std::string_view key,
                          const host::Variant& value, const host::PropertyBag* customDefaults,
                          const host::Variant& builtInDefault);

/// The object stored under `key`, else the custom defaults' object under the
/// key (Nothing when absent), else `builtInDefault` without custom defaults.
host::Variant ReadPersistedObject(const host::PropertyBag& stream, std::string_view key,
                                  const host::PropertyBag* customDefaults,
                                  const host::Variant& builtInDefault);

}  // namespace tavorin::detail
