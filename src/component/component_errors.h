// The component's own numbered errors. Applications tell them apart by
// number, so the numbers and texts never change.
#pragma once

#include <tavorin/host/error.h>

namespace tavorin::detail {

enum class ComponentError {
  kNotAControl = 700,
  kControlTypeMismatch = 701,
  kUnsupportedControl = 702,
  kInvalidStream = 703,
  kStreamControlTypeMismatch = 704,
  kMissingCustomDefaultsStream = 705,
  kInvalidCustomDefaultsStream = 706,
};

/// The help file every component error points to.
inline constexpr const char* kComponentHelpFile = "tavorn.hlp";

/// Throws the error as the caller receives it: its description, the help
/// file, help context 1000 + number, and no source.
[[noreturn]] void RaiseComponentError(ComponentError error);

}  // namespace tavorin::detail
