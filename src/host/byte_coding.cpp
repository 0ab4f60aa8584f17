#include "host/byte_coding.h"

#include <tavorin/host/error.h>

namespace tavorin::host::detail {
namespace {

// Ten groups of seven bits hold 64 bits; the tenth byte may carry only bit 63.
constexpr int kMaxVarintBytes = 10;

void PutLittleEndian(ByteArray& out, std::uint64_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

void RaiseInvalidFormat() { RaiseHostError(errors::kInvalidFileFormat); }

void PutFixed16(ByteArray& out, std::uint16_t value) { PutLittleEndian(out, value, 2); }
void PutFixed32(ByteArray& out, std::uint32_t value) { PutLittleEndian(out, value, 4); }
void PutFixed64(ByteArray& out, std::uint64_t value) { PutLittleEndian(out, value, 8); }

void PutVarint(ByteArray& out, std::uint64_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<std::uint8_t>(value | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<std::uint8_t>(value));
}

void PutLengthPrefixed(ByteArray& out, std::span<const std::uint8_t> bytes) {
  PutVarint(out, bytes.size());
  out.insert(out.end(), bytes.begin(), bytes.end());
}

void PutLengthPrefixed(ByteArray& out, std::string_view text) {
  PutVarint(out, text.size());
  out.insert(out.end(), text.begin(), text.end());
}

std::uint64_t ByteReader::FixedLittleEndian(std::size_t width) {
  const std::span<const std::uint8_t> bytes = Bytes(width);
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
  return value;
}

std::uint8_t ByteReader::Byte() { return Bytes(1)[0]; }
std::uint16_t ByteReader::Fixed16() { return static_cast<std::uint16_t>(FixedLittleEndian(2)); }
std::uint32_t ByteReader::Fixed32() { return static_cast<std::uint32_t>(FixedLittleEndian(4)); }
std::uint64_t ByteReader::Fixed64() { return FixedLittleEndian(8); }

std::uint64_t ByteReader::Varint() {
  std::uint64_t value = 0;
  for (int i = 0; i < kMaxVarintBytes && i < static_cast<int>(bytes_.size()); ++i) {
    const std::uint8_t byte = bytes_[i];
    const bool last = (byte & 0x80) == 0;
    // The tenth byte holds bit 63 only; a final zero group past the first
    // byte means the number had a shorter form.
    if (i == kMaxVarintBytes - 1 && byte > 1) break;
    if (last && byte == 0 && i > 0) break;
    value |= static_cast<std::uint64_t>(byte & 0x7F) << (7 * i);
    if (last) {
      bytes_ = bytes_.subspan(i + 1);
      return value;
    }
  }
  RaiseInvalidFormat();
}

std::span<const std::uint8_t> ByteReader::Bytes(std::uint64_t count) {
  if (count > bytes_.size()) RaiseInvalidFormat();
  const auto taken = bytes_.first(static_cast<std::size_t>(count));
  bytes_ = bytes_.subspan(static_cast<std::size_t>(count));
  return taken;
}

std::span<const std::uint8_t> ByteReader::LengthPrefixed() { return Bytes(Varint()); }

std::string_view ByteReader::LengthPrefixedText() {
  const auto bytes = LengthPrefixed();
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace tavorin::host::detail
