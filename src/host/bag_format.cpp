// The property bag's image, byte by byte:
//
//   image     := signature version count entry* checksum
//   signature := 'T' 'V' 'P' 'B'
//   version   := 0x01
//   count     := varint                        the number of entries
//   entry     := tag name payload              in write order, names unique;
//                                              the bag keeps each entry as these bytes
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
#include <array>
#include <bit>
#include <cstring>

#include <tavorin/host/error.h>

#include "host/crc32c.h"
#include "host/persistence.h"

namespace tavorin::host::detail {
namespace {

constexpr std::uint8_t kSignature[] = {'T', 'V', 'P', 'B'};
constexpr std::uint8_t kFormatVersion = 1;
constexpr std::size_t kHeaderSize = sizeof kSignature + 1;
constexpr std::size_t kChecksumSize = 4;
// The smallest record: a tag and an empty name.
constexpr std::size_t kMinRecordSize = 2;

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

// How far a payload reaches, so that a record can be checked and stepped over
// without building its value.
enum class Payload : std::uint8_t { kUnknownTag, kFixed, kLong, kLengthPrefixed, kObject };

struct PayloadShape {
  Payload payload = Payload::kUnknownTag;
  std::uint8_t fixedSize = 0;
};

constexpr std::array<PayloadShape, 256> MakeShapes() {
  struct TagShape {
    std::uint8_t tag;
    PayloadShape shape;
  };
  constexpr TagShape kTagShapes[] = {
      {tag::kEmpty, {Payload::kFixed, 0}},
      {tag::kNull, {Payload::kFixed, 0}},
      {tag::kInteger, {Payload::kFixed, 2}},
      {tag::kLong, {Payload::kLong, 0}},
      {tag::kSingle, {Payload::kFixed, 4}},
      {tag::kDouble, {Payload::kFixed, 8}},
      {tag::kCurrency, {Payload::kFixed, 8}},
      {tag::kDate, {Payload::kFixed, 8}},
      {tag::kString, {Payload::kLengthPrefixed, 0}},
      {tag::kNothing, {Payload::kFixed, 0}},
      {tag::kObject, {Payload::kObject, 0}},
      {tag::kFalse, {Payload::kFixed, 0}},
      {tag::kTrue, {Payload::kFixed, 0}},
      {tag::kDecimal, {Payload::kFixed, 8}},
      {tag::kByte, {Payload::kFixed, 1}},
      {tag::kByteArray, {Payload::kLengthPrefixed, 0}},
  };
  std::array<PayloadShape, 256> shapes{};
  for (const TagShape& entry : kTagShapes) shapes[entry.tag] = entry.shape;
  return shapes;
}

constexpr std::array<PayloadShape, 256> kShapeOfTag = MakeShapes();

// What follows a record's name: a head (a number, or the length of what
// comes next) and the bytes of a text or byte array.
struct PayloadParts {
  // A number written `width` bytes wide, little-endian, or as a varint, or
  // not at all (width 0). Kept as the number, not its bytes, so that a record
  // is sized and written in one go: building the bytes first took 164
  // instructions a record of a list's 100,000 entries, this takes 150
  // (property_bag_bench, BM_BagRecordsAlone under callgrind).
  struct Head {
    static constexpr int kVarint = -1;
    std::uint64_t value = 0;
    int width = 0;

    std::size_t Size() const {
      return width == kVarint ? VarintSize(value) : static_cast<std::size_t>(width);
    }
    std::uint8_t* WriteTo(std::uint8_t* at) const {
      std::uint64_t rest = value;
      if (width == kVarint) {
        for (; rest >= 0x80; rest >>= 7) *at++ = static_cast<std::uint8_t>(rest | 0x80);
        *at++ = static_cast<std::uint8_t>(rest);
        return at;
      }
      for (int i = 0; i < width; ++i, rest >>= 8) *at++ = static_cast<std::uint8_t>(rest);
      return at;
    }
  };
  struct Part {
    Head head;
    std::span<const std::uint8_t> tail;
  };
  std::uint8_t tag;
  Part part;
};

PayloadParts Fixed(std::uint8_t valueTag, std::uint64_t value, int width) {
  return {valueTag, {{value, width}, {}}};
}

PayloadParts::Head VarintHead(std::uint64_t value) { return {value, PayloadParts::Head::kVarint}; }

PayloadParts LengthPrefixed(std::uint8_t valueTag, std::span<const std::uint8_t> bytes) {
  return {valueTag, {VarintHead(bytes.size()), bytes}};
}

PayloadParts PartsOf(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return {tag::kEmpty, {}};
    case VarType::Null:
      return {tag::kNull, {}};
    case VarType::Integer:
      return Fixed(tag::kInteger, static_cast<std::uint16_t>(*value.Get<std::int16_t>()), 2);
    case VarType::Long:
      return {tag::kLong, {VarintHead(ZigZag(*value.Get<std::int32_t>())), {}}};
    case VarType::Single:
      return Fixed(tag::kSingle, std::bit_cast<std::uint32_t>(*value.Get<float>()), 4);
    case VarType::Double:
      return Fixed(tag::kDouble, std::bit_cast<std::uint64_t>(*value.Get<double>()), 8);
    case VarType::Currency:
      return Fixed(tag::kCurrency,
                   static_cast<std::uint64_t>(value.Get<CurrencyValue>()->ten_thousandths), 8);
    case VarType::Date:
      return Fixed(tag::kDate, std::bit_cast<std::uint64_t>(value.Get<DateValue>()->days), 8);
    case VarType::Decimal:
      return Fixed(tag::kDecimal, std::bit_cast<std::uint64_t>(value.Get<DecimalValue>()->value),
                   8);
    case VarType::String:
      return LengthPrefixed(tag::kString, TextBytes(*value.Get<std::string>()));
    case VarType::Boolean:
      return {*value.Get<bool>() ? tag::kTrue : tag::kFalse, {}};
    case VarType::Byte:
      return Fixed(tag::kByte, value.Get<Variant::ByteTag>()->value, 1);
    case VarType::ByteArray:
      return LengthPrefixed(tag::kByteArray, value.AsBytes());
    case VarType::Object:
      if (value.IsNothing()) return {tag::kNothing, {}};
      break;
    case VarType::Error:
      break;
  }
  // The bag stores neither Missing nor live objects (it persists them first).
  RaiseHostError(errors::kInvalidProcedureCall);
}

std::int32_t ReadLong(ByteReader& reader) {
  const std::int64_t value = UnZigZag(reader.Varint());
  if (value < INT32_MIN || value > INT32_MAX) RaiseInvalidFormat();
  return static_cast<std::int32_t>(value);
}

ObjectRef ReadObject(ByteReader& reader) {
  const std::string_view typeName = reader.LengthPrefixedText();
  const auto state = reader.LengthPrefixed();
  return LoadObjectState(typeName, ByteArray(state.begin(), state.end()));
}

double ReadDouble(ByteReader& reader) { return std::bit_cast<double>(reader.Fixed64()); }

}  // namespace

namespace {

// Copies `from` to `to`; returns the end of the copy. Names and most texts
// are under seventeen bytes, so those go as two overlapping words, rather
// than through a library call each: the records of a list's 100,000 entries
// took 23.5M instructions instead of 25.6M for it (property_bag_bench).
std::uint8_t* CopyBytes(std::span<const std::uint8_t> from, std::uint8_t* to) {
  const std::size_t size = from.size();
  const auto copyEnds = [&]<std::size_t kWord>() {
    std::memcpy(to, from.data(), kWord);
    std::memcpy(to + size - kWord, from.data() + size - kWord, kWord);
  };
  if (size > 16) {
    std::memcpy(to, from.data(), size);
  } else if (size >= 8) {
    copyEnds.operator()<8>();
  } else if (size >= 4) {
    copyEnds.operator()<4>();
  } else {
    for (std::size_t i = 0; i < size; ++i) to[i] = from[i];
  }
  return to + size;
}

// Appends a record, growing `out` once. The parts are taken where they are:
// copied into a list, a part was read back across two halves its zeroing had
// just stored, a stall: the records of a list's 100,000 entries took 2.6 ms
// of CPU time that way, 2.2 ms this way (property_bag_bench, medians).
void PutRecord(RecordBytes& out, std::uint8_t valueTag, std::string_view name,
               std::span<const PayloadParts::Part> payload) {
  const PayloadParts::Head nameSize = VarintHead(name.size());
  std::size_t size = 1 + nameSize.Size() + name.size();
  for (const PayloadParts::Part& part : payload) size += part.head.Size() + part.tail.size();
  std::uint8_t* at = out.Extend(size);
  *at++ = valueTag;
  at = CopyBytes(TextBytes(name), nameSize.WriteTo(at));
  for (const PayloadParts::Part& part : payload) at = CopyBytes(part.tail, part.head.WriteTo(at));
}

}  // namespace

void PutValueRecord(RecordBytes& out, std::string_view name, const Variant& value) {
  const PayloadParts payload = PartsOf(value);
  PutRecord(out, payload.tag, name, std::span(&payload.part, 1));
}

void PutObjectRecord(RecordBytes& out, std::string_view name, std::string_view typeName,
                     std::span<const std::uint8_t> state) {
  const PayloadParts::Part payload[] = {{VarintHead(typeName.size()), TextBytes(typeName)},
                                        {VarintHead(state.size()), state}};
  PutRecord(out, tag::kObject, name, payload);
}

namespace {

// Steps over one record and returns its name; `loadObject` also loads a
// persisted object, which a record from outside must show it can.
std::string_view StepOverRecord(ByteReader& reader, bool loadObject) {
  const PayloadShape shape = kShapeOfTag[reader.Byte()];
  const std::string_view name = reader.LengthPrefixedText();
  switch (shape.payload) {
    case Payload::kUnknownTag:
      RaiseInvalidFormat();
    case Payload::kFixed:
      reader.Bytes(shape.fixedSize);
      break;
    case Payload::kLong:
      ReadLong(reader);
      break;
    case Payload::kLengthPrefixed:
      reader.LengthPrefixed();
      break;
    case Payload::kObject:
      if (loadObject) {
        // An object that will not load now would fail every later read.
        ReadObject(reader);
      } else {
        reader.LengthPrefixed();  // the type name
        reader.LengthPrefixed();  // the state
      }
      break;
  }
  return name;
}

}  // namespace

std::string_view TakeRecord(ByteReader& reader) { return StepOverRecord(reader, true); }

std::size_t RecordSize(std::span<const std::uint8_t> bytes) {
  ByteReader reader(bytes);
  StepOverRecord(reader, false);
  return bytes.size() - reader.Remaining();
}

Variant RecordValue(std::span<const std::uint8_t> record) {
  ByteReader reader(record);
  const std::uint8_t valueTag = reader.Byte();
  reader.LengthPrefixed();  // the name
  switch (valueTag) {
    case tag::kEmpty:
      return Variant();
    case tag::kNull:
      return Variant::Null();
    case tag::kInteger:
      return Variant::Integer(static_cast<std::int16_t>(reader.Fixed16()));
    case tag::kLong:
      return Variant::Long(ReadLong(reader));
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
    case tag::kObject:
      return Variant::Object(ReadObject(reader));
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

ByteArray EncodeBagImage(std::size_t count, std::span<const std::span<const std::uint8_t>> runs) {
  std::size_t recordBytes = 0;
  for (const auto run : runs) recordBytes += run.size();
  ByteArray image;
  image.reserve(kHeaderSize + VarintSize(count) + recordBytes + kChecksumSize);
  image.insert(image.end(), std::begin(kSignature), std::end(kSignature));
  image.push_back(kFormatVersion);
  PutVarint(image, count);
  for (const auto run : runs) image.insert(image.end(), run.begin(), run.end());
  PutFixed32(image, Crc32c(image));
  return image;
}

ImageRecords OpenBagImage(std::span<const std::uint8_t> image) {
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
  const auto records = body.last(reader.Remaining());
  if (count > records.size() / kMinRecordSize) RaiseInvalidFormat();
  return {static_cast<std::size_t>(count), records};
}

}  // namespace tavorin::host::detail
