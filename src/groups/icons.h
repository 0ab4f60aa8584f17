// Drag and mouse icons: pictures most classes carry besides their own, moved
// as the last step of the catalogue-driven transfer when a class has them.
#pragma once

#include <string_view>

#include <tavorin/host/control.h>
#include <tavorin/host/property_bag.h>

namespace tavorin::detail {

inline constexpr std::string_view kDragIconKey = "DIc";
inline constexpr std::string_view kMouseIconKey = "MIc";

/// The destination refers to the source's DragIcon and MouseIcon afterwards.
void CopyIcons(const host::Control& source, host::Control& destination);
/// "DIc" and "MIc" by the rules of stored objects, Nothing the default.
void WriteIcons(const host::Control& control, host::PropertyBag& stream,
                const host::PropertyBag* customDefaults);
/// DragIcon and MouseIcon from the stream; a key it lacks gives the custom
/// defaults' icon, or Nothing.
void ReadIcons(const host::PropertyBag& stream, host::Control& control,
               const host::PropertyBag* customDefaults);

}  // namespace tavorin::detail
