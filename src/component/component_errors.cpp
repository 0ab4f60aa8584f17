#include "component/component_errors.h"

#include <array>

namespace tavorin::detail {
namespace {

constexpr int kFirstErrorNumber = static_cast<int>(ComponentError::kNotAControl);
constexpr int kHelpContextBase = 1000;

// Indexed by number - 700.
constexpr std::array<const char*, 7> kDescriptions = {
    "Object is not a control",
    "Control type mismatch",
    "Unsupported control",
    "Invalid Stream",
    "Stream control type mismatch",
    "Missing CustomDefaultsStream",
    "Invalid CustomDefaultsStream",
};

}  // namespace

void RaiseComponentError(ComponentError error) {
  const int number = static_cast<int>(error);
  throw host::RuntimeError(number,
                           kDescriptions[static_cast<std::size_t>(number - kFirstErrorNumber)],
                           /*source=*/{}, kComponentHelpFile, kHelpContextBase + number);
}

}  // namespace tavorin::detail
