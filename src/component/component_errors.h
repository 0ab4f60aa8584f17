// Raising the component's own numbered errors (tavorin/errors.h).
#pragma once

#include <string>

#include <tavorin/errors.h>
#include <tavorin/host/error.h>

namespace tavorin::detail {

/// The component's code names the public numbers from within detail.
using ComponentError = tavorin::ComponentError;

/// The help file every component error points to.
inline constexpr const char* kComponentHelpFile = "tavorn.hlp";

/// The error's fixed description: "Invalid Stream", ...
std::string ComponentErrorDescription(ComponentError error);

/// Throws the error as the caller receives it: its description, the help
/// file, help context 1000 + number, and no source.
[[noreturn]] void RaiseComponentError(ComponentError error);
/// The same with a description that says more than the fixed one.
[[noreturn]] void RaiseComponentError(ComponentError error, const std::string& description);

}  // namespace tavorin::detail
