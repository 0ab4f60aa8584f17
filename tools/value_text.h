// How the tool shows the values a stream holds: one line of text for the
// terminal, or a JSON value for machines.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include <tavorin/tavorin.h>

namespace tavorin::cli {

/// The value's type as a short word: "Long", "String", "Picture",
/// "StdDataFormat", "Byte()" for a byte array, "Object" for Nothing.
std::string TypeLabel(const host::Variant& value);

/// The type of a value that TypeLabel calls `label`, for the labels of
/// values that hold no live object ("Object" is Nothing); nullopt otherwise.
std::optional<host::VarType> TypeOfLabel(std::string_view label);

/// A picture's kind as a short word: "bitmap", "icon", "GIF", "JPEG", "PNG".
std::string_view PictureKindWord(host::Picture::Kind kind);

/// Whether `text` is well-formed UTF-8 (no overlong forms, surrogates or
/// values above U+10FFFF), as JSON text must be.
bool IsUtf8(std::string_view text);

/// The value as one line that is safe to print: strings quoted with control
/// characters and invalid UTF-8 escaped, pictures as kind, size and hash,
/// DataFormat as its Format and Type, byte arrays as length and hash, a Date
/// the runtime cannot print as its raw day count. Never raises.
std::string DisplayText(const host::Variant& value);

/// The value as JSON: numbers and Booleans as themselves, strings as strings,
/// Empty and Null as null, objects and byte arrays as small objects.
nlohmann::json JsonValue(const host::Variant& value);

/// Whether two values are the same: same type and value, persistable objects
/// (pictures, data formats) by equal state, controls by class and name.
bool SameValue(const host::Variant& a, const host::Variant& b);

/// `text` quoted, with quotes, backslashes, control characters, bidi
/// overrides and invalid UTF-8 escaped, so printing it cannot drive the
/// terminal.
std::string QuotedForTerminal(std::string_view text);

/// `text` with control characters (line breaks and tabs excepted), bidi
/// overrides and invalid UTF-8 escaped, unquoted: for messages that may hold
/// names and paths, such as the argument parser's.
std::string MessageForTerminal(std::string_view text);

/// `text` as it is when printing it is safe and it holds no quote or
/// backslash, else QuotedForTerminal: for names and paths.
std::string PlainForTerminal(std::string_view text);

}  // namespace tavorin::cli
