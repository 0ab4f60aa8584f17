#include "host/property_positions.h"

#include <utility>

#include "host/property_table.h"

namespace tavorin::host::detail {

PropertyPositions::PropertyPositions(std::vector<std::string_view> names)
    : names_(std::move(names)) {}

const PropertyPositions::Resolved& PropertyPositions::ResolvedFor(
    const PropertyTable& table) const {
  const std::lock_guard lock(resolving_);
  for (const auto& resolved : resolved_) {
    if (resolved->table == &table) {
      last_.store(resolved.get(), std::memory_order_release);
      return *resolved;
    }
  }
  auto resolved = std::make_unique<Resolved>(Resolved{&table, {}});
  resolved->positions.reserve(names_.size());
  for (const std::string_view name : names_)
    resolved->positions.push_back(table.FindProperty(name));
  resolved_.push_back(std::move(resolved));
  last_.store(resolved_.back().get(), std::memory_order_release);
  return *resolved_.back();
}

}  // namespace tavorin::host::detail
