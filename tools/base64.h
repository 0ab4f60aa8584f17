// Base64 (RFC 4648, with padding): how the text form of a stream carries
// bytes that are no text.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <tavorin/tavorin.h>

namespace tavorin::cli {

std::string EncodeBase64(std::span<const std::uint8_t> bytes);

/// The bytes of canonical base64: the standard alphabet, padded to a multiple
/// of four characters, no spaces, and unused bits zero, so that every byte
/// string has exactly one text. nullopt for any other text.
std::optional<host::ByteArray> DecodeBase64(std::string_view text);

}  // namespace tavorin::cli
