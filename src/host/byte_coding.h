// Paired primitives for the host's binary images: Put* appends to a ByteArray,
// ByteReader takes the same encodings off the front of untrusted bytes.
//
// Fixed-width numbers are little-endian and built with shifts, never by
// copying memory, so the bytes are the same on every machine. Varints carry
// seven bits per byte, low group first, the high bit meaning "more follows";
// they are at most ten bytes long and must be written in their shortest form.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include <tavorin/host/variant.h>

namespace tavorin::host::detail {

void PutFixed16(ByteArray& out, std::uint16_t value);
void PutFixed32(ByteArray& out, std::uint32_t value);
void PutFixed64(ByteArray& out, std::uint64_t value);
void PutVarint(ByteArray& out, std::uint64_t value);
/// A varint length followed by the bytes.
void PutLengthPrefixed(ByteArray& out, std::span<const std::uint8_t> bytes);
void PutLengthPrefixed(ByteArray& out, std::string_view text);

/// Zigzag mapping, so that small negative numbers make short varints.
constexpr std::uint64_t ZigZag(std::int64_t value) {
  return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}
constexpr std::int64_t UnZigZag(std::uint64_t value) {
  return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
}

/// Reads from a view of bytes it does not own. Every read that would pass the
/// end, and every varint that is too long or not in its shortest form, raises
/// 321 "Invalid file format".
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Remaining() const { return bytes_.size(); }
  bool AtEnd() const { return bytes_.empty(); }

  std::uint8_t Byte();
  std::uint16_t Fixed16();
  std::uint32_t Fixed32();
  std::uint64_t Fixed64();
  std::uint64_t Varint();
  /// The next `count` bytes.
  std::span<const std::uint8_t> Bytes(std::uint64_t count);
  /// A varint length and that many bytes.
  std::span<const std::uint8_t> LengthPrefixed();
  std::string_view LengthPrefixedText();

 private:
  std::uint64_t FixedLittleEndian(std::size_t width);

  std::span<const std::uint8_t> bytes_;
};

/// Raises 321 "Invalid file format".
[[noreturn]] void RaiseInvalidFormat();

}  // namespace tavorin::host::detail
