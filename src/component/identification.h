// Which objects are controls, which class a control belongs to, and which
// class names the component accepts.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <tavorin/host/control.h>
#include <tavorin/host/variant.h>

namespace tavorin::detail {

/// `object` seen through the generic control interface; Nothing for an object
/// that is no control (forms, pictures, recordsets) and for Nothing itself.
/// Never raises.
std::shared_ptr<host::Control> AsControl(const host::ObjectRef& object) noexcept;
inline bool IsControl(const host::ObjectRef& object) noexcept {
  return AsControl(object) != nullptr;
}

/// The class name by which the component dispatches: the runtime's type name,
/// compared exactly wherever it is used.
std::string ControlClassName(const host::Control& control);

/// Whether `name`, upper-cased and stripped of surrounding spaces, is one of
/// the supported class names or "Nothing".
bool IsSupportedClassName(std::string_view name) noexcept;

}  // namespace tavorin::detail
