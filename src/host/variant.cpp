#include <tavorin/host/variant.h>

#include <bit>

#include <tavorin/host/error.h>

namespace tavorin::host {

VarType Variant::Type() const {
  struct Visitor {
    VarType operator()(std::monostate) const { return VarType::Empty; }
    VarType operator()(NullTag) const { return VarType::Null; }
    VarType operator()(MissingTag) const { return VarType::Error; }
    VarType operator()(bool) const { return VarType::Boolean; }
    VarType operator()(ByteTag) const { return VarType::Byte; }
    VarType operator()(std::int16_t) const { return VarType::Integer; }
    VarType operator()(std::int32_t) const { return VarType::Long; }
    VarType operator()(float) const { return VarType::Single; }
    VarType operator()(double) const { return VarType::Double; }
    VarType operator()(CurrencyValue) const { return VarType::Currency; }
    VarType operator()(DateValue) const { return VarType::Date; }
    VarType operator()(DecimalValue) const { return VarType::Decimal; }
    VarType operator()(const std::string&) const { return VarType::String; }
    VarType operator()(const ObjectRef&) const { return VarType::Object; }
    VarType operator()(const ByteArray&) const { return VarType::ByteArray; }
  };
  return std::visit(Visitor{}, value_);
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
