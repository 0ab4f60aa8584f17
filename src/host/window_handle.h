// Window handles: every form and windowed control gets one of its own.
#pragma once

#include <cstdint>

namespace tavorin::host::detail {

/// A new window handle, never 0 and unique in the process.
std::int64_t NewWindowHandle();

}  // namespace tavorin::host::detail
