// Drag and mouse icons, and the rules for every object-valued property that a
// stream carries (pictures, data formats): objects compare by their stored
// images, never by identity.
#pragma once

#include <string_view>

#include <tavorin/host/control.h>
#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

namespace tavorin::detail {

inline constexpr std::string_view kDragIconKey = "DIc";
inline constexpr std::string_view kMouseIconKey = "MIc";

/// True when both arrays hold the same bytes.
bool ByteArraysEqual(const host::ByteArray& first, const host::ByteArray& second);

/// True when the two values (objects, or Nothing) would be stored alike by a
/// property bag: two Nothings, or two objects of one type with equal stored
/// state. False when either cannot be stored. Never raises.
bool PersistedObjectsEqual(const host::Variant& first, const host::Variant& second);

/// Writes an object-valued property under `key`. Against the built-in defaults
/// it is written with `builtInDefault` (Nothing: left out when Nothing;
/// Missing: always stored). Against custom defaults it is left out when it
/// equals the custom defaults' value under the key (`builtInDefault` when
/// absent, so with Missing only a stored object can match), and otherwise
/// written with no default at all, so that every difference is stored: a
/// Nothing that replaces a custom defaults' picture too.
void WritePersistedObject(host::PropertyBag& stream, std::string_view key,
                          const host::Variant& value,
                          const host::PropertyBag* customDefaults,
                          const host::Variant& builtInDefault);

/// The object stored under `key`, else the custom defaults' object under the
/// key (Nothing when absent), else `builtInDefault` without custom defaults.
host::Variant ReadPersistedObject(const host::PropertyBag& stream,
                                  std::string_view key,
                                  const host::PropertyBag* customDefaults,
                                  const host::Variant& builtInDefault);

/// The destination refers to the source's DragIcon and MouseIcon afterwards.
void CopyIcons(const host::Control& source, host::Control& destination);
/// "DIc" and "MIc" by the rules of WritePersistedObject, Nothing the default.
void WriteIcons(const host::Control& control, host::PropertyBag& stream,
                const host::PropertyBag* customDefaults);
/// DragIcon and MouseIcon from the stream; a key it lacks gives the custom
/// defaults' icon, or Nothing.
void ReadIcons(const host::PropertyBag& stream, host::Control& control,
               const host::PropertyBag* customDefaults);

}  // namespace tavorin::detail
