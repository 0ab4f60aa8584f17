// The defaults tables of the control classes as constant data. The stream
// format depends on every key code, default and value type in them: a changed
// row makes old streams read back wrong, so rows are never edited or reordered.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "catalogue/control_type.h"
#include "catalogue/default_literal.h"

namespace tavorin::detail {

struct DefaultsTableRow {
  std::string_view keyCode;
  std::string_view propertyName;
  DefaultLiteral defaultValue;
  std::int16_t valueType = 0;
};

/// The rows of the class, in table order; the same rows for both scroll bars;
/// no rows for Nothing or a value that names no class.
std::span<const DefaultsTableRow> DefaultsTableRows(ControlType type);

}  // namespace tavorin::detail
