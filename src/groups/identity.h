// Identity: the stream envelope with the control's name, and the control's
// place in its form (container and tab index), which only travel when the
// settings SetContainer and SetTabIndex ask for them. Name and Index are never
// assigned: the host fixes them when a control is created.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <tavorin/host/control.h>
#include <tavorin/host/form.h>
#include <tavorin/host/property_bag.h>

#include "catalogue/control_type.h"
#include "groups/component_settings.h"
#include "groups/group_switches.h"

namespace tavorin::detail {

inline constexpr std::string_view kContainerNameKey = "CnN";
inline constexpr std::string_view kContainerIndexKey = "CnI";
inline constexpr std::string_view kTabIndexKey = "TbI";
/// The "CnN" of a control that sits directly on its form.
inline constexpr std::string_view kFormMarker = "1F";

/// Writes the envelope ("@SF#", and "@CN#" when WriteControlName is on), then
/// the container and the tab index as the switches and settings allow. The
/// first writes of every stream.
void WriteIdentity(const ComponentSettings& settings, const host::Control& control,
                   host::PropertyBag& stream, ControlType type, bool againstCustomDefaults,
                   const GroupSwitches& switches);

/// Applies the stored container and tab index as the switches and settings
/// allow, and returns the stream's format number (the version of its flags;
/// 0 when it has none). Only format 1 is read further.
std::int32_t ReadIdentity(const ComponentSettings& settings, const host::PropertyBag& stream,
                          host::Control& control, const GroupSwitches& switches);

/// "CnN": the container's name, or "1F" on the form itself; "CnI": the
/// container's index when it is a control array member. Stops at the first
/// failure.
void WriteContainer(const host::Control& control, host::PropertyBag& stream);

/// Moves the control into the container that "CnN"/"CnI" name on its own form;
/// a name the form lacks leaves the control where it is. Stops at the first
/// failure.
void ReadContainer(const host::PropertyBag& stream, host::Control& control);

/// Copies the container and then the tab index as the switches and settings
/// allow: the first steps of a copy, before any catalogued property.
void CopyPlaceInForm(const ComponentSettings& settings, const host::Control& source,
                     host::Control& destination, const GroupSwitches& switches);

/// True when the object has a control-array index.
bool IsControlArrayMember(const host::Object& object);

/// The first control of `form`, in its order, named `name` (exactly) and, when
/// `index` is not Empty, an array member with that index; nullptr when none.
std::shared_ptr<host::Control> FindFormControl(const host::Form& form, const std::string& name,
                                               const host::Variant& index);

}  // namespace tavorin::detail
