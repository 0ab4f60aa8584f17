// The defaults tables of the control classes as constant data. The stream
// format depends on every key code, default and value type in them: a changed
// row makes old streams read back wrong, so rows are never edited or reordered.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace tavorin::detail {

enum class DefaultKind : std::uint8_t { Integer, Long, Double, String, Boolean };

/// A built-in default as plain constant data; only the member that matches
/// `kind` is meaningful.
struct DefaultLiteral {
  DefaultKind kind = DefaultKind::Integer;
  /// Integer, Long and Boolean (0 or 1) defaults.
  std::int32_t whole = 0;
  /// Double defaults.
  double real = 0;
  /// String defaults.
  std::string_view text;
};

struct DefaultsTableRow {
  std::string_view keyCode;
  std::string_view propertyName;
  DefaultLiteral defaultValue;
  std::int16_t valueType = 0;
};

/// The rows of the class with that control type code, in table order; the
/// same rows for 10 and 11; no rows for any code outside 1..19.
std::span<const DefaultsTableRow> DefaultsTableRows(std::int16_t typeCode);

}  // namespace tavorin::detail
