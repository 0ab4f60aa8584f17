#include "catalogue/defaults_catalogue.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include <tavorin/host/error.h>

#include "catalogue/class_tables.h"
#include "host/property_positions.h"

namespace tavorin::detail {

// A class's entries with two lookup indexes (positions sorted by property
// name and by key code) and the properties' places in the class tables,
// built once per process so that a catalogue request costs no allocation.
struct CatalogueTable {
  std::vector<CatalogueEntry> entries;
  std::vector<std::size_t> byName;
  std::vector<std::size_t> byKey;
  std::unique_ptr<host::detail::PropertyPositions> properties;
};

namespace {

std::vector<std::size_t> PositionsSortedBy(const std::vector<CatalogueEntry>& entries,
                                           std::string_view CatalogueEntry::*field) {
  std::vector<std::size_t> positions(entries.size());
  for (std::size_t i = 0; i < positions.size(); ++i) positions[i] = i;
  std::sort(positions.begin(), positions.end(),
            [&](std::size_t a, std::size_t b) { return entries[a].*field < entries[b].*field; });
  return positions;
}

CatalogueTable MakeTable(std::span<const DefaultsTableRow> rows) {
  CatalogueTable table;
  table.entries.reserve(rows.size());
  for (const DefaultsTableRow& row : rows) {
    table.entries.push_back(
        {row.keyCode, row.propertyName, DefaultValue(row.defaultValue), row.valueType});
  }
  table.byName = PositionsSortedBy(table.entries, &CatalogueEntry::propertyName);
  table.byKey = PositionsSortedBy(table.entries, &CatalogueEntry::keyCode);
  std::vector<std::string_view> names;
  names.reserve(table.entries.size());
  for (const CatalogueEntry& entry : table.entries) names.push_back(entry.propertyName);
  table.properties = std::make_unique<host::detail::PropertyPositions>(std::move(names));
  return table;
}

const CatalogueTable* TableOf(ControlType type) {
  static const auto tables = [] {
    std::array<CatalogueTable, TypeCode(kLastControlType) + 1> built;
    for (std::int16_t code = TypeCode(kFirstControlType); code <= TypeCode(kLastControlType);
         ++code) {
      built[static_cast<std::size_t>(code)] =
          MakeTable(DefaultsTableRows(static_cast<ControlType>(code)));
    }
    return built;
  }();
  const std::int16_t code = TypeCode(type);
  if (code < TypeCode(kFirstControlType) || code > TypeCode(kLastControlType)) return nullptr;
  return &tables[static_cast<std::size_t>(code)];
}

// Binary search of one of the table's sorted position indexes.
const CatalogueEntry* FindIn(const CatalogueTable* table,
                             const std::vector<std::size_t> CatalogueTable::*index,
                             std::string_view CatalogueEntry::*field, std::string_view wanted) {
  if (table == nullptr) return nullptr;
  const std::vector<std::size_t>& positions = table->*index;
  const auto found = std::lower_bound(positions.begin(), positions.end(), wanted,
                                      [&](std::size_t position, std::string_view value) {
                                        return table->entries[position].*field < value;
                                      });
  if (found == positions.end() || table->entries[*found].*field != wanted) return nullptr;
  return &table->entries[*found];
}

}  // namespace

std::size_t DefaultsCatalogue::Count() const {
  return table_ == nullptr ? 0 : table_->entries.size();
}

const CatalogueEntry& DefaultsCatalogue::At(std::size_t position) const {
  if (position < 1 || position > Count()) {
    host::RaiseHostError(host::errors::kSubscriptOutOfRange);
  }
  return table_->entries[position - 1];
}

const CatalogueEntry* DefaultsCatalogue::Find(std::string_view propertyName) const {
  return FindIn(table_, &CatalogueTable::byName, &CatalogueEntry::propertyName, propertyName);
}

const CatalogueEntry* DefaultsCatalogue::FindByKey(std::string_view keyCode) const {
  return FindIn(table_, &CatalogueTable::byKey, &CatalogueEntry::keyCode, keyCode);
}

host::Variant DefaultsCatalogue::Get(const host::Control& control,
                                     const CatalogueEntry& entry) const {
  return table_->properties->Get(control, IndexOf(entry));
}

const host::Variant& DefaultsCatalogue::Peek(const host::Control& control,
                                             const CatalogueEntry& entry,
                                             host::Variant& computed) const {
  return table_->properties->Peek(control, IndexOf(entry), computed);
}

void DefaultsCatalogue::Set(host::Control& control, const CatalogueEntry& entry,
                            const host::Variant& value) const {
  table_->properties->Set(control, IndexOf(entry), value);
}

std::size_t DefaultsCatalogue::IndexOf(const CatalogueEntry& entry) const {
  return static_cast<std::size_t>(&entry - table_->entries.data());
}

const CatalogueEntry* DefaultsCatalogue::begin() const {
  return table_ == nullptr ? nullptr : table_->entries.data();
}

const CatalogueEntry* DefaultsCatalogue::end() const {
  return table_ == nullptr ? nullptr : table_->entries.data() + table_->entries.size();
}

DefaultsCatalogue BuildDefaultsCatalogue(ControlType type) {
  return DefaultsCatalogue(TableOf(type));
}

}  // namespace tavorin::detail
