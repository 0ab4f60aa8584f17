// A default value as plain constant data, so that the tables that hold
// defaults (the catalogues, the property sets' own keys) can be constexpr;
// DefaultValue makes the host value of one.
#pragma once

#include <bit>
#include <cstdint>
#include <string_view>

#include <tavorin/host/variant.h>

namespace tavorin::detail {

enum class DefaultKind : std::uint8_t { Integer, Long, Double, String, Boolean, Nothing };

/// Only the member that matches `kind` is meaningful.
struct DefaultLiteral {
  DefaultKind kind = DefaultKind::Integer;
  /// Integer, Long and Boolean (0 or 1) defaults.
  std::int32_t whole = 0;
  /// Double defaults.
  double real = 0;
  /// String defaults.
  std::string_view text;
};

/// The value a literal stands for, typed as its kind says.
host::Variant DefaultValue(const DefaultLiteral& literal);

namespace default_literals {

constexpr DefaultLiteral Integer(std::int16_t value) {
  return {DefaultKind::Integer, value, 0, {}};
}
// Colours with the top bit set name system colours; they are written as the
// bit patterns the host uses and stored as the negative Long they amount to.
constexpr DefaultLiteral Long(std::uint32_t bits) {
  return {DefaultKind::Long, std::bit_cast<std::int32_t>(bits), 0, {}};
}
constexpr DefaultLiteral Double(double value) { return {DefaultKind::Double, 0, value, {}}; }
constexpr DefaultLiteral Text(std::string_view value) { return {DefaultKind::String, 0, 0, value}; }
constexpr DefaultLiteral Boolean(bool value) {
  return {DefaultKind::Boolean, value ? 1 : 0, 0, {}};
}
inline constexpr DefaultLiteral kNothing{DefaultKind::Nothing, 0, 0, {}};

}  // namespace default_literals
}  // namespace tavorin::detail
