#include "catalogue/control_type.h"

#include <array>

namespace tavorin::detail {
namespace {

// Indexed by type code.
constexpr std::array<std::string_view, TypeCode(kLastControlType) + 1> kClassNames = {
    "Nothing",       "PictureBox",  "Label",        "TextBox",      "Frame",
    "CommandButton", "CheckBox",    "OptionButton", "ComboBox",     "ListBox",
    "HScrollBar",    "VScrollBar",  "Timer",        "DriveListBox", "Shape",
    "DirListBox",    "FileListBox", "Line",         "Image",        "Data",
};

}  // namespace

std::optional<ControlType> ControlTypeFromCode(std::int32_t code) noexcept {
  if (code < 0 || code > TypeCode(kLastControlType)) return std::nullopt;
  return static_cast<ControlType>(code);
}

std::string_view ClassNameOf(ControlType type) noexcept { return TypeNameFromCode(TypeCode(type)); }

std::string_view TypeNameFromCode(std::int32_t code) noexcept {
  if (code < 0 || code > TypeCode(kLastControlType)) return {};
  return kClassNames[static_cast<std::size_t>(code)];
}

std::optional<ControlType> ControlTypeFromClassName(std::string_view className) noexcept {
  for (std::int16_t code = TypeCode(kFirstControlType); code <= TypeCode(kLastControlType);
       ++code) {
    if (kClassNames[static_cast<std::size_t>(code)] == className) {
      return static_cast<ControlType>(code);
    }
  }
  return std::nullopt;
}

}  // namespace tavorin::detail
