// Where a fixed list of property names sits in the class tables of the
// controls that a caller walks again and again: the component walks a class's
// catalogue for every control it copies, writes or reads. Each class's
// positions are found once; a walk then reaches every property without
// looking its name up, which took a tenth of a text box's write and read.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include <tavorin/host/control.h>
#include <tavorin/host/variant.h>

namespace tavorin::host::detail {

class PropertyPositions {
 public:
  /// The names must outlive this object.
  explicit PropertyPositions(std::vector<std::string_view> names);
  PropertyPositions(const PropertyPositions&) = delete;
  PropertyPositions& operator=(const PropertyPositions&) = delete;

  /// The value of the `i`th name's property on `control`, as GetProperty
  /// gives it: a name that the control's class lacks fails as there.
  Variant Get(const Control& control, std::size_t i) const {
    const std::ptrdiff_t position = PositionIn(control, i);
    if (position < 0) return control.GetProperty(names_[i]);
    return control.GetAt(static_cast<std::size_t>(position));
  }
  /// The same value without a copy where the control stores it: else it is
  /// put in `computed`.
  const Variant& Peek(const Control& control, std::size_t i, Variant& computed) const {
    const std::ptrdiff_t position = PositionIn(control, i);
    if (position < 0) return computed = control.GetProperty(names_[i]);
    return control.PeekAt(static_cast<std::size_t>(position), computed);
  }
  /// Sets it, as SetProperty does.
  void Set(Control& control, std::size_t i, const Variant& value) const {
    const std::ptrdiff_t position = PositionIn(control, i);
    if (position < 0) return control.SetProperty(names_[i], value);
    control.SetAt(static_cast<std::size_t>(position), value);
  }

 private:
  struct Resolved {
    const PropertyTable* table;
    std::vector<std::ptrdiff_t> positions;
  };

  // The position of the `i`th name in `control`'s class table; -1 where the
  // class has no such property.
  std::ptrdiff_t PositionIn(const Control& control, std::size_t i) const {
    const Resolved* last = last_.load(std::memory_order_acquire);
    if (last == nullptr || last->table != control.table_) last = &ResolvedFor(*control.table_);
    return last->positions[i];
  }
  const Resolved& ResolvedFor(const PropertyTable& table) const;

  std::vector<std::string_view> names_;
  // Classes resolved so far, never dropped while this object lives; the one
  // used last is read without the lock, as walks mostly meet one class.
  mutable std::mutex resolving_;
  mutable std::vector<std::unique_ptr<const Resolved>> resolved_;
  mutable std::atomic<const Resolved*> last_{nullptr};
};

}  // namespace tavorin::host::detail
