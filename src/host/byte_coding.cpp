#include "host/byte_coding.h"

#include <cstring>

#include <tavorin/host/error.h>

namespace tavorin::host::detail {
namespace {

// Ten groups of seven bits hold 64 bits; the tenth byte may carry only bit 63.
constexpr int kMaxVarintBytes = 10;
static_assert(ShortBytes::kCapacity == kMaxVarintBytes);

}  // namespace

void RaiseInvalidFormat() { RaiseHostError(errors::kInvalidFileFormat); }

void Append(ByteArray& out, std::initializer_list<std::span<const std::uint8_t>> parts) {
  std::size_t added = 0;
  for (const auto part : parts) added += part.size();
  const std::size_t start = out.size();
  out.resize(start + added);
  std::uint8_t* at = out.data() + start;
  for (const auto part : parts) {
    if (!part.empty()) std::memcpy(at, part.data(), part.size());
    at += part.size();
  }
}

void PutFixed16(ByteArray& out, std::uint16_t value) {
  Append(out, {ShortBytes::LittleEndian(value, 2).View()});
}
void PutFixed32(ByteArray& out, std::uint32_t value) {
  Append(out, {ShortBytes::LittleEndian(value, 4).View()});
}
void PutFixed64(ByteArray& out, std::uint64_t value) {
  Append(out, {ShortBytes::LittleEndian(value, 8).View()});
}
void PutVarint(ByteArray& out, std::uint64_t value) {
  Append(out, {ShortBytes::Varint(value).View()});
}

void PutLengthPrefixed(ByteArray& out, std::span<const std::uint8_t> bytes) {
  Append(out, {ShortBytes::Varint(bytes.size()).View(), bytes});
}

void PutLengthPrefixed(ByteArray& out, std::string_view text) {
  PutLengthPrefixed(out, TextBytes(text));
}

std::uint64_t ByteReader::FixedLittleEndian(std::size_t width) {
  const std::span<const std::uint8_t> bytes = Bytes(width);
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < width; ++i) value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
  return value;
}

std::uint16_t ByteReader::Fixed16() { return static_cast<std::uint16_t>(FixedLittleEndian(2)); }
std::uint32_t ByteReader::Fixed32() { return static_cast<std::uint32_t>(FixedLittleEndian(4)); }
std::uint64_t ByteReader::Fixed64() { return FixedLittleEndian(8); }

std::uint64_t ByteReader::LongVarint() {
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

}  // namespace tavorin::host::detail
