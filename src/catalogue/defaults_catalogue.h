// The defaults catalogue: for one control class, the ordered list of the
// ordinary properties that are copied, streamed and restored by name, each
// with its stream key, built-in default and the value type it is stored as.
//
// A catalogue is a cheap, immutable view of a table that is built once per
// process; copying one copies a pointer. Key codes are private to their class:
// "41" is Left of a PictureBox but Top of a TextBox, so a stream key means
// nothing without the stream's control type code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include <tavorin/host/control.h>
#include <tavorin/host/variant.h>

#include "catalogue/control_type.h"

namespace tavorin::detail {

/// One catalogued property.
struct CatalogueEntry {
  /// Two decimal digits, "00" to "99": the property bag key in a stream.
  std::string_view keyCode;
  /// The host's name of the property, used to get and set it by name.
  std::string_view propertyName;
  /// The built-in default. Its own type matters: colours are Longs, sizes
  /// Integers, FontSize the Double 8.25, and every default of the scroll bar
  /// table is a String ("0", "TRUE", "32767", ...).
  host::Variant defaultValue;
  /// The VarType code (2, 3, 4, 8 or 11) a value is converted to before it is
  /// written to a stream.
  std::int16_t valueType = 0;
};

struct CatalogueTable;

/// The catalogue of one control class, in table order. The entries live as
/// long as the process; a default-constructed catalogue is empty.
class DefaultsCatalogue {
 public:
  DefaultsCatalogue() = default;

  std::size_t Count() const;

  /// The entry at `position`, counted from 1 to Count() in table order (the
  /// order in which a read assigns the properties). Raises host error 9
  /// "Subscript out of range" for any other position.
  const CatalogueEntry& At(std::size_t position) const;

  /// The entry of that property (exact, case-sensitive name), or nullptr.
  const CatalogueEntry* Find(std::string_view propertyName) const;

  /// The entry stored under that stream key, or nullptr.
  const CatalogueEntry* FindByKey(std::string_view keyCode) const;

  /// Iteration in table order.
  const CatalogueEntry* begin() const;
  const CatalogueEntry* end() const;

  /// The property of `entry`, one of this catalogue's, on `control`: as its
  /// GetProperty and SetProperty by name, but without looking the name up
  /// again for every control of a class.
  host::Variant Get(const host::Control& control, const CatalogueEntry& entry) const;
  /// Get's value without a copy where the control stores it: else it is
  /// put in `computed`.
  const host::Variant& Peek(const host::Control& control, const CatalogueEntry& entry,
                            host::Variant& computed) const;
  void Set(host::Control& control, const CatalogueEntry& entry, const host::Variant& value) const;

 private:
  friend DefaultsCatalogue BuildDefaultsCatalogue(ControlType type);
  explicit DefaultsCatalogue(const CatalogueTable* table) : table_(table) {}

  std::size_t IndexOf(const CatalogueEntry& entry) const;

  const CatalogueTable* table_ = nullptr;
};

/// The catalogue of the class (both scroll bars share one table). Nothing, or
/// a value that names no class, gives an empty catalogue. Never raises.
DefaultsCatalogue BuildDefaultsCatalogue(ControlType type);

}  // namespace tavorin::detail
