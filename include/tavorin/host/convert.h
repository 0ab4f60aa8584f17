// The runtime's conversions between Variant types.
//
// Integer targets round half to even; a value outside the target's range
// raises 6 "Overflow"; text that is no number, or an object, raises 13
// "Type mismatch"; Null raises 94 "Invalid use of Null". As numbers, True is
// -1 and False 0; any non-zero number is True. Numeric text may carry spaces,
// a sign, a decimal point and an exponent (E or D), or be "&H" hexadecimal or
// "&O" octal of up to 32 bits ("&HFFFF" is -1, like the runtime's literals).
#pragma once

#include <cstdint>
#include <string>

#include <tavorin/host/variant.h>

namespace tavorin::host {

bool CBool(const Variant& value);
std::uint8_t CByte(const Variant& value);
std::int16_t CInt(const Variant& value);
std::int32_t CLng(const Variant& value);
float CSng(const Variant& value);
double CDbl(const Variant& value);
/// Currency as ten-thousandths.
CurrencyValue CCur(const Variant& value);
/// Reads the date texts CStr writes, "HH:MM:SS", and numbers as days.
DateValue CDate(const Variant& value);
DecimalValue CDec(const Variant& value);
/// Text form: "True"/"False", "" for Empty, the shortest text that reads back
/// as the same Single or Double ("8.25", "1E+20", "-1.5E-07"), Currency with
/// up to four decimals, a Date as "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS", and
/// a byte array's bytes as they are.
std::string CStr(const Variant& value);
/// The same for a value about to go: a text it holds is moved out, not copied.
std::string CStr(Variant&& value);

/// Converts `value` to a Variant of type `type` with the conversions above
/// (Empty, Null, Object and the byte array accept only their own type).
Variant ConvertTo(const Variant& value, VarType type);

}  // namespace tavorin::host
