#include "value_text.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace tavorin::cli {
namespace {

using host::Variant;
using host::VarType;

struct TypeWord {
  VarType type;
  std::string_view word;
};

constexpr std::array<TypeWord, 15> kTypeWords{{
    {VarType::Empty, "Empty"},
    {VarType::Null, "Null"},
    {VarType::Integer, "Integer"},
    {VarType::Long, "Long"},
    {VarType::Single, "Single"},
    {VarType::Double, "Double"},
    {VarType::Currency, "Currency"},
    {VarType::Date, "Date"},
    {VarType::String, "String"},
    {VarType::Object, "Object"},
    {VarType::Error, "Missing"},
    {VarType::Boolean, "Boolean"},
    {VarType::Decimal, "Decimal"},
    {VarType::Byte, "Byte"},
    {VarType::ByteArray, "Byte()"},
}};

struct KindWord {
  host::Picture::Kind kind;
  std::string_view word;
};

constexpr std::array<KindWord, 5> kPictureKinds{{
    {host::Picture::Kind::Bitmap, "bitmap"},
    {host::Picture::Kind::Icon, "icon"},
    {host::Picture::Kind::Gif, "GIF"},
    {host::Picture::Kind::Jpeg, "JPEG"},
    {host::Picture::Kind::Png, "PNG"},
}};

// FNV-1a, 64 bits, in hex: short enough to read, enough to tell images apart.
std::string ShortHash(const host::ByteArray& bytes) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const std::uint8_t byte : bytes) {
    hash ^= byte;
    hash *= 0x100000001b3ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::string HexEscape(std::uint32_t value, const char* format) {
  char text[12];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The code point that starts `text` at `at` and its length in bytes; nullopt
// for a byte that starts no well-formed sequence (overlong forms, surrogates
// and values above U+10FFFF included).
struct CodePoint {
  std::uint32_t value;
  std::size_t length;
};

std::optional<CodePoint> DecodeUtf8(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[at + i]); };
  const std::uint8_t lead = byte(0);
  if (lead < 0x80) return CodePoint{lead, 1};
  std::size_t length = 0;
  std::uint32_t value = 0;
  std::uint32_t smallest = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1Fu, smallest = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0Fu, smallest = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07u, smallest = 0x10000;
  } else {
    return std::nullopt;
  }
  if (at + length > text.size()) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (byte(i) & 0x3Fu);
  }
  if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return std::nullopt;
  }
  return CodePoint{value, length};
}

// Code points a terminal acts on or that reorder what follows: C1 controls
// and the bidirectional marks, embeddings, overrides and isolates.
bool IsInvisibleControl(std::uint32_t value) {
  return (value >= 0x80 && value <= 0x9F) || value == 0x061C || value == 0x200E ||
         value == 0x200F || (value >= 0x202A && value <= 0x202E) ||
         (value >= 0x2066 && value <= 0x2069);
}

// The runtime's text of a number; a Date it cannot print (NaN, or past its
// calendar) shows as its raw day count.
std::string NumberText(const Variant& value) {
  const auto* date = value.Get<host::DateValue>();
  if (date == nullptr) return host::CStr(value);
  try {
    return host::CStr(value);
  } catch (const host::RuntimeError&) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", date->days);
    return std::string("invalid date, day count ") + text;
  }
}

std::string PictureText(const host::Picture& picture) {
  return std::string(PictureKindWord(picture.GetKind())) + ", " +
         std::to_string(picture.Bytes().size()) + " bytes, " +
         std::to_string(picture.WidthPixels()) + "x" + std::to_string(picture.HeightPixels()) +
         " pixels, fnv1a64 " + ShortHash(picture.Bytes());
}

std::string ObjectText(const host::ObjectRef& object) {
  if (!object) return "Nothing";
  if (const auto* picture = dynamic_cast<const host::Picture*>(object.get())) {
    return PictureText(*picture);
  }
  if (const auto* format = dynamic_cast<const host::DataFormat*>(object.get())) {
    return "Format " + QuotedForTerminal(format->Format()) + ", Type " +
           std::to_string(format->Type());
  }
  if (const auto* control = dynamic_cast<const host::Control*>(object.get())) {
    return "control " + QuotedForTerminal(control->Name());
  }
  return object->TypeName();
}

nlohmann::json ObjectJson(const host::ObjectRef& object) {
  if (!object) return nullptr;
  if (const auto* picture = dynamic_cast<const host::Picture*>(object.get())) {
    return {{"kind", PictureKindWord(picture->GetKind())},
            {"bytes", picture->Bytes().size()},
            {"widthPixels", picture->WidthPixels()},
            {"heightPixels", picture->HeightPixels()},
            {"fnv1a64", ShortHash(picture->Bytes())}};
  }
  if (const auto* format = dynamic_cast<const host::DataFormat*>(object.get())) {
    return {{"format", format->Format()}, {"type", format->Type()}};
  }
  return {{"typeName", object->TypeName()}};
}

// A Single as the short text the runtime writes ("8.25", not 8.25000000…).
nlohmann::json RealJson(const Variant& value) {
  const std::string text = host::CStr(value);
  char* end = nullptr;
  const double parsed = std::strtod(text.c_str(), &end);
  if (end != nullptr && *end == '\0') return parsed;
  return host::CDbl(value);
}

}  // namespace

std::string_view PictureKindWord(host::Picture::Kind kind) {
  for (const KindWord& entry : kPictureKinds) {
    if (entry.kind == kind) return entry.word;
  }
  return "picture";
}

std::optional<VarType> TypeOfLabel(std::string_view label) {
  for (const TypeWord& entry : kTypeWords) {
    if (entry.word == label) return entry.type;
  }
  return std::nullopt;
}

bool IsUtf8(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::optional<CodePoint> point = DecodeUtf8(text, at);
    if (!point) return false;
    at += point->length;
  }
  return true;
}

std::string TypeLabel(const Variant& value) {
  if (value.IsObject() && !value.IsNothing()) {
    const host::ObjectRef object = value.AsObject();
    return dynamic_cast<const host::Control*>(object.get()) ? "Control" : object->TypeName();
  }
  for (const TypeWord& entry : kTypeWords) {
    if (entry.type == value.Type()) return std::string(entry.word);
  }
  return "type " + std::to_string(static_cast<int>(value.Type()));
}

namespace {

// `text` with everything that could drive the terminal escaped; `quoting`
// escapes quotes, backslashes and line breaks too, so that the text stands
// on one line between quotes.
std::string Escaped(std::string_view text, bool quoting) {
  std::string escaped;
  for (std::size_t at = 0; at < text.size();) {
    const std::optional<CodePoint> point = DecodeUtf8(text, at);
    if (!point) {
      escaped += HexEscape(static_cast<std::uint8_t>(text[at]), "\\x%02x");
      ++at;
      continue;
    }
    const std::uint32_t value = point->value;
    if (!quoting && (value == '\n' || value == '\t')) {
      escaped += static_cast<char>(value);
    } else if (value == '"' || value == '\\') {
      if (quoting) escaped += '\\';
      escaped += static_cast<char>(value);
    } else if (value == '\n') {
      escaped += "\\n";
    } else if (value == '\t') {
      escaped += "\\t";
    } else if (value == '\r') {
      escaped += "\\r";
    } else if (value < 0x20 || value == 0x7F) {
      escaped += HexEscape(value, "\\x%02x");
    } else if (IsInvisibleControl(value)) {
      escaped += HexEscape(value, "\\u%04x");
    } else {
      escaped.append(text.substr(at, point->length));
    }
    at += point->length;
  }
  return escaped;
}

}  // namespace

std::string QuotedForTerminal(std::string_view text) { return "\"" + Escaped(text, true) + "\""; }

std::string MessageForTerminal(std::string_view text) { return Escaped(text, false); }

std::string PlainForTerminal(std::string_view text) {
  std::string quoted = QuotedForTerminal(text);
  if (quoted.size() == text.size() + 2) return std::string(text);
  return quoted;
}

std::string DisplayText(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return "Empty";
    case VarType::Null:
      return "Null";
    case VarType::Error:
      return "Missing";
    case VarType::String:
      return QuotedForTerminal(host::CStr(value));
    case VarType::Object:
      return ObjectText(value.AsObject());
    case VarType::ByteArray:
      return std::to_string(value.AsBytes().size()) + " bytes, fnv1a64 " +
             ShortHash(value.AsBytes());
    default:
      return NumberText(value);
  }
}

nlohmann::json JsonValue(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
    case VarType::Null:
    case VarType::Error:
      return nullptr;
    case VarType::Boolean:
      return host::CBool(value);
    case VarType::Integer:
    case VarType::Long:
    case VarType::Byte:
      return host::CLng(value);
    case VarType::Single:
    case VarType::Double:
      return RealJson(value);
    case VarType::Object:
      return ObjectJson(value.AsObject());
    case VarType::ByteArray:
      return {{"length", value.AsBytes().size()}, {"fnv1a64", ShortHash(value.AsBytes())}};
    case VarType::String:
      return host::CStr(value);
    default:  // Currency, Date and Decimal in the runtime's text form
      return NumberText(value);
  }
}

bool SameValue(const Variant& a, const Variant& b) {
  if (!a.IsObject() || !b.IsObject()) return a == b;
  const host::ObjectRef x = a.AsObject();
  const host::ObjectRef y = b.AsObject();
  if (!x || !y) return !x && !y;
  if (x->TypeName() != y->TypeName()) return false;
  const auto* stateX = dynamic_cast<const host::PersistableObject*>(x.get());
  const auto* stateY = dynamic_cast<const host::PersistableObject*>(y.get());
  if (stateX && stateY) return stateX->SaveState() == stateY->SaveState();
  const auto* controlX = dynamic_cast<const host::Control*>(x.get());
  const auto* controlY = dynamic_cast<const host::Control*>(y.get());
  if (controlX && controlY) {
    return controlX->Name() == controlY->Name() &&
           controlX->IsArrayMember() == controlY->IsArrayMember() &&
           (!controlX->IsArrayMember() || controlX->Index() == controlY->Index());
  }
  return x == y;
}

}  // namespace tavorin::cli
