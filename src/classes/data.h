// The Data control: besides its catalogued properties, which say what records
// it shows, a stream carries the record it stands on.
#pragma once

#include <string_view>

#include "classes/property_set.h"

namespace tavorin::detail {

/// The recordset's AbsolutePosition: the current record counted from 0, -1
/// when there is none.
inline constexpr std::string_view kRecordPositionKey = "TPZ";

/// The copy and the read rebuild the destination's recordset from the
/// properties just applied and move it to the source's record; the write
/// stores the record.
extern const ClassSteps kDataSteps;

}  // namespace tavorin::detail
