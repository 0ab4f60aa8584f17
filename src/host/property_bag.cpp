#include <tavorin/host/property_bag.h>

#include <bit>
#include <chrono>
#include <cstdint>
#include <string_view>

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>

#include "host/bag_format.h"
#include "host/persistence.h"

namespace tavorin::host {
namespace {

using detail::BagEntry;
using detail::PersistedObject;
using detail::StoredValue;

std::uint64_t Mix(std::uint64_t x) {
  x ^= x >> 32;
  x *= 0xD6E8FEB86659FD93ull;
  x ^= x >> 32;
  x *= 0xD6E8FEB86659FD93ull;
  return x ^ (x >> 32);
}

// Seeded once per process, so that names read from an image cannot be chosen
// to collide and turn look-ups quadratic. Images never depend on it.
std::uint64_t HashSeed() {
  static const std::uint64_t seed = Mix(
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&seed)));
  return seed;
}

std::uint64_t HashName(std::string_view name) {
  std::uint64_t hash = HashSeed() ^ Mix(name.size());
  std::uint64_t word = 0;
  int bytesInWord = 0;
  for (const char c : name) {
    word |= static_cast<std::uint64_t>(static_cast<unsigned char>(c)) << (8 * bytesInWord);
    if (++bytesInWord == 8) {
      hash = Mix(hash ^ word);
      word = 0;
      bytesInWord = 0;
    }
  }
  return Mix(hash ^ word);
}

// Positions of the bag's entries by name: open addressing with linear
// probing, at most half full. It keeps positions and hashes only; names are
// compared in the entries themselves.
class NameIndex {
 public:
  static constexpr std::size_t kNotFound = SIZE_MAX;

  std::size_t Find(std::string_view name, std::uint64_t hash,
                   const std::vector<BagEntry>& entries) const {
    if (slots_.empty()) return kNotFound;
    for (std::size_t i = hash & Mask();; i = (i + 1) & Mask()) {
      const Slot& slot = slots_[i];
      if (slot.position_plus_one == 0) return kNotFound;
      const std::size_t position = slot.position_plus_one - 1;
      if (slot.hash == hash && entries[position].name == name) return position;
    }
  }

  /// Makes room for `count` names, so that inserting up to that many
  /// allocates nothing.
  void Reserve(std::size_t count) {
    std::size_t size = slots_.empty() ? 16 : slots_.size();
    while (size / 2 < count) size *= 2;
    if (size != slots_.size()) Rehash(size);
  }

  /// Records a name that is not in the index yet. Reserve first.
  void InsertAbsent(std::size_t position, std::uint64_t hash) {
    std::size_t i = hash & Mask();
    while (slots_[i].position_plus_one != 0) i = (i + 1) & Mask();
    slots_[i] = {position + 1, hash};
  }

 private:
  struct Slot {
    std::size_t position_plus_one = 0;  // 0: empty
    std::uint64_t hash = 0;
  };

  std::size_t Mask() const { return slots_.size() - 1; }

  void Rehash(std::size_t size) {
    std::vector<Slot> old(size);
    old.swap(slots_);
    for (const Slot& slot : old) {
      if (slot.position_plus_one != 0) InsertAbsent(slot.position_plus_one - 1, slot.hash);
    }
  }

  std::vector<Slot> slots_;  // a power of two in size
};

bool IsNumeric(VarType type) {
  switch (type) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
    case VarType::Date:
    case VarType::Decimal:
    case VarType::Boolean:
    case VarType::Byte:
      return true;
    default:
      return false;
  }
}

bool NumbersEqual(const Variant& a, const Variant& b) {
  // Two Currency values compare exactly; as doubles, large amounts would not.
  const auto* x = a.Get<CurrencyValue>();
  const auto* y = b.Get<CurrencyValue>();
  if (x != nullptr && y != nullptr) return *x == *y;
  return CDbl(a) == CDbl(b);
}

bool TextEqualsNumber(const Variant& text, const Variant& number) {
  try {
    return NumbersEqual(ConvertTo(text, number.Type()), number);
  } catch (const RuntimeError&) {
    return false;  // text that is no such number differs from it
  }
}

bool EqualsDefault(const Variant& value, const Variant& defaultValue) {
  const VarType type = value.Type();
  const VarType defaultType = defaultValue.Type();
  if (IsNumeric(type) && IsNumeric(defaultType)) return NumbersEqual(value, defaultValue);
  if (type == VarType::String && IsNumeric(defaultType)) {
    return TextEqualsNumber(value, defaultValue);
  }
  if (defaultType == VarType::String && IsNumeric(type)) {
    return TextEqualsNumber(defaultValue, value);
  }
  if (value.IsObject() || defaultValue.IsObject()) {
    return value.IsNothing() && defaultValue.IsNothing();
  }
  return value == defaultValue;
}

// The persistable object behind `value`; nullptr for any other value,
// Nothing included. Raises 13 for an object the bag could not read back.
std::shared_ptr<PersistableObject> PersistableOf(const Variant& value) {
  if (!value.IsObject() || value.IsNothing()) return nullptr;
  auto persistable = std::dynamic_pointer_cast<PersistableObject>(value.AsObject());
  if (!persistable || detail::FindStateLoader(persistable->TypeName()) == nullptr) {
    RaiseHostError(errors::kTypeMismatch);
  }
  return persistable;
}

Variant ToVariant(const StoredValue& stored) {
  if (const auto* object = std::get_if<PersistedObject>(&stored)) {
    return Variant::Object(detail::LoadObjectState(object->type_name, object->state));
  }
  return std::get<Variant>(stored);
}

}  // namespace

struct PropertyBag::Impl {
  std::vector<BagEntry> entries;  // in the order names were first written
  NameIndex index;

  std::size_t Find(std::string_view name) const {
    return index.Find(name, HashName(name), entries);
  }
};

PropertyBag::PropertyBag() : impl_(std::make_unique<Impl>()) {}
PropertyBag::~PropertyBag() = default;

void PropertyBag::WriteProperty(const std::string& name, const Variant& value,
                                const Variant& defaultValue) {
  if (value.IsMissing()) RaiseHostError(errors::kInvalidProcedureCall);
  const auto persistable = PersistableOf(value);
  if (!defaultValue.IsMissing() && EqualsDefault(value, defaultValue)) return;

  StoredValue stored = value;
  if (persistable) stored = PersistedObject{persistable->TypeName(), persistable->SaveState()};

  auto& entries = impl_->entries;
  const std::uint64_t hash = HashName(name);
  const std::size_t position = impl_->index.Find(name, hash, entries);
  if (position != NameIndex::kNotFound) {
    entries[position].value = std::move(stored);
    return;
  }
  impl_->index.Reserve(entries.size() + 1);
  entries.push_back({name, std::move(stored)});
  impl_->index.InsertAbsent(entries.size() - 1, hash);
}

Variant PropertyBag::ReadProperty(const std::string& name, const Variant& defaultValue) const {
  const std::size_t position = impl_->Find(name);
  if (position == NameIndex::kNotFound) return defaultValue.IsMissing() ? Variant() : defaultValue;
  return ToVariant(impl_->entries[position].value);
}

ByteArray PropertyBag::Contents() const { return detail::EncodeBagImage(impl_->entries); }

void PropertyBag::SetContents(const ByteArray& image) {
  Impl loaded;
  loaded.entries = detail::DecodeBagImage(image);
  loaded.index.Reserve(loaded.entries.size());
  for (std::size_t position = 0; position < loaded.entries.size(); ++position) {
    const BagEntry& entry = loaded.entries[position];
    const std::uint64_t hash = HashName(entry.name);
    if (loaded.index.Find(entry.name, hash, loaded.entries) != NameIndex::kNotFound) {
      RaiseHostError(errors::kInvalidFileFormat);
    }
    loaded.index.InsertAbsent(position, hash);
    // An object that will not load now would fail every later read.
    if (const auto* object = std::get_if<PersistedObject>(&entry.value)) {
      detail::LoadObjectState(object->type_name, object->state);
    }
  }
  *impl_ = std::move(loaded);
}

std::size_t PropertyBag::Count() const { return impl_->entries.size(); }

std::vector<std::string> PropertyBag::Names() const {
  std::vector<std::string> names;
  names.reserve(impl_->entries.size());
  for (const BagEntry& entry : impl_->entries) names.push_back(entry.name);
  return names;
}

}  // namespace tavorin::host
