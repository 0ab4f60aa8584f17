// Paired primitives for the host's binary images: Put* appends to a ByteArray,
// ByteReader takes the same encodings off the front of untrusted bytes.
//
// Fixed-width numbers are little-endian and built with shifts, never by
// copying memory, so the bytes are the same on every machine. Varints carry
// seven bits per byte, low group first, the high bit meaning "more follows";
// they are at most ten bytes long and must be written in their shortest form.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include <tavorin/host/variant.h>

namespace tavorin::host::detail {

/// A varint or fixed-width number encoded aside, to be appended with other
/// parts at once.
class ShortBytes {
 public:
  static constexpr std::size_t kCapacity = 10;  // the longest varint

  static ShortBytes Varint(std::uint64_t value) {
    ShortBytes encoded;
    for (; value >= 0x80; value >>= 7) encoded.Add(static_cast<std::uint8_t>(value | 0x80));
    encoded.Add(static_cast<std::uint8_t>(value));
    return encoded;
  }
  static ShortBytes LittleEndian(std::uint64_t value, int width) {
    ShortBytes encoded;
    for (int i = 0; i < width; ++i) encoded.Add(static_cast<std::uint8_t>(value >> (8 * i)));
    return encoded;
  }

  std::span<const std::uint8_t> View() const { return std::span(bytes_).first(size_); }

 private:
  void Add(std::uint8_t byte) { bytes_[size_++] = byte; }

  std::uint8_t bytes_[kCapacity] = {};
  std::size_t size_ = 0;
};

/// The bytes of a text, as they are written.
inline std::span<const std::uint8_t> TextBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

/// Appends the parts one after another, growing `out` once.
void Append(ByteArray& out, std::initializer_list<std::span<const std::uint8_t>> parts);

void PutFixed16(ByteArray& out, std::uint16_t value);
void PutFixed32(ByteArray& out, std::uint32_t value);
void PutFixed64(ByteArray& out, std::uint64_t value);
void PutVarint(ByteArray& out, std::uint64_t value);
/// The number of bytes PutVarint writes for `value`.
constexpr std::size_t VarintSize(std::uint64_t value) {
  std::size_t size = 1;
  for (; value >= 0x80; value >>= 7) ++size;
  return size;
}
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

/// Raises 321 "Invalid file format".
[[noreturn]] void RaiseInvalidFormat();

/// Reads from a view of bytes it does not own. Every read that would pass the
/// end, and every varint that is too long or not in its shortest form, raises
/// 321 "Invalid file format".
class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::size_t Remaining() const { return bytes_.size(); }
  bool AtEnd() const { return bytes_.empty(); }

  std::uint8_t Byte() { return Bytes(1)[0]; }
  std::uint16_t Fixed16();
  std::uint32_t Fixed32();
  std::uint64_t Fixed64();
  std::uint64_t Varint() {
    // Lengths and small numbers fit one byte; only longer forms leave the header.
    if (!bytes_.empty() && bytes_[0] < 0x80) {
      const std::uint8_t value = bytes_[0];
      bytes_ = bytes_.subspan(1);
      return value;
    }
    return LongVarint();
  }
  /// The next `count` bytes.
  std::span<const std::uint8_t> Bytes(std::uint64_t count) {
    if (count > bytes_.size()) RaiseInvalidFormat();
    const auto taken = bytes_.first(static_cast<std::size_t>(count));
    bytes_ = bytes_.subspan(static_cast<std::size_t>(count));
    return taken;
  }
  /// A varint length and that many bytes.
  std::span<const std::uint8_t> LengthPrefixed() { return Bytes(Varint()); }
  std::string_view LengthPrefixedText() {
    const auto bytes = LengthPrefixed();
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
  }

 private:
  std::uint64_t FixedLittleEndian(std::size_t width);
  std::uint64_t LongVarint();

  std::span<const std::uint8_t> bytes_;
};

}  // namespace tavorin::host::detail
