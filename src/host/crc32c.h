// CRC-32C (Castagnoli): the checksum that guards the property bag's image.
#pragma once

#include <cstdint>
#include <span>

namespace tavorin::host::detail {

/// The CRC-32C of `bytes` continued from the CRC `crc` of what came before
/// them (0 for the start); Crc32c("123456789") is 0xE3069283.
/// It uses the processor's CRC-32C instruction where there is one.
std::uint32_t Crc32c(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

/// The same CRC from tables alone: what Crc32c does without the instruction,
/// open to tests on machines that have it.
std::uint32_t Crc32cFromTables(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

}  // namespace tavorin::host::detail
