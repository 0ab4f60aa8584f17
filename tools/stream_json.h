// The text form of a stream or a form-state image: the JSON document that
// `tavorin export` writes and `tavorin import` turns back into the same bytes.
//
//   stream      {"format": "tavorin stream",
//                "envelope": {"className", "controlName", "requiresDefaults",
//                             "version"},
//                "entries": [entry...]}
//   form state  {"format": "tavorin form state",
//                "manifest": {"version", "formName", "scaleMode",
//                             "controls": [{"name", "index" (array members
//                                           only), "className", "container"}]},
//                "entries": [entry...]}
//   entry       {"key": text, "meaning", "type": a TypeLabel,
//                "value": as value_json.h has it}
//
// The entries, in stored order, are the stream: the bag image around them
// (its count and checksum) is worked out anew. In a form state, a byte array
// that is a stream is written {"size": n, "stream": a stream document}.
// The envelope, the manifest and each meaning are for people: import checks
// that they agree with what the entries give, field by field, and takes them
// only from the entries.
#pragma once

#include <string>
#include <string_view>

#include "json_cursor.h"

#include <tavorin/tavorin.h>

namespace tavorin::cli {

inline constexpr std::string_view kStreamFormat = "tavorin stream";
inline constexpr std::string_view kFormStateFormat = "tavorin form state";

/// The document of a stream or form-state image. Raises std::invalid_argument,
/// saying why, for bytes that are neither, or whose document would not give
/// back the same bytes.
Json ExportDocument(const host::ByteArray& bytes);

/// The bytes of a document. Raises JsonRefusal, naming the
/// path at fault, for a document that is not the text form of a stream or a
/// form state: a field missing or of the wrong kind, an unknown type, a value
/// that does not fit its type, a key given twice, entries that make no
/// stream, a field for people that does not agree.
host::ByteArray ImportDocument(const Json& document);

}  // namespace tavorin::cli
