#include "component/identification.h"

#include <algorithm>

#include "catalogue/control_type.h"

namespace tavorin::detail {
namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
}

}  // namespace

std::shared_ptr<host::Control> AsControl(const host::ObjectRef& object) noexcept {
  return std::dynamic_pointer_cast<host::Control>(object);
}

std::string ControlClassName(const host::Control& control) { return control.TypeName(); }

bool IsSupportedClassName(std::string_view name) noexcept {
  // Only the space character is stripped: a tab or a line break around the
  // name is part of what the caller wrote, and no class name contains one.
  const std::size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return false;
  const std::size_t last = name.find_last_not_of(' ');
  const std::string_view trimmed = name.substr(first, last - first + 1);
  for (std::int16_t code = TypeCode(ControlType::Nothing); code <= TypeCode(kLastControlType);
       ++code) {
    if (EqualsIgnoringAsciiCase(trimmed, TypeNameFromCode(code))) return true;
  }
  return false;
}

}  // namespace tavorin::detail
