#include "component/component_errors.h"

#include <array>
#include <string>

namespace tavorin::detail {
namespace {

constexpr int kHelpContextBase = 1000;

// Indexed by number - kNotAControl; the texts reach applications, as the
// numbers do.
constexpr std::array<const char*, kInvalidCustomDefaultsStream - kNotAControl + 1> kDescriptions = {
    "Object is not a control",      "Control type mismatch",
    "Unsupported control",          "Invalid Stream",
    "Stream control type mismatch", "Missing CustomDefaultsStream",
    "Invalid CustomDefaultsStream",
};

}  // namespace

std::string ComponentErrorDescription(ComponentError error) {
  return kDescriptions[static_cast<std::size_t>(error - kNotAControl)];
}

void RaiseComponentError(ComponentError error) { RaiseComponentError(error, {}); }

void RaiseComponentError(ComponentError error, const std::string& description) {
  const int number = error;
  throw host::RuntimeError(number,
                           description.empty() ? ComponentErrorDescription(error) : description,
                           /*source=*/{}, kComponentHelpFile, kHelpContextBase + number);
}

}  // namespace tavorin::detail
