#include <tavorin/host/property_bag.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
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
  std::size_t i = 0;
  for (; i + 8 <= name.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, name.data() + i, sizeof word);  // byte order does not matter here
    hash = Mix(hash ^ word);
  }
  std::uint64_t tail = 0;
  for (int shift = 0; i < name.size(); ++i, shift += 8) {
    tail |= static_cast<std::uint64_t>(static_cast<unsigned char>(name[i])) << shift;
  }
  return Mix(hash ^ tail);
}

// Positions of the bag's entries by name: open addressing with linear
// probing, at most half full. A slot is eight bytes, a position and the high
// half of its name's hash, so that the table of a large bag stays small for
// the caches and a probe rarely looks at an entry whose name differs. The
// slot's place is taken from the hash's top bits, which the slot keeps, so
// growing the table never hashes a name again.
class NameIndex {
 public:
  static constexpr std::size_t kNotFound = SIZE_MAX;
  /// The most entries a bag holds: the table then has 2^32 slots, as many as
  /// the kept half of a hash can place.
  static constexpr std::size_t kMaxEntries = std::size_t{1} << 31;

  std::size_t Find(std::string_view name, std::uint64_t hash,
                   const std::vector<BagEntry>& entries) const {
    if (slots_.empty()) return kNotFound;
    const std::uint32_t check = HashCheck(hash);
    for (std::size_t i = Home(check);; i = (i + 1) & Mask()) {
      const Slot slot = slots_[i];
      if (slot.position_plus_one == 0) return kNotFound;
      const std::size_t position = slot.position_plus_one - 1;
      if (slot.hash_check == check && entries[position].name == name) return position;
    }
  }

  /// Makes room for `count` names, so that inserting up to that many
  /// allocates nothing.
  void Reserve(std::size_t count) {
    if (count <= slots_.size() / 2) return;
    if (count > kMaxEntries) RaiseHostError(errors::kOutOfMemory);
    int bits = std::max(slot_bits_, 4);
    while ((std::size_t{1} << bits) / 2 < count) ++bits;
    std::vector<Slot> old(std::size_t{1} << bits);
    old.swap(slots_);
    slot_bits_ = bits;
    for (const Slot& slot : old) {
      if (slot.position_plus_one != 0) Place(slot);
    }
  }

  /// Starts bringing the first slot of `hash` into the cache.
  void Prefetch(std::uint64_t hash) const {
    if (!slots_.empty()) __builtin_prefetch(&slots_[Home(HashCheck(hash))]);
  }

  /// Records a name that is not in the index yet. Reserve first.
  void InsertAbsent(std::size_t position, std::uint64_t hash) {
    Place({static_cast<std::uint32_t>(position + 1), HashCheck(hash)});
  }

 private:
  struct Slot {
    std::uint32_t position_plus_one = 0;  // 0: empty
    std::uint32_t hash_check = 0;
  };

  static std::uint32_t HashCheck(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }
  std::size_t Home(std::uint32_t check) const {
    return static_cast<std::size_t>(std::uint64_t{check} >> (32 - slot_bits_));
  }
  std::size_t Mask() const { return slots_.size() - 1; }

  void Place(Slot slot) {
    std::size_t i = Home(slot.hash_check);
    while (slots_[i].position_plus_one != 0) i = (i + 1) & Mask();
    slots_[i] = slot;
  }

  std::vector<Slot> slots_;  // 2^slot_bits_ of them, or none
  int slot_bits_ = 0;
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
  // Names are mostly read in the order they were written, so the entry after
  // the one found last is tried before the index. Atomic, as reading is const.
  mutable std::atomic<std::size_t> next_read{0};

  std::size_t Find(std::string_view name) const {
    std::size_t position = next_read.load(std::memory_order_relaxed);
    if (position >= entries.size() || entries[position].name != name) {
      position = index.Find(name, HashName(name), entries);
      if (position == NameIndex::kNotFound) return position;
    }
    next_read.store(position + 1, std::memory_order_relaxed);
    return position;
  }
};

PropertyBag::PropertyBag() : impl_(std::make_unique<Impl>()) {}
PropertyBag::~PropertyBag() = default;

void PropertyBag::WriteProperty(const std::string& name, const Variant& value,
                                const Variant& defaultValue) {
  if (value.IsMissing()) RaiseHostError(errors::kInvalidProcedureCall);
  const auto persistable = PersistableOf(value);
  if (!defaultValue.IsMissing() && EqualsDefault(value, defaultValue)) return;

  auto& entries = impl_->entries;
  impl_->index.Reserve(entries.size() + 1);
  // The name's slot comes into the cache while the value is copied.
  const std::uint64_t hash = HashName(name);
  impl_->index.Prefetch(hash);
  StoredValue stored =
      persistable ? StoredValue(PersistedObject{persistable->TypeName(), persistable->SaveState()})
                  : StoredValue(value);

  const std::size_t position = impl_->index.Find(name, hash, entries);
  if (position != NameIndex::kNotFound) {
    entries[position].value = std::move(stored);
    return;
  }
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
  std::vector<BagEntry> entries = detail::DecodeBagImage(image);
  NameIndex index;
  const std::size_t count = entries.size();
  index.Reserve(count);
  // All names are hashed first, so that the slot of a name a few places
  // ahead is already on its way into the cache when its turn comes.
  constexpr std::size_t kPrefetchDistance = 8;
  std::vector<std::uint64_t> hashes(count);
  for (std::size_t position = 0; position < count; ++position) {
    hashes[position] = HashName(entries[position].name);
  }
  for (std::size_t position = 0; position < count; ++position) {
    if (position + kPrefetchDistance < count) {
      index.Prefetch(hashes[position + kPrefetchDistance]);
    }
    const BagEntry& entry = entries[position];
    const std::uint64_t hash = hashes[position];
    if (index.Find(entry.name, hash, entries) != NameIndex::kNotFound) {
      RaiseHostError(errors::kInvalidFileFormat);
    }
    index.InsertAbsent(position, hash);
    // An object that will not load now would fail every later read.
    if (const auto* object = std::get_if<PersistedObject>(&entry.value)) {
      detail::LoadObjectState(object->type_name, object->state);
    }
  }
  impl_->entries = std::move(entries);
  impl_->index = std::move(index);
  impl_->next_read = 0;
}

std::size_t PropertyBag::Count() const { return impl_->entries.size(); }

std::vector<std::string> PropertyBag::Names() const {
  std::vector<std::string> names;
  names.reserve(impl_->entries.size());
  for (const BagEntry& entry : impl_->entries) names.push_back(entry.name);
  return names;
}

}  // namespace tavorin::host
