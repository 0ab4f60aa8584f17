// The catalogue-driven transfer: every property of the class's defaults
// catalogue, reached by name, copied, written against its effective default
// and read back; then, as the switches and settings allow, placement with unit
// conversion and the drag and mouse icons.
#pragma once

#include <cstdint>

#include <tavorin/host/control.h>
#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

#include "catalogue/defaults_catalogue.h"
#include "groups/component_settings.h"
#include "groups/group_switches.h"

namespace tavorin::detail {

/// Container and tab index (as the settings allow), every catalogued property
/// unconverted, then placement converted between the containers' units and
/// the icons.
void CopyCommonProperties(const ComponentSettings& settings, const host::Control& source,
                          host::Control& destination, const DefaultsCatalogue& catalogue,
                          const GroupSwitches& switches);

/// Every catalogued property converted to its value type and written against
/// its effective default, then "CnS" and the icons. A value that does not
/// convert is not written, so a read gives the property its default.
void WriteCommonProperties(const ComponentSettings& settings, const host::Control& control,
                           host::PropertyBag& stream, const DefaultsCatalogue& catalogue,
                           const host::PropertyBag* customDefaults, const GroupSwitches& switches);

/// Assigns every catalogued property, in catalogue order, its stored value or
/// its effective default, then re-applies placement converted from the
/// stream's units, then the icons.
void ReadCommonProperties(const ComponentSettings& settings, const host::PropertyBag& stream,
                          host::Control& control, const DefaultsCatalogue& catalogue,
                          const host::PropertyBag* customDefaults, const GroupSwitches& switches);

/// Value type codes besides the VarType codes: any type, the value unchanged.
inline constexpr std::int16_t kAnyValueType = 12;

/// `value` converted to the VarType `valueType` (Byte, Integer, Long, Single,
/// Double, Currency, Date, String, Boolean or Decimal), or unchanged for
/// kAnyValueType. Null for any other type code and for a value that does not
/// convert. Never raises.
host::Variant ConvertToValueType(host::Variant value, std::int16_t valueType);

}  // namespace tavorin::detail
