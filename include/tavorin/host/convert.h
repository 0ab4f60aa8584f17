// The runtime's conversions between Variant types.
//
// Integer targets round half to even; a value outside the target's range
// raises 6 "Overflow"; text that is no number, or an object, raises 13
// "Type mismatch"; Null raises 94 "Invalid use of Null". As numbers, True is
// -1 and False 0; any non-zero number is True.
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
DateValue CDate(const Variant& value);
DecimalValue CDec(const Variant& value);
/// Text form: "True"/"False", "" for Empty, the shortest text that reads back
/// as the same Single for a Single.
std::string CStr(const Variant& value);

/// Converts `value` to a Variant of type `type` with the conversions above
/// (Empty, Null, Object and the byte array accept only their own type).
Variant ConvertTo(const Variant& value, VarType type);

}  // namespace tavorin::host
