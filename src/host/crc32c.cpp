#include "host/crc32c.h"

#include <array>
#include <cstring>

#include "host/portability.h"

namespace tavorin::host::detail {
namespace {

// The reflected Castagnoli polynomial.
constexpr std::uint32_t kPolynomial = 0x82F63B78u;

// Slicing by eight: table[k][b] is the CRC of byte b followed by k zero
// bytes, so eight input bytes advance the CRC with eight independent look-ups.
using CrcTables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr CrcTables MakeTables() {
  CrcTables tables{};
  for (std::uint32_t byte = 0; byte < 256; ++byte) {
    std::uint32_t crc = byte;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1u) ? kPolynomial : 0u);
    tables[0][byte] = crc;
  }
  for (std::size_t k = 1; k < tables.size(); ++k) {
    for (std::uint32_t byte = 0; byte < 256; ++byte) {
      const std::uint32_t previous = tables[k - 1][byte];
      tables[k][byte] = (previous >> 8) ^ tables[0][previous & 0xFFu];
    }
  }
  return tables;
}

constexpr CrcTables kTables = MakeTables();

#if TAVORIN_HAS_CRC32C_INSTRUCTION
// Eight bytes a step through the instruction, which computes exactly this
// CRC (without the inversions at either end).
TAVORIN_TARGET_CRC32C std::uint32_t Crc32cByInstruction(std::span<const std::uint8_t> bytes,
                                                        std::uint32_t crc) {
  std::uint64_t state = ~crc;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i,
                sizeof word);  // the instruction takes them little-endian, as x86 is
    state = Crc32cWord(state, word);
  }
  auto narrow = static_cast<std::uint32_t>(state);
  for (; i < bytes.size(); ++i) narrow = Crc32cByte(narrow, bytes[i]);
  return ~narrow;
}

bool HasCrcInstruction() {
  static const bool has = ProcessorHasCrc32c();
  return has;
}
#endif

}  // namespace

std::uint32_t Crc32c(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
#if TAVORIN_HAS_CRC32C_INSTRUCTION
  if (HasCrcInstruction()) return Crc32cByInstruction(bytes, crc);
#endif
  return Crc32cFromTables(bytes, crc);
}

std::uint32_t Crc32cFromTables(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
  crc = ~crc;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    crc ^= static_cast<std::uint32_t>(bytes[i]) | static_cast<std::uint32_t>(bytes[i + 1]) << 8 |
           static_cast<std::uint32_t>(bytes[i + 2]) << 16 |
           static_cast<std::uint32_t>(bytes[i + 3]) << 24;
    crc = kTables[7][crc & 0xFFu] ^ kTables[6][(crc >> 8) & 0xFFu] ^
          kTables[5][(crc >> 16) & 0xFFu] ^ kTables[4][crc >> 24] ^ kTables[3][bytes[i + 4]] ^
          kTables[2][bytes[i + 5]] ^ kTables[1][bytes[i + 6]] ^ kTables[0][bytes[i + 7]];
  }
  for (; i < bytes.size(); ++i) crc = (crc >> 8) ^ kTables[0][(crc ^ bytes[i]) & 0xFFu];
  return ~crc;
}

}  // namespace tavorin::host::detail
