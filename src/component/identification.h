// Which objects are controls, which class a control belongs to, and the
// numeric type codes by which a stream names a class.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <tavorin/host/control.h>
#include <tavorin/host/variant.h>

namespace tavorin::detail {

/// The type code of the Nothing stream: no control at all.
inline constexpr std::int32_t kNothingTypeCode = 0;

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

/// The class name of a type code, "Nothing" for 0, and "" for any code that
/// names no class (negative, or above the last class).
std::string_view TypeNameFromCode(std::int32_t code) noexcept;

/// The type code of a supported class name (exact, case-sensitive); nullopt
/// for any other name, "Nothing" included since it names no class.
std::optional<std::int32_t> TypeCodeFromClassName(std::string_view className) noexcept;

/// Whether `name`, upper-cased and stripped of surrounding spaces, is one of
/// the supported class names or "Nothing".
bool IsSupportedClassName(std::string_view name) noexcept;

}  // namespace tavorin::detail
