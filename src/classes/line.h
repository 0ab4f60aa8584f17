// The Line: its place is its end points, measured in its container's units.
#pragma once

#include "classes/property_set.h"

namespace tavorin::detail {

/// With SizeAccommodation on, the copy and the read convert the end points
/// into the units of the line's container, once the container is applied.
extern const ClassSteps kLineSteps;

}  // namespace tavorin::detail
