// The exact JSON form of the values a stream stores: what export writes and
// import reads back to the same bytes. Each value is stored under its
// TypeLabel ("Long", "Byte()", "Picture", ...):
//
//   Empty, Null, Object (Nothing)   null
//   Boolean                         true or false
//   Byte, Integer, Long             a whole number
//   Single, Double, Decimal         text: the shortest digits that read back to
//                                   the same bits ("8.25", "-0", "inf", "1e+20"),
//                                   a NaN as its bits, "nan(0x7fc00000)"
//   Currency                        text: the exact decimal, "-12.3456"
//   Date                            {"days": text as a Double, "iso":
//                                   "1999-12-31T23:59:59"}; no "iso" for a
//                                   date past the calendar
//   String                          text
//   Byte()                          {"size": n, "base64": "..."}
//   Picture                         {"kind", "size", "widthPixels",
//                                   "heightPixels", "base64": the image file}
//   StdDataFormat                   {"format": text, "type": a whole number}
//
// Text (strings, keys, names) is a JSON string when it is UTF-8, else
// {"base64": "..."} of its bytes. Fields marked "for people" (a Date's iso, the
// sizes, a picture's kind and pixels) are worked out from the exact ones:
// import checks that they agree rather than reading them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <tavorin/tavorin.h>

#include "json_cursor.h"

namespace tavorin::cli {

Json TextJson(std::string_view text);
std::string TextFromJson(const JsonAt& at);

/// The exact JSON form of a stored value (any type but Missing; objects only
/// Nothing, pictures and data formats).
Json ValueJson(const host::Variant& value);

/// The value that `value` holds for the TypeLabel at `type`. Refuses an
/// unknown type and a value that does not fit it; the fields for people it
/// meets are added to `forPeople`, for the caller to check against the result.
host::Variant ValueFromJson(const JsonAt& type, const JsonAt& value,
                            std::vector<JsonAt>& forPeople);

}  // namespace tavorin::cli
