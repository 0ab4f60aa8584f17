#include "component/identification.h"

#include <algorithm>
#include <array>
namespace tavorin::detail {
namespace {

// Indexed by type code. These codes are written into every stream, so the
// order never changes (Shape really does sit between DriveListBox and
// DirListBox).
constexpr std::array<std::string_view, 20> kClassNamesByTypeCode = {
    "Nothing",      "PictureBox",   "Label",      "TextBox",     "Frame",
    "CommandButton", "CheckBox",    "OptionButton", "ComboBox",  "ListBox",
    "HScrollBar",   "VScrollBar",   "Timer",      "DriveListBox", "Shape",
    "DirListBox",   "FileListBox",  "Line",       "Image",       "Data",
};

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

}  // namespace

std::shared_ptr<host::Control> AsControl(const host::ObjectRef& object) noexcept {
  return std::dynamic_pointer_cast<host::Control>(object);
}

std::string ControlClassName(const host::Control& control) { return control.TypeName(); }

std::string_view TypeNameFromCode(std::int32_t code) noexcept {
  if (code < 0 || code >= static_cast<std::int32_t>(kClassNamesByTypeCode.size())) return {};
  return kClassNamesByTypeCode[static_cast<std::size_t>(code)];
}

std::optional<std::int32_t> TypeCodeFromClassName(std::string_view className) noexcept {
  for (std::int32_t code = kNothingTypeCode + 1;
       code < static_cast<std::int32_t>(kClassNamesByTypeCode.size()); ++code) {
    if (kClassNamesByTypeCode[static_cast<std::size_t>(code)] == className) return code;
  }
  return std::nullopt;
}

bool IsSupportedClassName(std::string_view name) noexcept {
  // Only the space character is stripped: a tab or a line break around the
  // name is part of what the caller wrote, and no class name contains one.
  const std::size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const std::size_t last = name.find_last_not_of(' ');
  const std::string_view trimmed = name.substr(first, last - first + 1);
  return std::any_of(kClassNamesByTypeCode.begin(), kClassNamesByTypeCode.end(),
                     [&](std::string_view className) {
                       return EqualsIgnoringAsciiCase(trimmed, className);
                     });
}

}  // namespace tavorin::detail
