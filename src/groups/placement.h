// Placement: position and size travel in the units of the container that
// holds the control (the form, a PictureBox, or a Frame, which always counts
// as twips). With SizeAccommodation on they are converted between the source's
// and the destination's container units; a stream records its container's
// unit under "CnS".
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include <tavorin/host/control.h>
#include <tavorin/host/property_bag.h>

#include "catalogue/defaults_catalogue.h"

namespace tavorin::detail {

inline constexpr std::string_view kScaleModeKey = "CnS";

/// Left, top, width and height; a value that is not known is left alone when
/// the placement is applied.
struct Placement {
  std::optional<float> left, top, width, height;
};

/// The scale mode of the control's container: 1 (twips) inside a Frame, else
/// the container's ScaleMode, else the form's. Raises when even the form's
/// ScaleMode cannot be read.
std::int16_t ContainerScaleMode(const host::Control& control);

/// Moves the destination to the source's placement converted from the source's
/// container units to the destination's. When a step fails, the values
/// converted so far are assigned one by one and the others stay as they were.
void CopyPlacement(const host::Control& source, host::Control& destination);

/// Re-applies the placement just assigned from the stream, converted from the
/// stream's "CnS" units to the control's container units. A value that cannot
/// be converted (a damaged or foreign "CnS") keeps the number that was read,
/// unconverted, rather than collapsing to 0.
void ReadPlacement(host::Control& control, const DefaultsCatalogue& catalogue,
                   const host::PropertyBag& stream, const host::PropertyBag* customDefaults);

/// Assigns the known values one by one (Left, Top, Width, Height), skipping any
/// that the control refuses.
void SetPlacement(host::Control& control, const Placement& placement);

/// Writes the control's container scale mode under "CnS" (twips when it
/// cannot be told), left out when it equals the effective default (twips, or
/// the custom defaults' "CnS").
void WriteScaleMode(const host::Control& control, host::PropertyBag& stream,
                    const host::PropertyBag* customDefaults);

/// The scale mode a stream's positions are measured in: its "CnS", else the
/// custom defaults' "CnS", else twips. Raises when the stored value is no
/// Integer.
std::int16_t StoredScaleMode(const host::PropertyBag& stream,
                             const host::PropertyBag* customDefaults);

}  // namespace tavorin::detail
