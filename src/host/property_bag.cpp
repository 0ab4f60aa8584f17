#include <tavorin/host/property_bag.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>

#include "host/bag_format.h"
#include "host/persistence.h"
#include "host/portability.h"

namespace tavorin::host {
namespace {

using detail::RecordName;

// Seeded once per process, so that names read from an image cannot be chosen
// to collide and turn look-ups quadratic. Images never depend on it.
std::uint64_t HashSeed() {
  static const std::uint64_t seed =
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
      static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(&seed)) * 0x9E3779B97F4A7C15ull;
  return seed;
}

// The full product of two words, its halves folded together: every input bit
// reaches the high bits, which the name index uses.
std::uint64_t MultiplyFold(std::uint64_t a, std::uint64_t b) {
  const detail::WideProduct product = detail::MultiplyWide(a, b);
  return product.low ^ product.high;
}

std::uint64_t Load(const unsigned char* bytes, std::size_t size) {
  std::uint64_t word = 0;
  std::memcpy(&word, bytes, size);  // byte order does not matter here
  return word;
}

// Names are short, so they are taken in at most two overlapping loads where
// that suffices; the name's size goes into the hash, so the overlap makes no
// two names alike.
std::uint64_t HashName(std::string_view name) {
  constexpr std::uint64_t kOdd1 = 0xA0761D6478BD642Full;
  constexpr std::uint64_t kOdd2 = 0xE7037ED1A0B428DBull;
  const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
  const std::size_t size = name.size();
  std::uint64_t state = HashSeed();
  std::uint64_t first = 0;
  std::uint64_t last = 0;
  if (size >= 8) {
    std::size_t i = 0;
    for (; i + 16 < size; i += 16) {
      state = MultiplyFold(Load(bytes + i, 8) ^ kOdd1, Load(bytes + i + 8, 8) ^ state);
    }
    first = Load(bytes + (size - i > 8 ? i : size - 8), 8);
    last = Load(bytes + size - 8, 8);
  } else if (size >= 4) {
    first = Load(bytes, 4);
    last = Load(bytes + size - 4, 4);
  } else if (size > 0) {
    first = std::uint64_t{bytes[0]} << 16 | std::uint64_t{bytes[size / 2]} << 8 | bytes[size - 1];
  }
  return MultiplyFold(MultiplyFold(first ^ kOdd1, last ^ state) ^ size, kOdd2 ^ state);
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

  /// Where a look-up ended: at the name's position, or at the free slot where
  /// the name would go.
  struct Probe {
    std::size_t slot;
    std::size_t position;  // kNotFound when the name is absent
  };

  /// Looks `name` up; `nameAt(position)` gives the name stored at a position.
  /// Reserve room for one more name first, so that the probe ends somewhere.
  template <typename NameAt>
  Probe Find(std::string_view name, std::uint64_t hash, const NameAt& nameAt) const {
    if (slots_.empty()) return {0, kNotFound};
    const std::uint32_t check = HashCheck(hash);
    for (std::size_t i = Home(check);; i = (i + 1) & Mask()) {
      const Slot slot = slots_[i];
      if (slot.positionPlusOne == 0) return {i, kNotFound};
      const std::size_t position = slot.positionPlusOne - 1;
      if (slot.hashCheck == check && nameAt(position) == name) return {i, position};
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
      if (slot.positionPlusOne != 0) Place(slot);
    }
  }

  /// Starts bringing the first slot of `hash` into the cache.
  void Prefetch(std::uint64_t hash) const {
    if (!slots_.empty()) detail::PrefetchForRead(&slots_[Home(HashCheck(hash))]);
  }

  /// Records the name that `probe` did not find, at `position`.
  void Insert(const Probe& probe, std::size_t position, std::uint64_t hash) {
    slots_[probe.slot] = {static_cast<std::uint32_t>(position + 1), HashCheck(hash)};
  }

 private:
  struct Slot {
    std::uint32_t positionPlusOne = 0;  // 0: empty
    std::uint32_t hashCheck = 0;
  };

  static std::uint32_t HashCheck(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash >> 32);
  }
  std::size_t Home(std::uint32_t check) const {
    return static_cast<std::size_t>(std::uint64_t{check} >> (32 - slot_bits_));
  }
  std::size_t Mask() const { return slots_.size() - 1; }

  void Place(Slot slot) {
    std::size_t i = Home(slot.hashCheck);
    while (slots_[i].positionPlusOne != 0) i = (i + 1) & Mask();
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

}  // namespace

// The entries live as their records in the image's encoding, one after
// another in `records`: writing one is encoding it, the image is mostly a copy
// of `records`, and loading an image copies its records in whole.
struct PropertyBag::Impl {
  // Where an entry's record lies in `records`. Four bytes an offset keep the
  // entries of a large bag small; four gigabytes of records are the limit.
  struct Span {
    std::uint32_t begin;
    std::uint32_t end;
  };
  static constexpr std::size_t kMaxRecordBytes = UINT32_MAX;

  static Span SpanOf(std::size_t begin, std::size_t end) {
    if (end > kMaxRecordBytes) RaiseHostError(errors::kOutOfMemory);
    return {static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end)};
  }

  ByteArray records;
  // Bytes of records that a later write of their name replaced. They stay
  // until they make up half of `records`, which is then packed.
  std::size_t staleBytes = 0;
  std::vector<Span> entries;  // in the order names were first written
  NameIndex index;
  // Names are mostly read in the order they were written, so the entry after
  // the one found last is tried before the index. Atomic, as reading is const.
  mutable std::atomic<std::size_t> nextRead{0};

  static std::span<const std::uint8_t> RecordIn(const ByteArray& bytes, Span span) {
    return std::span(bytes).subspan(span.begin, span.end - span.begin);
  }
  std::span<const std::uint8_t> Record(std::size_t position) const {
    return RecordIn(records, entries[position]);
  }
  std::string_view NameAt(std::size_t position) const { return RecordName(Record(position)); }

  std::size_t Find(std::string_view name) const {
    std::size_t position = nextRead.load(std::memory_order_relaxed);
    if (position >= entries.size() || NameAt(position) != name) {
      position =
          index.Find(name, HashName(name), [this](std::size_t at) { return NameAt(at); }).position;
      if (position == NameIndex::kNotFound) return position;
    }
    nextRead.store(position + 1, std::memory_order_relaxed);
    return position;
  }

  // Stores the record that `put` appends to `records` under `name`.
  template <typename PutRecord>
  void Store(std::string_view name, const PutRecord& put) {
    index.Reserve(entries.size() + 1);
    const std::uint64_t hash = HashName(name);
    // The name's slot comes into the cache while the record is written.
    index.Prefetch(hash);
    const std::size_t begin = records.size();
    NameIndex::Probe probe;
    try {
      put(records);
      probe = index.Find(name, hash, [this](std::size_t at) { return NameAt(at); });
      const Span stored = SpanOf(begin, records.size());
      if (probe.position == NameIndex::kNotFound) {
        entries.push_back(stored);
      } else {
        staleBytes += entries[probe.position].end - entries[probe.position].begin;
        entries[probe.position] = stored;
      }
    } catch (...) {
      records.resize(begin);
      throw;
    }
    if (probe.position == NameIndex::kNotFound) {
      index.Insert(probe, entries.size() - 1, hash);
    } else if (staleBytes > records.size() / 2) {
      PackRecords();
    }
  }

  // Drops the stale records. The value is stored already, so a failure to
  // find memory for this leaves the records as they are.
  void PackRecords() {
    ByteArray packed;
    try {
      packed.reserve(records.size() - staleBytes);
    } catch (const std::bad_alloc&) {
      return;
    }
    for (Span& entry : entries) {
      const auto record = RecordIn(records, entry);
      const std::size_t begin = packed.size();
      packed.insert(packed.end(), record.begin(), record.end());
      entry = {static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(packed.size())};
    }
    records.swap(packed);
    staleBytes = 0;
  }
};

PropertyBag::PropertyBag() : impl_(std::make_unique<Impl>()) {}
PropertyBag::~PropertyBag() = default;

void PropertyBag::WriteProperty(std::string_view name, const Variant& value,
                                const Variant& defaultValue) {
  if (value.IsMissing()) RaiseHostError(errors::kInvalidProcedureCall);
  const auto persistable = PersistableOf(value);
  if (!defaultValue.IsMissing() && EqualsDefault(value, defaultValue)) return;

  if (persistable) {
    impl_->Store(name, [&](ByteArray& out) {
      detail::PutObjectRecord(out, name, persistable->TypeName(), persistable->SaveState());
    });
    return;
  }
  impl_->Store(name, [&](ByteArray& out) { detail::PutValueRecord(out, name, value); });
}

Variant PropertyBag::ReadProperty(std::string_view name, const Variant& defaultValue) const {
  const std::size_t position = impl_->Find(name);
  if (position == NameIndex::kNotFound) return defaultValue.IsMissing() ? Variant() : defaultValue;
  return detail::RecordValue(impl_->Record(position));
}

ByteArray PropertyBag::Contents() const {
  // Records of entries that follow one another are copied as one run; with
  // no stale records between them that is all of them at once.
  std::vector<std::span<const std::uint8_t>> runs;
  Impl::Span run{0, 0};
  for (const Impl::Span entry : impl_->entries) {
    if (entry.begin != run.end) {
      if (run.end != run.begin) runs.push_back(Impl::RecordIn(impl_->records, run));
      run.begin = entry.begin;
    }
    run.end = entry.end;
  }
  if (run.end != run.begin) runs.push_back(Impl::RecordIn(impl_->records, run));
  return detail::EncodeBagImage(impl_->entries.size(), runs);
}

// What loading allocates grows with the image: up to about twenty bytes an
// image byte, for an image of empty entries. An image too large for that is
// an expected failure, raised like a file too large to read.
void PropertyBag::SetContents(const ByteArray& image) try {
  const detail::ImageRecords found = detail::OpenBagImage(image);
  ByteArray records(found.bytes.begin(), found.bytes.end());
  // The count is known to fit the bytes, so reserving for it is safe.
  std::vector<Impl::Span> entries;
  entries.reserve(found.count);
  detail::ByteReader reader(records);
  for (std::size_t position = 0; position < found.count; ++position) {
    const std::size_t begin = records.size() - reader.Remaining();
    detail::TakeRecord(reader);
    entries.push_back(Impl::SpanOf(begin, records.size() - reader.Remaining()));
  }
  if (!reader.AtEnd()) detail::RaiseInvalidFormat();

  NameIndex index;
  index.Reserve(found.count);
  const auto nameAt = [&](std::size_t at) {
    return RecordName(Impl::RecordIn(records, entries[at]));
  };
  // Names are hashed a few places ahead, so that the slot of each is already
  // on its way into the cache when its turn comes.
  constexpr std::size_t kHashesAhead = 8;
  std::uint64_t hashes[kHashesAhead];
  const auto hashAhead = [&](std::size_t at) {
    if (at >= found.count) return;
    hashes[at % kHashesAhead] = HashName(nameAt(at));
    index.Prefetch(hashes[at % kHashesAhead]);
  };
  for (std::size_t position = 0; position < kHashesAhead; ++position) hashAhead(position);
  for (std::size_t position = 0; position < found.count; ++position) {
    const std::uint64_t hash = hashes[position % kHashesAhead];
    const NameIndex::Probe probe = index.Find(nameAt(position), hash, nameAt);
    if (probe.position != NameIndex::kNotFound) detail::RaiseInvalidFormat();
    index.Insert(probe, position, hash);
    hashAhead(position + kHashesAhead);
  }
  impl_->records = std::move(records);
  impl_->staleBytes = 0;
  impl_->entries = std::move(entries);
  impl_->index = std::move(index);
  impl_->nextRead = 0;
} catch (const std::bad_alloc&) {
  RaiseHostError(errors::kOutOfMemory);
}

std::size_t PropertyBag::Count() const { return impl_->entries.size(); }

std::vector<std::string> PropertyBag::Names() const {
  std::vector<std::string> names;
  names.reserve(impl_->entries.size());
  for (std::size_t position = 0; position < impl_->entries.size(); ++position) {
    names.emplace_back(impl_->NameAt(position));
  }
  return names;
}

}  // namespace tavorin::host
