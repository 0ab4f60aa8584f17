// The runtime's conversions.
//
// Every source value is first seen as a number in one of three shapes:
//   - an exact count of ten-thousandths (Booleans, Byte, Integer, Long,
//     Currency and hexadecimal or octal text), so that Currency and the
//     integer types never pass through binary floating point;
//   - a binary floating value (Single, Double, Date, Decimal);
//   - decimal text, kept as its digits and a power of ten, so that integer and
//     Currency targets round the written value exactly and Single reads the
//     text directly instead of rounding twice through Double.
// Each target then takes the number from whichever shape it arrives in.
//
// Text forms written here (and read back):
//   numbers   shortest digits that read back as the same value; plain notation
//             for decimal exponents -5 up to 14 (Double) or 6 (Single),
//             otherwise "1.5E+20" / "-1.5E-07";
//   Currency  plain, up to four decimals, no trailing zeros;
//   Date      "YYYY-MM-DD" for a whole day, "YYYY-MM-DD HH:MM:SS" otherwise
//             (seconds rounded to the nearest whole second).
#include <tavorin/host/convert.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <variant>

#include <tavorin/host/error.h>

#include "host/ascii_case.h"

namespace tavorin::host {
namespace {

// Currency counts ten-thousandths: four decimals.
constexpr std::int64_t kCurrencyScale = 10'000;
constexpr int kCurrencyDecimals = 4;

// Days since 1899-12-30 of the first and the day after the last date the
// runtime knows (0100-01-01 and 9999-12-31).
constexpr double kFirstDateDay = -657'434;
constexpr double kDayAfterLastDate = 2'958'466;
// Days between 1899-12-30 and 1970-01-01, the epoch of std::chrono::sys_days.
constexpr int kDaysBeforeUnixEpoch = 25'569;
constexpr int kSecondsPerDay = 86'400;

// Decimal's largest magnitude, 2^96 - 1.
constexpr double kDecimalLimit = 79'228'162'514'264'337'593'543'950'335.0;

// Decimal exponents written in plain notation; the others take E notation.
// Decimal values are always plain.
struct PlainExponents {
  int min;
  int limit;
};
constexpr PlainExponents kDoublePlain{-5, 15};
constexpr PlainExponents kSinglePlain{-5, 7};
constexpr PlainExponents kDecimalPlain{std::numeric_limits<int>::min(),
                                       std::numeric_limits<int>::max()};

// Exponents beyond this make any number overflow or vanish; capping them
// keeps the arithmetic on them from overflowing.
constexpr std::int64_t kExponentCap = 1'000'000'000;

[[noreturn]] void RaiseOverflow() { RaiseHostError(errors::kOverflow); }
[[noreturn]] void RaiseTypeMismatch() { RaiseHostError(errors::kTypeMismatch); }

// Decimal text: `digits` (no leading zeros, empty for zero) times
// 10^exponent.
struct DecimalText {
  bool negative = false;
  std::string digits;
  std::int64_t exponent = 0;
};

struct TenThousandths {
  std::int64_t count = 0;
};

using Number = std::variant<TenThousandths, double, DecimalText>;

// ---------------------------------------------------------------------------
// Reading text.

std::string_view Trim(std::string_view text) {
  constexpr std::string_view kBlanks = " \t";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "&H1F" / "&O17": a bit pattern of up to 32 bits, read like the runtime's
// literals: as an Integer when it fits 16 bits (so "&HFFFF" is -1), as a Long
// otherwise (so "&HFFFFFFFF" is -1).
std::optional<Number> ParseRadixText(std::string_view text) {
  if (text.size() < 3 || text[0] != '&') return std::nullopt;
  const char marker = text[1];
  const int radix = (marker == 'H' || marker == 'h')   ? 16
                    : (marker == 'O' || marker == 'o') ? 8
                                                       : 0;
  if (radix == 0) return std::nullopt;
  const std::string_view digits = text.substr(2);
  std::uint64_t bits = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), bits, radix);
  if (end != digits.data() + digits.size()) return std::nullopt;
  if (error == std::errc::result_out_of_range || bits > 0xFFFF'FFFFu) RaiseOverflow();
  if (error != std::errc{}) return std::nullopt;
  const std::int64_t value = bits <= 0xFFFF ? std::int64_t{static_cast<std::int16_t>(bits)}
                                            : std::int64_t{static_cast<std::int32_t>(bits)};
  return TenThousandths{value * kCurrencyScale};
}

// Reads a run of digits starting at `pos`, appending them to `digits`.
std::size_t TakeDigits(std::string_view text, std::size_t pos, std::string& digits) {
  const std::size_t start = pos;
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  digits.append(text.substr(start, pos - start));
  return pos;
}

// [sign] digits [. digits] [(E|D) [sign] digits], at least one mantissa digit.
std::optional<Number> ParseDecimalText(std::string_view text) {
  DecimalText number;
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    number.negative = text[pos] == '-';
    ++pos;
  }
  pos = TakeDigits(text, pos, number.digits);
  if (pos < text.size() && text[pos] == '.') {
    const std::size_t fractionStart = pos + 1;
    pos = TakeDigits(text, fractionStart, number.digits);
    number.exponent = -static_cast<std::int64_t>(pos - fractionStart);
  }
  if (number.digits.empty()) return std::nullopt;
  if (pos < text.size() &&
      (text[pos] == 'E' || text[pos] == 'e' || text[pos] == 'D' || text[pos] == 'd')) {
    ++pos;
    bool negativeExponent = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
      negativeExponent = text[pos] == '-';
      ++pos;
    }
    if (pos == text.size() || !IsDigit(text[pos])) return std::nullopt;
    std::int64_t written = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
      written = std::min(written * 10 + (text[pos] - '0'), kExponentCap);
    }
    number.exponent += negativeExponent ? -written : written;
  }
  if (pos != text.size()) return std::nullopt;
  number.digits.erase(0, number.digits.find_first_not_of('0'));
  return number;
}

std::optional<Number> ParseNumberText(std::string_view text) {
  text = Trim(text);
  if (auto radix = ParseRadixText(text)) return radix;
  return ParseDecimalText(text);
}

// ---------------------------------------------------------------------------
// The number a value holds.

Number ToNumber(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return TenThousandths{0};
    case VarType::Null:
      RaiseHostError(errors::kInvalidUseOfNull);
    case VarType::Boolean:
      return TenThousandths{*value.Get<bool>() ? -kCurrencyScale : 0};
    case VarType::Byte:
      return TenThousandths{value.Get<Variant::ByteTag>()->value * kCurrencyScale};
    case VarType::Integer:
      return TenThousandths{*value.Get<std::int16_t>() * kCurrencyScale};
    case VarType::Long:
      return TenThousandths{*value.Get<std::int32_t>() * kCurrencyScale};
    case VarType::Currency:
      return TenThousandths{value.Get<CurrencyValue>()->ten_thousandths};
    case VarType::Single:
      return double{*value.Get<float>()};
    case VarType::Double:
      return *value.Get<double>();
    case VarType::Date:
      return value.Get<DateValue>()->days;
    case VarType::Decimal:
      return value.Get<DecimalValue>()->value;
    case VarType::String:
      if (auto number = ParseNumberText(*value.Get<std::string>())) return *std::move(number);
      RaiseTypeMismatch();
    case VarType::Object:
    case VarType::Error:
    case VarType::ByteArray:
      break;
  }
  RaiseTypeMismatch();
}

// ---------------------------------------------------------------------------
// Rounding half to even into a 64-bit count of units of 10^-scale.

std::optional<std::int64_t> RoundFloating(double value, int scale) {
  const double scaled = scale == 0 ? value : value * std::pow(10.0, scale);
  const double below = std::floor(scaled);
  const double fraction = scaled - below;
  const bool up = fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0);
  const double rounded = up ? below + 1 : below;
  // 2^63 is exact in a double; every finite double below it converts safely.
  constexpr double kLimit = 9'223'372'036'854'775'808.0;
  if (!(rounded >= -kLimit && rounded < kLimit)) return std::nullopt;
  return static_cast<std::int64_t>(rounded);
}

std::optional<std::int64_t> RoundDecimalText(const DecimalText& text, int scale) {
  if (text.digits.empty()) return 0;
  const auto length = static_cast<std::int64_t>(text.digits.size());
  const std::int64_t wholeLength = length + text.exponent + scale;
  // Without leading zeros, twenty whole digits are already beyond 64 bits.
  if (wholeLength > 19) return std::nullopt;
  const auto digitAt = [&](std::int64_t i) {
    return i < length ? text.digits[static_cast<std::size_t>(i)] - '0' : 0;
  };
  std::uint64_t magnitude = 0;
  for (std::int64_t i = 0; i < wholeLength; ++i) magnitude = magnitude * 10 + digitAt(i);
  if (wholeLength >= 0 && wholeLength < length) {
    const int first = digitAt(wholeLength);
    const bool tail = text.digits.find_first_not_of(
                          '0', static_cast<std::size_t>(wholeLength + 1)) != std::string::npos;
    if (first > 5 || (first == 5 && (tail || magnitude % 2 == 1))) ++magnitude;
  }
  constexpr auto kMaxPositive =
      static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  if (magnitude > kMaxPositive + (text.negative ? 1 : 0)) return std::nullopt;
  if (text.negative) return magnitude == 0 ? 0 : -static_cast<std::int64_t>(magnitude - 1) - 1;
  return static_cast<std::int64_t>(magnitude);
}

std::int64_t RoundTenThousandths(std::int64_t count) {
  std::int64_t whole = count / kCurrencyScale;
  const std::int64_t rest = count % kCurrencyScale;
  const std::int64_t half = kCurrencyScale / 2;
  if (std::abs(rest) > half || (std::abs(rest) == half && whole % 2 != 0))
    whole += count < 0 ? -1 : 1;
  return whole;
}

// The number to the nearest whole unit of 10^-scale (scale 0 or
// kCurrencyDecimals).
std::int64_t RoundNumber(const Number& number, int scale) {
  std::optional<std::int64_t> rounded;
  if (const auto* exact = std::get_if<TenThousandths>(&number)) {
    rounded = scale == kCurrencyDecimals ? exact->count : RoundTenThousandths(exact->count);
  } else if (const auto* floating = std::get_if<double>(&number)) {
    rounded = RoundFloating(*floating, scale);
  } else {
    rounded = RoundDecimalText(std::get<DecimalText>(number), scale);
  }
  if (!rounded) RaiseOverflow();
  return *rounded;
}

template <typename Int>
Int ToInteger(const Variant& value) {
  // Whole numbers need no rounding, only the range check.
  std::int64_t rounded = 0;
  if (const auto* integer = value.Get<std::int16_t>()) {
    rounded = *integer;
  } else if (const auto* whole = value.Get<std::int32_t>()) {
    rounded = *whole;
  } else {
    rounded = RoundNumber(ToNumber(value), 0);
  }
  if (!std::in_range<Int>(rounded)) RaiseOverflow();
  return static_cast<Int>(rounded);
}

// ---------------------------------------------------------------------------
// Floating targets.

template <typename Float>
Float ReadDecimalText(const DecimalText& text) {
  if (text.digits.empty()) return text.negative ? -Float{0} : Float{0};
  std::string written = text.negative ? "-" : "";
  written += text.digits;
  written += 'e';
  written += std::to_string(text.exponent);
  Float result{};
  const auto [end, error] =
      std::from_chars(written.data(), written.data() + written.size(), result);
  if (error == std::errc::result_out_of_range) {
    // Too large overflows; too small vanishes to zero.
    if (static_cast<std::int64_t>(text.digits.size()) + text.exponent > 0) RaiseOverflow();
    return text.negative ? -Float{0} : Float{0};
  }
  return result;
}

double ToDouble(const Number& number) {
  if (const auto* exact = std::get_if<TenThousandths>(&number)) {
    return static_cast<double>(exact->count) / kCurrencyScale;
  }
  if (const auto* floating = std::get_if<double>(&number)) return *floating;
  return ReadDecimalText<double>(std::get<DecimalText>(number));
}

float NarrowToSingle(double value) {
  // Halfway between the largest Single and the next power of two: anything
  // from here on would round to infinity.
  constexpr double kSingleOverflow = 0x1.ffffffp127;
  if (std::isfinite(value) && std::abs(value) >= kSingleOverflow) RaiseOverflow();
  return static_cast<float>(value);
}

double CheckedDateDays(double days) {
  if (!(days > kFirstDateDay - 1 && days < kDayAfterLastDate)) RaiseOverflow();
  return days;
}

// ---------------------------------------------------------------------------
// Dates.

struct DateParts {
  std::chrono::year_month_day date;
  int seconds = 0;  // of the day, 0 to 86399
};

DateParts SplitDate(double days) {
  CheckedDateDays(days);
  auto whole = static_cast<std::int64_t>(std::trunc(days));
  // The fraction is the time of day on either side of the epoch: -1.25 is
  // 1899-12-29 at 06:00.
  auto seconds = static_cast<int>(std::round(std::abs(days - whole) * kSecondsPerDay));
  if (seconds == kSecondsPerDay) {
    // Rounded up to midnight: the next calendar day, unless that is past the
    // last date the runtime knows.
    if (whole + 1 < kDayAfterLastDate) {
      ++whole;
      seconds = 0;
    } else {
      --seconds;
    }
  }
  const std::chrono::sys_days day{std::chrono::days{whole - kDaysBeforeUnixEpoch}};
  return {std::chrono::year_month_day{day}, seconds};
}

std::string FormatDate(double days) {
  const DateParts parts = SplitDate(days);
  std::array<char, 32> buffer{};
  const int year = static_cast<int>(parts.date.year());
  const auto month = static_cast<unsigned>(parts.date.month());
  const auto day = static_cast<unsigned>(parts.date.day());
  int length = 0;
  if (parts.seconds == 0) {
    length = std::snprintf(buffer.data(), buffer.size(), "%04d-%02u-%02u", year, month, day);
  } else {
    length =
        std::snprintf(buffer.data(), buffer.size(), "%04d-%02u-%02u %02d:%02d:%02d", year, month,
                      day, parts.seconds / 3600, parts.seconds / 60 % 60, parts.seconds % 60);
  }
  return std::string(buffer.data(), static_cast<std::size_t>(length));
}

// Reads `count` digits (exactly `count`, or 1 to `count` when `exact` is false)
// at `pos`; the position moves past them.
std::optional<int> TakeField(std::string_view text, std::size_t& pos, std::size_t count,
                             bool exact) {
  std::size_t end = pos;
  while (end < text.size() && end - pos < count && IsDigit(text[end])) ++end;
  if (end == pos || (exact && end - pos != count)) return std::nullopt;
  int value = 0;
  std::from_chars(text.data() + pos, text.data() + end, value);
  pos = end;
  return value;
}

bool TakeChar(std::string_view text, std::size_t& pos, char expected) {
  if (pos >= text.size() || text[pos] != expected) return false;
  ++pos;
  return true;
}

// "YYYY-MM-DD", "YYYY-MM-DD HH:MM:SS" or "HH:MM:SS" (month, day and hour may
// have one digit).
std::optional<double> ParseDateText(std::string_view text) {
  text = Trim(text);
  std::size_t pos = 0;
  std::int64_t whole = 0;
  const bool hasDate = text.size() > 4 && text[4] == '-';
  if (hasDate) {
    const auto year = TakeField(text, pos, 4, true);
    if (!year || !TakeChar(text, pos, '-')) return std::nullopt;
    const auto month = TakeField(text, pos, 2, false);
    if (!month || !TakeChar(text, pos, '-')) return std::nullopt;
    const auto day = TakeField(text, pos, 2, false);
    if (!day) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{*year}, std::chrono::month(*month),
                                           std::chrono::day(*day)};
    if (!date.ok() || *year < 100) return std::nullopt;
    whole = std::chrono::sys_days{date}.time_since_epoch().count() + kDaysBeforeUnixEpoch;
    if (pos == text.size()) return static_cast<double>(whole);
    if (!TakeChar(text, pos, ' ')) return std::nullopt;
  }
  const auto hours = TakeField(text, pos, 2, false);
  if (!hours || !TakeChar(text, pos, ':')) return std::nullopt;
  const auto minutes = TakeField(text, pos, 2, true);
  if (!minutes || !TakeChar(text, pos, ':')) return std::nullopt;
  const auto seconds = TakeField(text, pos, 2, true);
  if (!seconds || pos != text.size() || *hours > 23 || *minutes > 59 || *seconds > 59)
    return std::nullopt;
  const double time = (*hours * 3600 + *minutes * 60 + *seconds) / double{kSecondsPerDay};
  return whole < 0 ? whole - time : whole + time;
}

// ---------------------------------------------------------------------------
// Writing numbers.

std::string FormatCurrency(std::int64_t count) {
  // The magnitude in unsigned arithmetic, so that the most negative value
  // has one too.
  const std::uint64_t magnitude =
      count < 0 ? 0 - static_cast<std::uint64_t>(count) : static_cast<std::uint64_t>(count);
  std::string text = count < 0 ? "-" : "";
  text += std::to_string(magnitude / kCurrencyScale);
  if (const auto fraction = magnitude % kCurrencyScale; fraction != 0) {
    std::string digits = std::to_string(fraction + kCurrencyScale).substr(1);
    digits.erase(digits.find_last_not_of('0') + 1);
    text += '.' + digits;
  }
  return text;
}

// Shortest round-trip digits of `value` laid out as the runtime writes them.
template <typename Float>
std::string FormatFloating(Float value, PlainExponents plain) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
  if (value == 0) return "0";
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::scientific);
  const std::string_view scientific(buffer.data(),
                                    static_cast<std::size_t>(result.ptr - buffer.data()));
  // "-d.ddde+XX": split into sign, digits and exponent.
  const bool negative = scientific.front() == '-';
  const auto mark = scientific.find('e');
  std::string digits(scientific.substr(negative ? 1 : 0, mark - (negative ? 1 : 0)));
  std::erase(digits, '.');
  int exponent = 0;
  const std::string_view exponentText = scientific.substr(mark + 1);
  std::from_chars(exponentText.data() + (exponentText.front() == '+' ? 1 : 0),
                  exponentText.data() + exponentText.size(), exponent);

  std::string text = negative ? "-" : "";
  if (exponent >= plain.min && exponent < plain.limit) {
    const auto wholeLength = exponent + 1;
    if (wholeLength <= 0) {
      text += "0." + std::string(static_cast<std::size_t>(-wholeLength), '0') + digits;
    } else if (digits.size() <= static_cast<std::size_t>(wholeLength)) {
      text += digits + std::string(wholeLength - digits.size(), '0');
    } else {
      text += digits.substr(0, wholeLength) + '.' + digits.substr(wholeLength);
    }
    return text;
  }
  text += digits.front();
  if (digits.size() > 1) text += '.' + digits.substr(1);
  std::array<char, 16> exponentBuffer{};
  const int length = std::snprintf(exponentBuffer.data(), exponentBuffer.size(), "E%c%02d",
                                   exponent < 0 ? '-' : '+', std::abs(exponent));
  text.append(exponentBuffer.data(), static_cast<std::size_t>(length));
  return text;
}

}  // namespace

bool CBool(const Variant& value) {
  if (const auto* flag = value.Get<bool>()) return *flag;
  if (const auto* text = value.Get<std::string>()) {
    const std::string_view trimmed = Trim(*text);
    if (detail::EqualsIgnoringCase(trimmed, "True")) return true;
    if (detail::EqualsIgnoringCase(trimmed, "False")) return false;
  }
  const Number number = ToNumber(value);
  if (const auto* exact = std::get_if<TenThousandths>(&number)) return exact->count != 0;
  if (const auto* floating = std::get_if<double>(&number)) return *floating != 0;
  return !std::get<DecimalText>(number).digits.empty();
}

std::uint8_t CByte(const Variant& value) { return ToInteger<std::uint8_t>(value); }

std::int16_t CInt(const Variant& value) { return ToInteger<std::int16_t>(value); }

std::int32_t CLng(const Variant& value) { return ToInteger<std::int32_t>(value); }

float CSng(const Variant& value) {
  const Number number = ToNumber(value);
  if (const auto* text = std::get_if<DecimalText>(&number)) return ReadDecimalText<float>(*text);
  return NarrowToSingle(ToDouble(number));
}

double CDbl(const Variant& value) {
  // Whole numbers and floats become a double exactly; the rest take the
  // general path (currency's scale, dates, text).
  if (const auto* integer = value.Get<std::int16_t>()) return *integer;
  if (const auto* whole = value.Get<std::int32_t>()) return *whole;
  if (const auto* single = value.Get<float>()) return *single;
  if (const auto* floating = value.Get<double>()) return *floating;
  return ToDouble(ToNumber(value));
}

CurrencyValue CCur(const Variant& value) {
  return CurrencyValue{RoundNumber(ToNumber(value), kCurrencyDecimals)};
}

DateValue CDate(const Variant& value) {
  if (const auto* text = value.Get<std::string>()) {
    if (const auto days = ParseDateText(*text)) return DateValue{*days};
  }
  return DateValue{CheckedDateDays(CDbl(value))};
}

DecimalValue CDec(const Variant& value) {
  const double number = CDbl(value);
  if (!(std::abs(number) <= kDecimalLimit)) RaiseOverflow();
  return DecimalValue{number};
}

std::string CStr(Variant&& value) {
  if (std::string* text = value.Get<std::string>()) return std::move(*text);
  return CStr(std::as_const(value));
}

std::string CStr(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return "";
    case VarType::Boolean:
      return *value.Get<bool>() ? "True" : "False";
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
      return std::to_string(CLng(value));
    case VarType::Currency:
      return FormatCurrency(value.Get<CurrencyValue>()->ten_thousandths);
    case VarType::Single:
      return FormatFloating(*value.Get<float>(), kSinglePlain);
    case VarType::Double:
      return FormatFloating(*value.Get<double>(), kDoublePlain);
    case VarType::Decimal:
      return FormatFloating(value.Get<DecimalValue>()->value, kDecimalPlain);
    case VarType::Date:
      return FormatDate(value.Get<DateValue>()->days);
    case VarType::String:
      return *value.Get<std::string>();
    case VarType::ByteArray: {
      // The runtime hands a byte array over to text as the bytes themselves.
      const ByteArray& bytes = value.AsBytes();
      return std::string(bytes.begin(), bytes.end());
    }
    case VarType::Null:
      RaiseHostError(errors::kInvalidUseOfNull);
    case VarType::Object:
    case VarType::Error:
      break;
  }
  RaiseTypeMismatch();
}

Variant ConvertTo(const Variant& value, VarType type) {
  switch (type) {
    case VarType::Boolean:
      return Variant::Boolean(CBool(value));
    case VarType::Byte:
      return Variant::Byte(CByte(value));
    case VarType::Integer:
      return Variant::Integer(CInt(value));
    case VarType::Long:
      return Variant::Long(CLng(value));
    case VarType::Single:
      return Variant::Single(CSng(value));
    case VarType::Double:
      return Variant::Double(CDbl(value));
    case VarType::Currency:
      return Variant(CCur(value));
    case VarType::Date:
      return Variant(CDate(value));
    case VarType::Decimal:
      return Variant(CDec(value));
    case VarType::String:
      return Variant::String(CStr(value));
    case VarType::Empty:
    case VarType::Null:
    case VarType::Object:
    case VarType::ByteArray:
      if (value.Type() == type) return value;
      break;
    case VarType::Error:
      break;
  }
  RaiseTypeMismatch();
}

}  // namespace tavorin::host
