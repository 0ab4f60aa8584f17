// Counts the bytes the program holds on the heap, now and at its peak, so that
// a benchmark can show the memory an operation takes.
//
// The replacements of the C library's allocation functions below are
// definitions: include this header in one source file of a benchmark binary,
// its only one. They rely on the GNU C library, which exports its own
// allocator under other names and lets a program replace these.
#pragma once

#include <malloc.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>

namespace tavorin::bench {

/// What one operation took beyond what was held before it: its peak, and
/// what it still holds after.
struct MemoryUse {
  std::size_t peak;
  std::size_t kept;
};

// Counts only while an operation is measured, so that the timed runs pay a
// test a call and nothing more. Plain counters: the benchmarks run on one
// thread. Blocks held from before that the operation frees count against it.
class AllocationCounter {
 public:
  static bool Counting() { return counting_; }
  static void Start() {
    current_ = 0;
    peak_ = 0;
    counting_ = true;
  }
  static MemoryUse Stop() {
    counting_ = false;
    return {static_cast<std::size_t>(peak_), static_cast<std::size_t>(std::max<long>(current_, 0))};
  }

  static void Add(std::size_t bytes) {
    current_ += static_cast<long>(bytes);
    peak_ = std::max(peak_, current_);
  }
  static void Remove(std::size_t bytes) { current_ -= static_cast<long>(bytes); }

 private:
  static inline bool counting_ = false;
  static inline long current_ = 0;
  static inline long peak_ = 0;
};

/// Runs `operation` and measures it.
template <typename Operation>
MemoryUse MeasureMemory(const Operation& operation) {
  AllocationCounter::Start();
  operation();
  return AllocationCounter::Stop();
}

}  // namespace tavorin::bench

// The C library's own allocator, which the definitions below pass every call
// on to. Counting at this level sees operator new (which calls malloc) and the
// blocks the library grows with realloc alike; a block counts as the bytes it
// really holds.
extern "C" {
void* __libc_malloc(std::size_t bytes);
void* __libc_calloc(std::size_t count, std::size_t bytes);
void* __libc_realloc(void* pointer, std::size_t bytes);
void* __libc_memalign(std::size_t alignment, std::size_t bytes);
void* __libc_valloc(std::size_t bytes);
void* __libc_pvalloc(std::size_t bytes);
void __libc_free(void* pointer);
}

namespace tavorin::bench::counting_detail {

inline std::size_t Held(void* pointer) {
  return pointer == nullptr ? 0 : malloc_usable_size(pointer);
}

inline void* Counted(void* pointer) {
  if (AllocationCounter::Counting()) AllocationCounter::Add(Held(pointer));
  return pointer;
}

}  // namespace tavorin::bench::counting_detail

extern "C" {
void* malloc(std::size_t bytes) {
  return tavorin::bench::counting_detail::Counted(__libc_malloc(bytes));
}
void* calloc(std::size_t count, std::size_t bytes) {
  return tavorin::bench::counting_detail::Counted(__libc_calloc(count, bytes));
}
void* realloc(void* pointer, std::size_t bytes) {
  using namespace tavorin::bench;
  if (!AllocationCounter::Counting()) return __libc_realloc(pointer, bytes);
  const std::size_t before = counting_detail::Held(pointer);
  void* grown = __libc_realloc(pointer, bytes);
  // A failed realloc leaves the block as it was; one to no bytes frees it.
  if (grown != nullptr || bytes == 0) {
    AllocationCounter::Remove(before);
    counting_detail::Counted(grown);
  }
  return grown;
}
void* memalign(std::size_t alignment, std::size_t bytes) {
  return tavorin::bench::counting_detail::Counted(__libc_memalign(alignment, bytes));
}
void* aligned_alloc(std::size_t alignment, std::size_t bytes) { return memalign(alignment, bytes); }
int posix_memalign(void** out, std::size_t alignment, std::size_t bytes) {
  void* block = memalign(alignment, bytes);
  if (block == nullptr) return ENOMEM;
  *out = block;
  return 0;
}
void* valloc(std::size_t bytes) {
  return tavorin::bench::counting_detail::Counted(__libc_valloc(bytes));
}
void* pvalloc(std::size_t bytes) {
  return tavorin::bench::counting_detail::Counted(__libc_pvalloc(bytes));
}
void free(void* pointer) {
  using namespace tavorin::bench;
  if (AllocationCounter::Counting()) AllocationCounter::Remove(counting_detail::Held(pointer));
  __libc_free(pointer);
}
}
