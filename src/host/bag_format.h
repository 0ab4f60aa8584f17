// The property bag's byte image: the record of each entry, and the frame
// around the records. The bag keeps its entries as these very records, so
// that its image is mostly a copy of what it holds.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include <tavorin/host/variant.h>

#include "host/byte_coding.h"
#include "host/growable_array.h"

namespace tavorin::host::detail {

/// Records one after another, as the bag keeps them.
using RecordBytes = GrowableArray<std::uint8_t>;

/// Appends the record of an entry holding `value`: any type but Missing, and
/// no object but Nothing (objects are stored persisted, see below).
void PutValueRecord(RecordBytes& out, std::string_view name, const Variant& value);

/// Appends the record of an entry holding a persisted object: its class name
/// and the bytes of its state.
void PutObjectRecord(RecordBytes& out, std::string_view name, std::string_view typeName,
                     std::span<const std::uint8_t> state);

/// Takes one record off the front of untrusted bytes and returns its name.
/// Raises 321 "Invalid file format" unless the tag is known, the payload well
/// formed and within the bytes, and a persisted object loads.
std::string_view TakeRecord(ByteReader& reader);

/// The size of the record at the front of `bytes`, one that PutValueRecord,
/// PutObjectRecord or TakeRecord accepted.
std::size_t RecordSize(std::span<const std::uint8_t> bytes);

/// The name in an accepted record at the front of `record`.
inline std::string_view RecordName(std::span<const std::uint8_t> record) {
  ByteReader reader(record.subspan(1));  // past the tag
  return reader.LengthPrefixedText();
}

/// The value in an accepted record at the front of `record`; a persisted
/// object comes back as a new object loaded from its state.
Variant RecordValue(std::span<const std::uint8_t> record);

/// The image of `count` entries whose records, in order, are the bytes of
/// `runs` one after another.
ByteArray EncodeBagImage(std::size_t count, std::span<const std::span<const std::uint8_t>> runs);

/// The records of an image, as far as its frame vouches for them.
struct ImageRecords {
  std::size_t count;
  std::span<const std::uint8_t> bytes;
};

/// Checks an image's signature, version and checksum, and that its bytes can
/// hold as many records as it counts; raises 321 "Invalid file format" when
/// they do not. The records themselves are for TakeRecord to check, and must
/// fill the bytes exactly.
ImageRecords OpenBagImage(std::span<const std::uint8_t> image);

}  // namespace tavorin::host::detail
