#include "base64.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tavorin::cli {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::uint8_t kNotInAlphabet = 0xFF;

constexpr std::array<std::uint8_t, 256> MakeSextets() {
  std::array<std::uint8_t, 256> sextets{};
  sextets.fill(kNotInAlphabet);
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    sextets[static_cast<std::uint8_t>(kAlphabet[i])] = static_cast<std::uint8_t>(i);
  }
  return sextets;
}

constexpr std::array<std::uint8_t, 256> kSextetOf = MakeSextets();

}  // namespace

std::string EncodeBase64(std::span<const std::uint8_t> bytes) {
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t at = 0; at < bytes.size(); at += 3) {
    const std::size_t taken = std::min<std::size_t>(3, bytes.size() - at);
    std::uint32_t group = 0;
    for (std::size_t i = 0; i < 3; ++i) group = group << 8 | (i < taken ? bytes[at + i] : 0u);
    for (std::size_t i = 0; i < 4; ++i) {
      text += i <= taken ? kAlphabet[group >> (18 - 6 * i) & 0x3F] : '=';
    }
  }
  return text;
}

std::optional<host::ByteArray> DecodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  host::ByteArray bytes;
  bytes.reserve(text.size() / 4 * 3);
  for (std::size_t at = 0; at < text.size(); at += 4) {
    const bool last = at + 4 == text.size();
    // Padding stands only at the end: "xx==" carries one byte, "xxx=" two.
    const std::size_t padding =
        last ? (text[at + 3] == '=') + (text[at + 2] == '=' && text[at + 3] == '=') : 0;
    std::uint32_t group = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      const std::uint8_t sextet =
          i >= 4 - padding ? 0 : kSextetOf[static_cast<std::uint8_t>(text[at + i])];
      if (sextet == kNotInAlphabet) return std::nullopt;
      group = group << 6 | sextet;
    }
    const std::size_t carried = 3 - padding;
    // Bits past the last byte must be zero, or two texts would give one array.
    if ((group & ((1u << (8 * padding)) - 1)) != 0) return std::nullopt;
    for (std::size_t i = 0; i < carried; ++i) {
      bytes.push_back(static_cast<std::uint8_t>(group >> (16 - 8 * i)));
    }
  }
  return bytes;
}

}  // namespace tavorin::cli
