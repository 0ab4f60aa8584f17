// Counts the bytes the program holds through global operator new, now and at
// its peak, so that a benchmark can show the memory an operation takes.
//
// The replacements of operator new and delete below are definitions: include
// this header in one source file of a benchmark binary, its only one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace tavorin::bench {

// Plain counters: the benchmarks run on one thread, and atomic ones would
// slow every allocation of the timed runs too.
class AllocationCounter {
 public:
  /// Bytes held now.
  static std::size_t Current() { return current_; }
  /// The most bytes held at once since the last ResetPeak.
  static std::size_t Peak() { return peak_; }
  /// Starts a new peak from what is held now.
  static void ResetPeak() { peak_ = current_; }

  static void Add(std::size_t bytes) {
    current_ += bytes;
    peak_ = std::max(peak_, current_);
  }
  static void Remove(std::size_t bytes) { current_ -= bytes; }

 private:
  static inline std::size_t current_ = 0;
  static inline std::size_t peak_ = 0;
};

/// What one operation took beyond what was held before it: its peak, and
/// what it still holds after.
struct MemoryUse {
  std::size_t peak;
  std::size_t kept;
};

/// Runs `operation` and measures it.
template <typename Operation>
MemoryUse MeasureMemory(const Operation& operation) {
  const std::size_t before = AllocationCounter::Current();
  AllocationCounter::ResetPeak();
  operation();
  return {AllocationCounter::Peak() - before, AllocationCounter::Current() - before};
}

namespace counting_detail {

// Each block carries its size in front of it, so that the unsized delete
// knows what it gives back; the front keeps the strictest alignment.
constexpr std::size_t kFront = alignof(std::max_align_t);

inline void* Allocate(std::size_t bytes) {
  void* block = std::malloc(bytes + kFront);
  if (block == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = bytes;
  AllocationCounter::Add(bytes);
  return static_cast<char*>(block) + kFront;
}

inline void Release(void* pointer) noexcept {
  if (pointer == nullptr) return;
  void* block = static_cast<char*>(pointer) - kFront;
  AllocationCounter::Remove(*static_cast<std::size_t*>(block));
  std::free(block);
}

}  // namespace counting_detail
}  // namespace tavorin::bench

void* operator new(std::size_t bytes) { return tavorin::bench::counting_detail::Allocate(bytes); }
void* operator new[](std::size_t bytes) { return tavorin::bench::counting_detail::Allocate(bytes); }
void operator delete(void* pointer) noexcept { tavorin::bench::counting_detail::Release(pointer); }
void operator delete[](void* pointer) noexcept {
  tavorin::bench::counting_detail::Release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
  tavorin::bench::counting_detail::Release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
  tavorin::bench::counting_detail::Release(pointer);
}
