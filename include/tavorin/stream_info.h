// Explaining streams: what a byte array holds, entry by entry, in words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <tavorin/host/variant.h>

namespace tavorin {

/// One stored entry of a stream.
struct StreamEntryInfo {
  /// The property bag key, e.g. "@SF#", "47", "SS", "I3".
  std::string key;
  /// What the key stands for: "stream flags", "control name", the catalogued
  /// property's name ("Text"), "selection start", "item 3 text", ...;
  /// "unknown key" for a key the stream's class does not use.
  std::string meaning;
  /// The stored value as the property bag gives it back.
  host::Variant value;
};

/// What DescribeStream found.
struct StreamInfo {
  /// Whether the bytes are a valid stream; when false, `reason` says why.
  bool isStream = false;
  /// "empty file", "not a property bag image: ...", "no stream flags",
  /// "stream flags are not a number", "wrong signature"; "" for a stream.
  std::string reason;
  /// The class the stream names: "TextBox", "Nothing", or "" for a type code
  /// that names no class (and for bytes that carry no flags).
  std::string className;
  /// The control name stored with the stream; "" when none was written.
  std::string controlName;
  /// Whether the stream was written against a custom defaults stream.
  bool requiresDefaults = false;
  /// The format version from the stream flags.
  int version = 0;
  /// Every stored entry in stored order. Filled whenever the bytes are a
  /// property bag image, so a damaged stream can still be looked into.
  std::vector<StreamEntryInfo> entries;
};

/// Explains `stream`. Never raises, whatever the bytes.
StreamInfo DescribeStream(const host::ByteArray& stream);

/// The ordinary properties a stream of `className` carries by name (exact,
/// case-sensitive class name), in the order a restore assigns them; empty for
/// a name that is no control class.
std::vector<std::string> CataloguedProperties(std::string_view className);

}  // namespace tavorin
