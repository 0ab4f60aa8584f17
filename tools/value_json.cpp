#include "value_json.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>

#include "base64.h"
#include "value_text.h"

namespace tavorin::cli {
namespace {

using host::Variant;
using host::VarType;

// ---------------------------------------------------------------------------
// Binary floating values: the shortest digits that read back exactly, and a
// NaN by its bits, since its payload is part of the value.

template <typename Real>
using BitsOf = std::conditional_t<sizeof(Real) == 4, std::uint32_t, std::uint64_t>;

constexpr std::string_view kNanStart = "nan(0x";

template <typename Real>
std::string RealText(Real value) {
  char text[64];
  if (std::isnan(value)) {
    std::snprintf(text, sizeof text, "nan(0x%0*llx)", static_cast<int>(2 * sizeof(Real)),
                  static_cast<unsigned long long>(std::bit_cast<BitsOf<Real>>(value)));
    return text;
  }
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
  return std::string(text, written.ptr);
}

template <typename Real>
std::optional<Real> RealFromText(std::string_view text) {
  if (text.starts_with(kNanStart) && text.ends_with(')')) {
    const std::string_view digits = text.substr(kNanStart.size(), text.size() - 7);
    BitsOf<Real> bits = 0;
    const auto [end, problem] = std::from_chars(digits.begin(), digits.end(), bits, 16);
    const Real value = std::bit_cast<Real>(bits);
    if (digits.size() != 2 * sizeof(Real) || problem != std::errc() || end != digits.end() ||
        !std::isnan(value)) {
      return std::nullopt;
    }
    return value;
  }
  Real value{};
  const auto [end, problem] = std::from_chars(text.begin(), text.end(), value);
  if (problem != std::errc() || end != text.end()) return std::nullopt;
  return value;
}

template <typename Real>
Real RealFromJson(const JsonAt& at, std::string_view typeLabel) {
  const std::optional<Real> value = RealFromText<Real>(at.Text());
  if (!value) {
    at.Refuse("must be the text of a " + std::string(typeLabel) +
              ", as \"8.25\", \"-1e-07\", \"inf\" or \"nan(0x" +
              std::string(2 * sizeof(Real) - 1, '0') + "1)\"");
  }
  return *value;
}

// ---------------------------------------------------------------------------
// Currency: ten-thousandths as exact decimal text.

constexpr std::uint64_t kCurrencyScale = 10'000;

std::string CurrencyText(std::int64_t tenThousandths) {
  const bool negative = tenThousandths < 0;
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                           : static_cast<std::uint64_t>(tenThousandths);
  std::string text = (negative ? "-" : "") + std::to_string(magnitude / kCurrencyScale);
  if (const auto fraction = static_cast<unsigned>(magnitude % kCurrencyScale)) {
    char digits[8];
    std::snprintf(digits, sizeof digits, ".%04u", fraction);
    text += digits;
    while (text.back() == '0') text.pop_back();
  }
  return text;
}

// "-12.3456": a sign, digits, and up to four decimals.
std::optional<std::int64_t> CurrencyFromText(std::string_view text) {
  const bool negative = text.starts_with('-');
  if (negative) text.remove_prefix(1);
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view decimals =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() || (point != std::string_view::npos && decimals.empty()) ||
      decimals.size() > 4) {
    return std::nullopt;
  }
  std::uint64_t units = 0;
  std::uint64_t fraction = 0;
  for (const auto& [digits, number] : {std::pair(whole, &units), std::pair(decimals, &fraction)}) {
    if (digits.empty()) continue;
    const auto [end, problem] = std::from_chars(digits.begin(), digits.end(), *number);
    if (problem != std::errc() || end != digits.end()) return std::nullopt;
  }
  for (std::size_t i = decimals.size(); i < 4; ++i) fraction *= 10;
  const std::uint64_t limit =
      static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
  if (units > (limit - fraction) / kCurrencyScale) return std::nullopt;
  const std::uint64_t magnitude = units * kCurrencyScale + fraction;
  return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
}

// ---------------------------------------------------------------------------
// Dates: the day count is the value; ISO 8601 is for people, as the runtime
// prints it, and only for days within its calendar.

std::optional<std::string> IsoDate(double days) {
  std::string text;
  try {
    text = host::CStr(Variant::Date(days));
  } catch (const host::RuntimeError&) {
    return std::nullopt;
  }
  const std::size_t space = text.find(' ');
  if (space == std::string::npos) return text + "T00:00:00";
  text[space] = 'T';
  return text;
}

Json DateJson(double days) {
  Json date{{"days", RealText(days)}};
  if (const std::optional<std::string> iso = IsoDate(days)) date["iso"] = *iso;
  return date;
}

// ---------------------------------------------------------------------------
// Bytes and objects.

Json BytesJson(const host::ByteArray& bytes) {
  return {{"size", bytes.size()}, {"base64", EncodeBase64(bytes)}};
}

host::ByteArray BytesFromJson(const JsonAt& at) {
  std::optional<host::ByteArray> bytes = DecodeBase64(at.Text());
  if (!bytes) at.Refuse("must be base64 with padding and nothing else");
  return *std::move(bytes);
}

void NoteForPeople(const JsonAt& at, std::initializer_list<std::string_view> names,
                   std::vector<JsonAt>& forPeople) {
  for (const std::string_view name : names) {
    if (std::optional<JsonAt> field = at.OptionalField(name)) forPeople.push_back(*field);
  }
}

Json ObjectJson(const host::ObjectRef& object) {
  if (!object) return nullptr;
  if (const auto* picture = dynamic_cast<const host::Picture*>(object.get())) {
    return {{"kind", PictureKindWord(picture->GetKind())},
            {"size", picture->Bytes().size()},
            {"widthPixels", picture->WidthPixels()},
            {"heightPixels", picture->HeightPixels()},
            {"base64", EncodeBase64(picture->Bytes())}};
  }
  if (const auto* format = dynamic_cast<const host::DataFormat*>(object.get())) {
    return {{"format", TextJson(format->Format())}, {"type", format->Type()}};
  }
  // The property bag keeps no other objects.
  throw std::invalid_argument("a stored " + object->TypeName() + " has no text form");
}

Variant PictureFromJson(const JsonAt& at, std::vector<JsonAt>& forPeople) {
  at.OnlyFields({"kind", "size", "widthPixels", "heightPixels", "base64"});
  NoteForPeople(at, {"kind", "size", "widthPixels", "heightPixels"}, forPeople);
  const JsonAt image = at.Field("base64");
  try {
    return Variant::Object(host::Picture::LoadState(BytesFromJson(image)));
  } catch (const host::RuntimeError&) {
    image.Refuse("is no image the host loads (bitmap, icon, GIF, JPEG or PNG)");
  }
}

Variant DataFormatFromJson(const JsonAt& at) {
  at.OnlyFields({"format", "type"});
  auto format = std::make_shared<host::DataFormat>();
  format->Format(TextFromJson(at.Field("format")));
  format->Type(static_cast<std::int16_t>(at.Field("type").Integer(INT16_MIN, INT16_MAX)));
  return Variant::Object(std::move(format));
}

void RefuseUnlessNull(const JsonAt& at) {
  if (!at.Node().is_null()) at.Refuse("must be null");
}

}  // namespace

Json TextJson(std::string_view text) {
  if (IsUtf8(text)) return std::string(text);
  return {{"base64", EncodeBase64(std::span(reinterpret_cast<const std::uint8_t*>(text.data()),
                                            text.size()))}};
}

std::string TextFromJson(const JsonAt& at) {
  if (at.Node().is_string()) return at.Text();
  if (!at.Node().is_object()) at.Refuse("must be a string, or {\"base64\": ...} for other bytes");
  at.OnlyFields({"base64"});
  const host::ByteArray bytes = BytesFromJson(at.Field("base64"));
  return std::string(bytes.begin(), bytes.end());
}

Json ValueJson(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
    case VarType::Null:
      return nullptr;
    case VarType::Boolean:
      return *value.Get<bool>();
    case VarType::Byte:
      return value.Get<Variant::ByteTag>()->value;
    case VarType::Integer:
      return *value.Get<std::int16_t>();
    case VarType::Long:
      return *value.Get<std::int32_t>();
    case VarType::Single:
      return RealText(*value.Get<float>());
    case VarType::Double:
      return RealText(*value.Get<double>());
    case VarType::Decimal:
      return RealText(value.Get<host::DecimalValue>()->value);
    case VarType::Currency:
      return CurrencyText(value.Get<host::CurrencyValue>()->ten_thousandths);
    case VarType::Date:
      return DateJson(value.Get<host::DateValue>()->days);
    case VarType::String:
      return TextJson(*value.Get<std::string>());
    case VarType::ByteArray:
      return BytesJson(value.AsBytes());
    case VarType::Object:
      return ObjectJson(value.AsObject());
    case VarType::Error:
      break;
  }
  throw std::invalid_argument("a Missing value is never stored");
}

Variant ValueFromJson(const JsonAt& type, const JsonAt& at, std::vector<JsonAt>& forPeople) {
  const std::string& typeLabel = type.Text();
  if (typeLabel == "Picture") return PictureFromJson(at, forPeople);
  if (typeLabel == "StdDataFormat") return DataFormatFromJson(at);
  switch (TypeOfLabel(typeLabel).value_or(VarType::Error)) {
    case VarType::Empty:
      RefuseUnlessNull(at);
      return Variant();
    case VarType::Null:
      RefuseUnlessNull(at);
      return Variant::Null();
    case VarType::Object:
      RefuseUnlessNull(at);
      return Variant::Object(nullptr);
    case VarType::Boolean:
      return Variant::Boolean(at.Boolean());
    case VarType::Byte:
      return Variant::Byte(static_cast<std::uint8_t>(at.Integer(0, UINT8_MAX)));
    case VarType::Integer:
      return Variant::Integer(static_cast<std::int16_t>(at.Integer(INT16_MIN, INT16_MAX)));
    case VarType::Long:
      return Variant::Long(static_cast<std::int32_t>(at.Integer(INT32_MIN, INT32_MAX)));
    case VarType::Single:
      return Variant::Single(RealFromJson<float>(at, typeLabel));
    case VarType::Double:
      return Variant::Double(RealFromJson<double>(at, typeLabel));
    case VarType::Decimal:
      return Variant::Decimal(RealFromJson<double>(at, typeLabel));
    case VarType::Currency: {
      const std::optional<std::int64_t> value = CurrencyFromText(at.Text());
      if (!value) {
        at.Refuse(
            "must be the text of a Currency from -922337203685477.5808 to "
            "922337203685477.5807, as \"-12.3456\"");
      }
      return Variant::Currency(*value);
    }
    case VarType::Date:
      at.OnlyFields({"days", "iso"});
      NoteForPeople(at, {"iso"}, forPeople);
      return Variant::Date(RealFromJson<double>(at.Field("days"), "Double"));
    case VarType::String:
      return Variant::String(TextFromJson(at));
    case VarType::ByteArray:
      at.OnlyFields({"size", "base64"});
      NoteForPeople(at, {"size"}, forPeople);
      return Variant::Bytes(BytesFromJson(at.Field("base64")));
    case VarType::Error:
      break;
  }
  type.Refuse("is no type a stream stores");
}

}  // namespace tavorin::cli
