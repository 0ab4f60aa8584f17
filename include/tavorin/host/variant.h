// Variant: the form runtime's tagged value.
//
// A Variant holds one value of one of the runtime's types and remembers that
// type. Numbers are read through the conversions of <tavorin/host/convert.h>;
// objects and byte arrays through AsObject() and AsBytes().
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace tavorin::host {

class Object;

/// A reference to a host object; the null reference is Nothing.
using ObjectRef = std::shared_ptr<Object>;

/// A byte array; an empty vector is an array with no elements.
using ByteArray = std::vector<std::uint8_t>;

/// The runtime's type codes. These numbers are part of the runtime's surface
/// and never change.
enum class VarType : std::uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,
  Decimal = 14,
  Byte = 17,
  ByteArray = 8209,
};

/// Currency: a fixed-point number held as ten-thousandths.
struct CurrencyValue {
  std::int64_t ten_thousandths = 0;
  friend bool operator==(CurrencyValue, CurrencyValue) = default;
};

/// Decimal: held as a double; the runtime uses it only as a conversion target.
struct DecimalValue {
  double value = 0;
  friend bool operator==(DecimalValue, DecimalValue) = default;
};

/// Date: days since 1899-12-30, the fraction being the time of day.
struct DateValue {
  double days = 0;
  friend bool operator==(DateValue, DateValue) = default;
};

class Variant {
 public:
  /// Empty.
  Variant() = default;

  Variant(bool value) : value_(value) {}
  Variant(std::int16_t value) : value_(value) {}
  Variant(std::int32_t value) : value_(value) {}
  Variant(float value) : value_(value) {}
  Variant(double value) : value_(value) {}
  Variant(const char* value) : value_(std::string(value)) {}
  Variant(std::string value) : value_(std::move(value)) {}
  Variant(ObjectRef value) : value_(std::move(value)) {}
  template <typename T>
  requires(std::is_base_of_v<Object, T> && !std::is_same_v<T, Object>)
      Variant(std::shared_ptr<T> value)
      : value_(ObjectRef(std::move(value))) {}
  Variant(ByteArray value) : value_(std::move(value)) {}
  Variant(CurrencyValue value) : value_(value) {}
  Variant(DateValue value) : value_(value) {}
  Variant(DecimalValue value) : value_(value) {}

  static Variant Null() { return Variant(NullTag{}); }
  /// An optional argument that was not given.
  static Variant Missing() { return Variant(MissingTag{}); }

  static Variant Integer(std::int16_t value) { return Variant(value); }
  static Variant Long(std::int32_t value) { return Variant(value); }
  static Variant Single(float value) { return Variant(value); }
  static Variant Double(double value) { return Variant(value); }
  /// `tenThousandths` is the value times 10,000 (Currency 1.5 is 15000).
  static Variant Currency(std::int64_t tenThousandths) {
    return Variant(CurrencyValue{tenThousandths});
  }
  static Variant Date(double days) { return Variant(DateValue{days}); }
  static Variant Decimal(double value) { return Variant(DecimalValue{value}); }
  static Variant String(std::string value) { return Variant(std::move(value)); }
  static Variant Boolean(bool value) { return Variant(value); }
  static Variant Byte(std::uint8_t value) { return Variant(ByteTag{value}); }
  static Variant Object(ObjectRef value) { return Variant(std::move(value)); }
  static Variant Bytes(ByteArray value) { return Variant(std::move(value)); }

  VarType Type() const;

  bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
  bool IsNull() const { return std::holds_alternative<NullTag>(value_); }
  bool IsMissing() const { return std::holds_alternative<MissingTag>(value_); }
  /// True for any object reference, Nothing included.
  bool IsObject() const { return std::holds_alternative<ObjectRef>(value_); }
  bool IsNothing() const { return IsObject() && !std::get<ObjectRef>(value_); }

  /// The object held; raises 13 for a value of another type.
  ObjectRef AsObject() const;
  /// The byte array held; raises 13 for a value of another type.
  const ByteArray& AsBytes() const;

  /// Access to the stored alternative for the conversions and the bag.
  template <typename T>
  const T* Get() const {
    return std::get_if<T>(&value_);
  }
  template <typename T>
  T* Get() {
    return std::get_if<T>(&value_);
  }

  struct NullTag {
    friend bool operator==(NullTag, NullTag) = default;
  };
  struct MissingTag {
    friend bool operator==(MissingTag, MissingTag) = default;
  };
  struct ByteTag {
    std::uint8_t value = 0;
    friend bool operator==(ByteTag, ByteTag) = default;
  };

  /// Same type and same value (objects by identity; Single, Double, Date and
  /// Decimal by bit pattern, so that -0.0 is told from 0 and NaN equals
  /// itself).
  friend bool operator==(const Variant& a, const Variant& b);

 private:
  explicit Variant(NullTag tag) : value_(tag) {}
  explicit Variant(MissingTag tag) : value_(tag) {}
  explicit Variant(ByteTag tag) : value_(tag) {}

  std::variant<std::monostate, NullTag, MissingTag, bool, ByteTag, std::int16_t, std::int32_t,
               float, double, CurrencyValue, DateValue, DecimalValue, std::string, ObjectRef,
               ByteArray>
      value_;
};

}  // namespace tavorin::host
