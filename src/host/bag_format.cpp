// The property bag's image, byte by byte:
//
//   image     := signature version count entry* checksum
//   signature := 'T' 'V' 'P' 'B'
//   version   := 0x01
//   count     := varint                        the number of entries
//   entry     := tag name payload              in write order, names unique
//   name      := varint length, the name's bytes
//   checksum  := fixed32, CRC-32C of every byte before it
//
// The payload depends on the tag. Tags reach the disk: never change or reuse
// a value, only add new ones.
//
//   0x00 Empty        nothing
//   0x01 Null         nothing
//   0x02 Integer      fixed16, two's complement
//   0x03 Long         varint of the zigzag-mapped value (fits 32 bits)
//   0x04 Single       fixed32, IEEE 754 bits
//   0x05 Double       fixed64, IEEE 754 bits
//   0x06 Currency     fixed64, ten-thousandths, two's complement
//   0x07 Date         fixed64, IEEE 754 bits of the days
//   0x08 String       varint length, the UTF-8 bytes
//   0x09 Nothing      nothing
//   0x0A Object       varint length, type name; varint length, state bytes
//   0x0B False        nothing
//   0x0C True         nothing
//   0x0E Decimal      fixed64, IEEE 754 bits
//   0x11 Byte         one byte
//   0x12 Byte array   varint length, the bytes
//
// Varints and fixed-width numbers are those of byte_coding.h. Every varint
// is in its shortest form and every value has one encoding, so an image that
// decodes encodes back to the same bytes.
#include "host/bag_format.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string_view>

#include <tavorin/host/error.h>

#include "host/byte_coding.h"
#include "host/crc32c.h"

namespace tavorin::host::detail {
namespace {

constexpr std::uint8_t kSignature[] = {'T', 'V', 'P', 'B'};
constexpr std::uint8_t kFormatVersion = 1;
constexpr std::size_t kChecksumSize = 4;
// The smallest entry: a tag and an empty name.
constexpr std::size_t kMinEntrySize = 2;

namespace tag {
constexpr std::uint8_t kEmpty = 0x00;
constexpr std::uint8_t kNull = 0x01;
constexpr std::uint8_t kInteger = 0x02;
constexpr std::uint8_t kLong = 0x03;
constexpr std::uint8_t kSingle = 0x04;
constexpr std::uint8_t kDouble = 0x05;
constexpr std::uint8_t kCurrency = 0x06;
constexpr std::uint8_t kDate = 0x07;
constexpr std::uint8_t kString = 0x08;
constexpr std::uint8_t kNothing = 0x09;
constexpr std::uint8_t kObject = 0x0A;
constexpr std::uint8_t kFalse = 0x0B;
constexpr std::uint8_t kTrue = 0x0C;
constexpr std::uint8_t kDecimal = 0x0E;
constexpr std::uint8_t kByte = 0x11;
constexpr std::uint8_t kByteArray = 0x12;
}  // namespace tag

// Writes the entry's tag, its name and then, from the tag on, its payload.
class EntryWriter {
 public:
  EntryWriter(ByteArray& out, std::string_view name) : out_(out), name_(name) {}

  ByteArray& Begin(std::uint8_t valueTag) const {
    out_.push_back(valueTag);
    PutLengthPrefixed(out_, name_);
    return out_;
  }

 private:
  ByteArray& out_;
  std::string_view name_;
};

void PutPlainEntry(EntryWriter writer, const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      writer.Begin(tag::kEmpty);
      return;
    case VarType::Null:
      writer.Begin(tag::kNull);
      return;
    case VarType::Integer:
      PutFixed16(writer.Begin(tag::kInteger), static_cast<std::uint16_t>(*value.Get<std::int16_t>()));
      return;
    case VarType::Long:
      PutVarint(writer.Begin(tag::kLong), ZigZag(*value.Get<std::int32_t>()));
      return;
    case VarType::Single:
      PutFixed32(writer.Begin(tag::kSingle), std::bit_cast<std::uint32_t>(*value.Get<float>()));
      return;
    case VarType::Double:
      PutFixed64(writer.Begin(tag::kDouble), std::bit_cast<std::uint64_t>(*value.Get<double>()));
      return;
    case VarType::Currency:
      PutFixed64(writer.Begin(tag::kCurrency),
                 static_cast<std::uint64_t>(value.Get<CurrencyValue>()->ten_thousandths));
      return;
    case VarType::Date:
      PutFixed64(writer.Begin(tag::kDate), std::bit_cast<std::uint64_t>(value.Get<DateValue>()->days));
      return;
    case VarType::Decimal:
      PutFixed64(writer.Begin(tag::kDecimal),
                 std::bit_cast<std::uint64_t>(value.Get<DecimalValue>()->value));
      return;
    case VarType::String:
      PutLengthPrefixed(writer.Begin(tag::kString), *value.Get<std::string>());
      return;
    case VarType::Boolean:
      writer.Begin(*value.Get<bool>() ? tag::kTrue : tag::kFalse);
      return;
    case VarType::Byte:
      writer.Begin(tag::kByte).push_back(value.Get<Variant::ByteTag>()->value);
      return;
    case VarType::ByteArray:
      PutLengthPrefixed(writer.Begin(tag::kByteArray), value.AsBytes());
      return;
    case VarType::Object:
      if (value.IsNothing()) {
        writer.Begin(tag::kNothing);
        return;
      }
      break;
    case VarType::Error:
      break;
  }
  // The bag stores neither Missing nor live objects (it persists them first).
  RaiseHostError(errors::kInvalidProcedureCall);
}

void PutEntry(ByteArray& out, const BagEntry& entry) {
  const EntryWriter writer(out, entry.name);
  if (const auto* object = std::get_if<PersistedObject>(&entry.value)) {
    PutLengthPrefixed(writer.Begin(tag::kObject), object->type_name);
    PutLengthPrefixed(out, object->state);
    return;
  }
  PutPlainEntry(writer, std::get<Variant>(entry.value));
}

double ReadDouble(ByteReader& reader) { return std::bit_cast<double>(reader.Fixed64()); }

StoredValue ReadStoredValue(ByteReader& reader, std::uint8_t valueTag) {
  switch (valueTag) {
    case tag::kEmpty:
      return Variant();
    case tag::kNull:
      return Variant::Null();
    case tag::kInteger:
      return Variant::Integer(static_cast<std::int16_t>(reader.Fixed16()));
    case tag::kLong: {
      const std::int64_t value = UnZigZag(reader.Varint());
      if (value < INT32_MIN || value > INT32_MAX) RaiseInvalidFormat();
      return Variant::Long(static_cast<std::int32_t>(value));
    }
    case tag::kSingle:
      return Variant::Single(std::bit_cast<float>(reader.Fixed32()));
    case tag::kDouble:
      return Variant::Double(ReadDouble(reader));
    case tag::kCurrency:
      return Variant::Currency(static_cast<std::int64_t>(reader.Fixed64()));
    case tag::kDate:
      return Variant::Date(ReadDouble(reader));
    case tag::kDecimal:
      return Variant::Decimal(ReadDouble(reader));
    case tag::kString:
      return Variant::String(std::string(reader.LengthPrefixedText()));
    case tag::kNothing:
      return Variant::Object(nullptr);
    case tag::kObject: {
      PersistedObject object;
      object.type_name = reader.LengthPrefixedText();
      const auto state = reader.LengthPrefixed();
      object.state.assign(state.begin(), state.end());
      return object;
    }
    case tag::kFalse:
      return Variant::Boolean(false);
    case tag::kTrue:
      return Variant::Boolean(true);
    case tag::kByte:
      return Variant::Byte(reader.Byte());
    case tag::kByteArray: {
      const auto bytes = reader.LengthPrefixed();
      return Variant::Bytes(ByteArray(bytes.begin(), bytes.end()));
    }
    default:
      RaiseInvalidFormat();
  }
}

}  // namespace

ByteArray EncodeBagImage(std::span<const BagEntry> entries) {
  ByteArray out(std::begin(kSignature), std::end(kSignature));
  out.push_back(kFormatVersion);
  PutVarint(out, entries.size());
  for (const BagEntry& entry : entries) PutEntry(out, entry);
  PutFixed32(out, Crc32c(out));
  return out;
}

std::vector<BagEntry> DecodeBagImage(std::span<const std::uint8_t> image) {
  constexpr std::size_t kHeaderSize = sizeof kSignature + 1;
  if (image.size() < kHeaderSize + kChecksumSize) RaiseInvalidFormat();
  if (!std::equal(std::begin(kSignature), std::end(kSignature), image.begin())) {
    RaiseInvalidFormat();
  }
  if (image[sizeof kSignature] != kFormatVersion) RaiseInvalidFormat();

  // No length inside is trusted until the checksum says the bytes are whole.
  const auto body = image.first(image.size() - kChecksumSize);
  ByteReader checksum(image.last(kChecksumSize));
  if (checksum.Fixed32() != Crc32c(body)) RaiseInvalidFormat();

  ByteReader reader(body.subspan(kHeaderSize));
  const std::uint64_t count = reader.Varint();
  if (count > reader.Remaining() / kMinEntrySize) RaiseInvalidFormat();
  std::vector<BagEntry> entries;
  entries.reserve(static_cast<std::size_t>(count));
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::uint8_t valueTag = reader.Byte();
    BagEntry& entry = entries.emplace_back();
    entry.name = reader.LengthPrefixedText();
    entry.value = ReadStoredValue(reader, valueTag);
  }
  if (!reader.AtEnd()) RaiseInvalidFormat();
  return entries;
}

}  // namespace tavorin::host::detail
