#include <tavorin/host/variant.h>

#include <array>
#include <bit>
#include <type_traits>
#include <utility>

#include <tavorin/host/error.h>

namespace tavorin::host {

namespace {

// The type code of each alternative a value may hold.
struct TypeCodes {
  template <typename T>
  using Is = std::type_identity<T>;
  constexpr VarType operator()(Is<std::monostate>) const { return VarType::Empty; }
  constexpr VarType operator()(Is<Variant::NullTag>) const { return VarType::Null; }
  constexpr VarType operator()(Is<Variant::MissingTag>) const { return VarType::Error; }
  constexpr VarType operator()(Is<bool>) const { return VarType::Boolean; }
  constexpr VarType operator()(Is<Variant::ByteTag>) const { return VarType::Byte; }
  constexpr VarType operator()(Is<std::int16_t>) const { return VarType::Integer; }
  constexpr VarType operator()(Is<std::int32_t>) const { return VarType::Long; }
  constexpr VarType operator()(Is<float>) const { return VarType::Single; }
  constexpr VarType operator()(Is<double>) const { return VarType::Double; }
  constexpr VarType operator()(Is<CurrencyValue>) const { return VarType::Currency; }
  constexpr VarType operator()(Is<DateValue>) const { return VarType::Date; }
  constexpr VarType operator()(Is<DecimalValue>) const { return VarType::Decimal; }
  constexpr VarType operator()(Is<std::string>) const { return VarType::String; }
  constexpr VarType operator()(Is<ObjectRef>) const { return VarType::Object; }
  constexpr VarType operator()(Is<ByteArray>) const { return VarType::ByteArray; }
};

// The codes in the order of the alternatives, so that a value's code is one
// look-up by its alternative's position: every look into a value asks it.
template <typename Alternatives, std::size_t... Position>
constexpr auto TypeCodeTable(std::index_sequence<Position...>) {
  return std::array{
      TypeCodes{}(std::type_identity<std::variant_alternative_t<Position, Alternatives>>{})...};
}

}  // namespace

VarType Variant::Type() const {
  using Alternatives = decltype(value_);
  static constexpr auto kCodes =
      TypeCodeTable<Alternatives>(std::make_index_sequence<std::variant_size_v<Alternatives>>{});
  return kCodes[value_.index()];
}

ObjectRef Variant::AsObject() const {
  if (const auto* object = Get<ObjectRef>()) return *object;
  RaiseHostError(errors::kTypeMismatch);
}

const ByteArray& Variant::AsBytes() const {
  if (const auto* bytes = Get<ByteArray>()) return *bytes;
  RaiseHostError(errors::kTypeMismatch);
}

namespace {

bool SameBits(double a, double b) {
  return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

}  // namespace

bool operator==(const Variant& a, const Variant& b) {
  if (a.value_.index() != b.value_.index()) return false;
  if (const auto* x = a.Get<float>()) {
    return std::bit_cast<std::uint32_t>(*x) == std::bit_cast<std::uint32_t>(*b.Get<float>());
  }
  if (const auto* x = a.Get<double>()) return SameBits(*x, *b.Get<double>());
  if (const auto* x = a.Get<DateValue>()) return SameBits(x->days, b.Get<DateValue>()->days);
  if (const auto* x = a.Get<DecimalValue>()) {
    return SameBits(x->value, b.Get<DecimalValue>()->value);
  }
  return a.value_ == b.value_;
}

}  // namespace tavorin::host
