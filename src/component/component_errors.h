// Raising the component's own numbered errors (tavorin/errors.h).
#pragma once

#include <tavorin/errors.h>
#include <tavorin/host/error.h>

namespace tavorin::detail {

/// The component's code names the public numbers from within detail.
using ComponentError = tavorin::ComponentError;

/// The help file every component error points to.
inline constexpr const char* kComponentHelpFile = "tavorn.hlp";

/// Throws the error as the caller receives it: its description, the help
/// file, help context 1000 + number, and no source.
[[noreturn]] void RaiseComponentError(ComponentError error);

}  // namespace tavorin::detail
