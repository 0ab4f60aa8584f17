// An array of plain values that grows at its end without copying what it
// holds where it can: the property bag keeps its records and entries in these.
//
// std::vector grows by allocating anew and copying, and zeroes what it adds.
// Here realloc grows a block in place where it can, a block grown past a
// megabyte takes whole large pages, and nothing is zeroed that is written
// next. Writing a list's 100,000 entries and their image took about 1,500
// page faults a round with both kept in vectors, 1,160 in these grown by
// realloc alone, and 3 with large pages (property_bag_bench, BM_BagWrite).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
#include <type_traits>
#include <utility>

#include "host/portability.h"

namespace tavorin::host::detail {

template <typename T>
class GrowableArray {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  GrowableArray() = default;
  GrowableArray(const GrowableArray&) = delete;
  GrowableArray& operator=(const GrowableArray&) = delete;
  GrowableArray(GrowableArray&& other) noexcept { Swap(other); }
  GrowableArray& operator=(GrowableArray&& other) noexcept {
    GrowableArray(std::move(other)).Swap(*this);
    return *this;
  }
  ~GrowableArray() { std::free(data_); }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T* data() { return data_; }
  const T* data() const { return data_; }
  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  std::span<const T> View() const { return {data_, size_}; }

  /// Makes room for `count` values in all. Raises std::bad_alloc on failure,
  /// leaving the array as it was.
  void Reserve(std::size_t count) {
    if (count <= capacity_) return;
    if (count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    void* grown = std::realloc(data_, count * sizeof(T));
    if (grown == nullptr) throw std::bad_alloc();
    data_ = static_cast<T*>(grown);
    capacity_ = count;
  }

  /// Adds `count` values at the end, left for the caller to write, and
  /// returns the first. Raises std::bad_alloc on failure, leaving the array
  /// as it was.
  T* Extend(std::size_t count) {
    if (count > capacity_ - size_) {
      if (count > SIZE_MAX / sizeof(T) - size_) throw std::bad_alloc();
      Grow(std::max(size_ + count, capacity_ + capacity_ / 2 + 16));
    }
    T* added = data_ + size_;
    size_ += count;
    return added;
  }

  void PushBack(T value) { *Extend(1) = value; }

  /// Adds copies of `values` at the end; raises like Extend.
  void Append(std::span<const T> values) {
    if (!values.empty()) std::memcpy(Extend(values.size()), values.data(), values.size_bytes());
  }

  /// Drops the values from `count` on.
  void Truncate(std::size_t count) {
    if (count < size_) size_ = count;
  }

 private:
  // Growth from here on takes whole large pages, which the system is asked to
  // back as such: a megabyte or more of small pages is hundreds of faults,
  // each paid again whenever the C library hands the memory back between
  // uses. Writing a list's 100,000 entries and their image took 1,163 page
  // faults a round, and 3 this way, for a median of 10.0 against 5.2 ms
  // (property_bag_bench, BM_BagWrite). A block reserved to its exact size
  // stays exact: growth rounds up by half anyway, an exact size by nothing.
  static constexpr std::size_t kLargeGrowthBytes = std::size_t{1} << 20;

  // Makes room for at least `count` values, as Reserve does.
  void Grow(std::size_t count) {
    if (count > (SIZE_MAX - kLargePageBytes) / sizeof(T)) throw std::bad_alloc();
    const std::size_t bytes = count * sizeof(T);
    if (bytes < kLargeGrowthBytes) return Reserve(count);
    const std::size_t pageBytes = (bytes + kLargePageBytes - 1) / kLargePageBytes * kLargePageBytes;
    void* aligned = std::aligned_alloc(kLargePageBytes, pageBytes);
    if (aligned == nullptr) throw std::bad_alloc();
    // To find an aligned start the C library may map up to a large page more
    // than asked and keep it with the block: 2.9 to 4.1 MB for 2 MiB, by
    // where the mapping fell, which made a ListBox's write and restore peak
    // anywhere from 2.7 to 3.8 times its stream (list_stream_bench). Giving
    // the rest back leaves the block at its size; a shrink does not move it
    // where the block is mapped, and if it did, only the hint would be lost.
    void* grown = std::realloc(aligned, pageBytes);
    if (grown == nullptr) grown = aligned;
    if (reinterpret_cast<std::uintptr_t>(grown) % kLargePageBytes == 0) {
      AdviseLargePages(grown, pageBytes);
    }
    if (size_ != 0) std::memcpy(grown, data_, size_ * sizeof(T));
    std::free(data_);
    data_ = static_cast<T*>(grown);
    capacity_ = pageBytes / sizeof(T);
  }

  void Swap(GrowableArray& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
  }

  T* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace tavorin::host::detail
