// Everything the code takes from the compiler, the processor or the system
// beyond standard C++: GCC and Clang builtins, the x86-64 CRC-32C instruction,
// and the hint for large pages. Porting to another compiler, processor or
// system starts here and nowhere else.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__x86_64__)
#include <nmmintrin.h>
/// Whether the CRC-32C instruction may exist; whether it does is for
/// ProcessorHasCrc32c to tell at run time.
#define TAVORIN_HAS_CRC32C_INSTRUCTION 1
/// Lets one function use the CRC-32C instruction without building the whole
/// library for processors that have it.
#define TAVORIN_TARGET_CRC32C __attribute__((target("sse4.2")))
#else
#define TAVORIN_HAS_CRC32C_INSTRUCTION 0
#endif

namespace tavorin::host::detail {

/// The 128-bit product of two words.
struct WideProduct {
  std::uint64_t low;
  std::uint64_t high;
};

inline WideProduct MultiplyWide(std::uint64_t a, std::uint64_t b) {
  __extension__ using Wide = unsigned __int128;
  const Wide product = static_cast<Wide>(a) * b;
  return {static_cast<std::uint64_t>(product), static_cast<std::uint64_t>(product >> 64)};
}

/// Starts bringing the cache line at `address` in, for reading.
inline void PrefetchForRead(const void* address) { __builtin_prefetch(address); }

/// The size of a large page of memory, where the system has them: 2 MiB on
/// x86-64 Linux.
inline constexpr std::size_t kLargePageBytes = std::size_t{2} << 20;

/// Asks the system to back `bytes` at `address`, both multiples of
/// kLargePageBytes, with large pages: one fault then brings in a large page
/// where it brought in a small one. Only a hint: where the system has no such
/// pages, or declines, nothing changes.
inline void AdviseLargePages(void* address, std::size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  madvise(address, bytes, MADV_HUGEPAGE);
#else
  static_cast<void>(address);
  static_cast<void>(bytes);
#endif
}

#if TAVORIN_HAS_CRC32C_INSTRUCTION
inline bool ProcessorHasCrc32c() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("sse4.2") != 0;
}

/// The CRC-32C instruction on eight bytes (little-endian) and on one byte.
TAVORIN_TARGET_CRC32C inline std::uint64_t Crc32cWord(std::uint64_t crc, std::uint64_t word) {
  return _mm_crc32_u64(crc, word);
}
TAVORIN_TARGET_CRC32C inline std::uint32_t Crc32cByte(std::uint32_t crc, std::uint8_t byte) {
  return _mm_crc32_u8(crc, byte);
}
#endif

}  // namespace tavorin::host::detail
