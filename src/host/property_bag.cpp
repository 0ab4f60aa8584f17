#include <tavorin/host/property_bag.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <mutex>
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
// two names alike. `seed` is HashSeed(), which a caller hashing many names
// reads once.
std::uint64_t HashName(std::string_view name, std::uint64_t seed) {
  constexpr std::uint64_t kOdd1 = 0xA0761D6478BD642Full;
  constexpr std::uint64_t kOdd2 = 0xE7037ED1A0B428DBull;
  const auto* bytes = reinterpret_cast<const unsigned char*>(name.data());
  const std::size_t size = name.size();
  std::uint64_t state = seed;
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
// probing, at most half full. A slot is four bytes: the position plus one in
// its low bits, as many as a position of the table needs (0: empty), and
// above them as much of the name's hash as fits, so that a probe rarely looks
// at an entry whose name differs. The table need not be a power of two in
// size: a hash's top bits are scaled onto it. For the 100,000 names of a
// stored list of 32,767 items this makes 800 KiB, where eight-byte slots in a
// power-of-two table made 2 MiB: loading that list's image peaked at 3.0
// times the image, and now at 1.84 (property_bag_bench). Two thirds full made
// 1.70, but a new name's probe, which walks to a free slot, took twice as
// long on average, and writing those names 8% longer.
class NameIndex {
 public:
  static constexpr std::size_t kNotFound = SIZE_MAX;
  /// The most entries a bag holds, so that a position and a flag of hash
  /// fit a slot.
  static constexpr std::size_t kMaxEntries = std::size_t{1} << 30;

  /// Where a look-up ended: at the name's position, or at the free slot where
  /// the name would go.
  struct Probe {
    std::size_t slot;
    std::size_t position;  // kNotFound when the name is absent
  };

  /// Looks up the name whose hash is `hash`; `isName(position)` tells
  /// whether the entry at a position has that name, asked only where the
  /// slot's flag of hash matches. Make room for one more name first, so that
  /// the probe ends somewhere.
  template <typename IsName>
  Probe Find(std::uint64_t hash, const IsName& isName) const {
    if (slots_.empty()) return {0, kNotFound};
    const std::uint32_t check = Check(hash);
    for (std::size_t i = Home(hash);; i = Next(i)) {
      const std::uint32_t slot = slots_[i];
      if (slot == 0) return {i, kNotFound};
      const std::size_t position = (slot & position_mask_) - 1;
      if ((slot & ~position_mask_) == check && isName(position)) return {i, position};
    }
  }

  /// Makes room for `count` names, so that inserting up to that many
  /// allocates nothing. A table that grows makes room for `spare` more, and
  /// at least doubles, so that a growing bag grows its table a few times
  /// only; it starts empty: returns whether it did, for the caller to place
  /// its names again. A failure leaves the table as it was.
  bool MakeRoom(std::size_t count, std::size_t spare) {
    if (count <= Capacity()) return false;
    if (count > kMaxEntries) RaiseHostError(errors::kOutOfMemory);
    const std::size_t room = std::min(std::max(count + spare, Capacity() * 2), kMaxEntries);
    const std::size_t size = std::max<std::size_t>(16, room * 2 + 1);
    std::vector<std::uint32_t>(size, 0).swap(slots_);
    position_mask_ = static_cast<std::uint32_t>(std::bit_ceil(size) - 1);
    return true;
  }

  /// Starts bringing the first slot of `hash` into the cache.
  void Prefetch(std::uint64_t hash) const {
    if (!slots_.empty()) detail::PrefetchForRead(&slots_[Home(hash)]);
  }

  /// Records the name that `probe` did not find, at `position`.
  void Insert(const Probe& probe, std::size_t position, std::uint64_t hash) {
    slots_[probe.slot] = Check(hash) | static_cast<std::uint32_t>(position + 1);
  }

  /// Records at `position` a name known to be absent.
  void InsertAbsent(std::size_t position, std::uint64_t hash) {
    std::size_t i = Home(hash);
    while (slots_[i] != 0) i = Next(i);
    Insert({i, kNotFound}, position, hash);
  }

 private:
  // Half of the slots.
  std::size_t Capacity() const { return slots_.size() / 2; }
  std::uint32_t Check(std::uint64_t hash) const {
    return static_cast<std::uint32_t>(hash) & ~position_mask_;
  }
  std::size_t Home(std::uint64_t hash) const {
    return static_cast<std::size_t>(((hash >> 32) * slots_.size()) >> 32);
  }
  std::size_t Next(std::size_t i) const { return i + 1 == slots_.size() ? 0 : i + 1; }

  std::vector<std::uint32_t> slots_;
  std::uint32_t position_mask_ = 0;
};

// Where each entry's record begins among the records.
using Entries = detail::GrowableArray<std::uint32_t>;

// The bytes from an entry's record on: the record is at their front.
std::span<const std::uint8_t> RecordAt(const detail::RecordBytes& records, std::uint32_t begin) {
  return records.View().subspan(begin);
}

// The name of the entry at `position`.
std::string_view NameAt(const detail::RecordBytes& records, const Entries& entries,
                        std::size_t position) {
  return RecordName(RecordAt(records, entries[position]));
}

// Calls `visit(at, hash)` for the entries from `from` to `to`, in order, with
// the hash of each entry's name. Names are hashed a few entries ahead, and
// their slots fetched, so that the slot of each is on its way into the cache
// when its turn comes: a table larger than the cache costs a miss a name
// otherwise. Only the hashes are kept ahead, names being compared only where
// a slot's flag of hash matches, and the seed is read once: with the
// distinct placing below, this took the write of a list's 100,000 entries
// and their image from 47.2M to 43.1M instructions, and from 2.8 to 2.6
// times msgpack's write, timed in turn (property_bag_bench).
template <typename Visit>
void VisitHashes(const detail::RecordBytes& records, const Entries& entries, std::size_t from,
                 std::size_t to, const NameIndex& index, const Visit& visit) {
  const std::uint64_t seed = HashSeed();
  constexpr std::size_t kHashesAhead = 8;
  std::uint64_t ahead[kHashesAhead];
  const auto hashAhead = [&](std::size_t at) {
    if (at >= to) return;
    ahead[at % kHashesAhead] = HashName(NameAt(records, entries, at), seed);
    index.Prefetch(ahead[at % kHashesAhead]);
  };
  for (std::size_t at = from; at < from + kHashesAhead; ++at) hashAhead(at);
  for (std::size_t at = from; at < to; ++at) {
    visit(at, ahead[at % kHashesAhead]);
    hashAhead(at + kHashesAhead);
  }
}

// Enters the entries before `count`, whose names differ, into `index` with
// room made for them: what a table placed anew holds again, without the
// search for an earlier entry of the same name.
void PlaceDistinct(const detail::RecordBytes& records, const Entries& entries, std::size_t count,
                   NameIndex& index) {
  VisitHashes(records, entries, 0, count, index,
              [&](std::size_t at, std::uint64_t hash) { index.InsertAbsent(at, hash); });
}

// Enters the entries from `from` on into `index`, with room made for them.
// An entry whose name the index holds already goes to `repeated(earlier,
// entry)` and leaves `entries`, the entries after it moving up.
template <typename Repeated>
void IndexEntries(const detail::RecordBytes& records, Entries& entries, std::size_t from,
                  NameIndex& index, const Repeated& repeated) {
  std::size_t kept = from;
  // Entries before `kept` are indexed; `at` is not yet overwritten.
  VisitHashes(records, entries, from, entries.size(), index,
              [&](std::size_t at, std::uint64_t hash) {
                const NameIndex::Probe probe = index.Find(hash, [&](std::size_t position) {
                  return NameAt(records, entries, position) == NameAt(records, entries, at);
                });
                if (probe.position != NameIndex::kNotFound) {
                  repeated(probe.position, entries[at]);
                  return;
                }
                entries[kept] = entries[at];
                index.Insert(probe, kept++, hash);
              });
  entries.Truncate(kept);
}

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
  // An entry is where its record begins in `records`: a record says where it
  // ends. Four bytes an entry keep a large bag small; four gigabytes of
  // records are the limit.
  static constexpr std::size_t kMaxRecordBytes = UINT32_MAX;
  // Below these a batch of writes is indexed whatever the bag holds, so that
  // a small bag is not indexed at every write.
  static constexpr std::size_t kSmallestBatch = 16;
  static constexpr std::size_t kSmallestBatchBytes = 4096;

  static void CheckRecordBytes(std::size_t size) {
    if (size > kMaxRecordBytes) RaiseHostError(errors::kOutOfMemory);
  }

  detail::RecordBytes records;
  // Bytes of records that a later write of their name replaced. They stay
  // until they make up half of `records`, which is then packed; while there
  // are none, `records` holds the entries' records in the entries' order.
  std::size_t staleBytes = 0;
  // In the order names were first written. A write only appends its record
  // and entry; the entries from `indexed` on are checked for names written
  // before and entered into `index` a batch at a time, so that the index's
  // slots can be fetched ahead, at the latest when the bag is read. Against
  // checking each write at once, this took the write of a list's 100,000
  // entries and their image from 62.3M to 58.2M instructions, and from about
  // 13 to 10 ms of CPU time (property_bag_bench).
  Entries entries;
  std::size_t indexed = 0;
  // Where the records of the unindexed writes begin; stale bytes among them
  // are not counted yet, so their batch ends when they match those before.
  std::size_t unindexedRecords = 0;
  NameIndex index;
  // Reading is const and may go on in several threads at once; the first
  // read after writes indexes them, one thread doing it while the others wait.
  std::atomic<bool> unindexedWrites{false};
  std::mutex indexing;
  // Names are mostly read in the order they were written, so the entry after
  // the one found last is tried before the index. Atomic, as reading is const.
  std::atomic<std::size_t> nextRead{0};

  std::span<const std::uint8_t> Record(std::size_t position) const {
    return RecordAt(records, entries[position]);
  }
  std::string_view NameAt(std::size_t position) const {
    return host::NameAt(records, entries, position);
  }

  std::size_t Find(std::string_view name) {
    IndexWrites();
    std::size_t position = nextRead.load(std::memory_order_relaxed);
    if (position >= entries.size() || NameAt(position) != name) {
      position =
          index.Find(HashName(name, HashSeed()), [&](std::size_t at) { return NameAt(at) == name; })
              .position;
      if (position == NameIndex::kNotFound) return position;
    }
    nextRead.store(position + 1, std::memory_order_relaxed);
    return position;
  }

  // Stores the record that `put` appends to `records` under `name`.
  template <typename PutRecord>
  void Store(const PutRecord& put) {
    const std::size_t unindexed = entries.size() - indexed;
    if (unindexed >= std::max(indexed, kSmallestBatch) ||
        records.size() - unindexedRecords >= std::max(unindexedRecords, kSmallestBatchBytes)) {
      IndexBatch();
    }
    const std::size_t begin = records.size();
    try {
      put(records);
      CheckRecordBytes(records.size());
      entries.PushBack(static_cast<std::uint32_t>(begin));
    } catch (...) {
      records.Truncate(begin);
      throw;
    }
    unindexedWrites.store(true, std::memory_order_relaxed);
  }

  // Indexes the writes not yet indexed, once for all threads reading.
  void IndexWrites() {
    if (!unindexedWrites.load(std::memory_order_acquire)) return;
    const std::lock_guard lock(indexing);
    if (!unindexedWrites.load(std::memory_order_relaxed)) return;
    IndexBatch();
    unindexedWrites.store(false, std::memory_order_release);
  }

  // A write of a name written before replaces the earlier record; the entry
  // keeps its position.
  void IndexBatch() {
    // Room for as many again: the table is placed anew every other batch only.
    if (index.MakeRoom(entries.size(), entries.size())) {
      PlaceDistinct(records, entries, indexed, index);
    }
    IndexEntries(records, entries, indexed, index,
                 [this](std::size_t earlier, std::uint32_t later) {
                   staleBytes += detail::RecordSize(Record(earlier));
                   entries[earlier] = later;
                 });
    indexed = entries.size();
    if (staleBytes > records.size() / 2) PackRecords();
    unindexedRecords = records.size();
  }

  // Calls `take(run)` for each run of records that follow one another in
  // `records`, in the entries' order: `records` whole when nothing is stale.
  template <typename TakeRun>
  void ForEachRun(const TakeRun& take) {
    IndexWrites();
    if (staleBytes == 0) {
      if (!records.empty()) take(records.View());
      return;
    }
    std::size_t runBegin = 0;
    std::size_t runEnd = 0;
    for (const std::uint32_t begin : entries) {
      if (begin != runEnd) {
        if (runEnd != runBegin) take(records.View().subspan(runBegin, runEnd - runBegin));
        runBegin = begin;
      }
      runEnd = begin + detail::RecordSize(RecordAt(records, begin));
    }
    if (runEnd != runBegin) take(records.View().subspan(runBegin, runEnd - runBegin));
  }

  // Drops the stale records. The values are stored already, so a failure to
  // find memory for this leaves the records as they are.
  void PackRecords() {
    detail::RecordBytes packed;
    try {
      packed.Reserve(records.size() - staleBytes);
    } catch (const std::bad_alloc&) {
      return;
    }
    for (std::uint32_t& begin : entries) {
      const auto from = RecordAt(records, begin);
      const auto record = from.first(detail::RecordSize(from));
      begin = static_cast<std::uint32_t>(packed.size());
      packed.Append(record);
    }
    records = std::move(packed);
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
    impl_->Store([&](detail::RecordBytes& out) {
      detail::PutObjectRecord(out, name, persistable->TypeName(), persistable->SaveState());
    });
    return;
  }
  impl_->Store([&](detail::RecordBytes& out) { detail::PutValueRecord(out, name, value); });
}

Variant PropertyBag::ReadProperty(std::string_view name, const Variant& defaultValue) const {
  const std::size_t position = impl_->Find(name);
  if (position == NameIndex::kNotFound) return defaultValue.IsMissing() ? Variant() : defaultValue;
  return detail::RecordValue(impl_->Record(position));
}

ByteArray PropertyBag::Contents() const {
  std::vector<std::span<const std::uint8_t>> runs;
  impl_->ForEachRun([&](std::span<const std::uint8_t> run) { runs.push_back(run); });
  return detail::EncodeBagImage(impl_->entries.size(), runs);
}

// What loading allocates grows with the image: up to about twenty bytes an
// image byte, for an image of empty entries. An image too large for that is
// an expected failure, raised like a file too large to read.
void PropertyBag::SetContents(const ByteArray& image) try {
  const detail::ImageRecords found = detail::OpenBagImage(image);
  Impl::CheckRecordBytes(found.bytes.size());
  detail::RecordBytes records;
  records.Reserve(found.bytes.size());
  records.Append(found.bytes);
  // The count is known to fit the bytes, so reserving for it is safe.
  Entries entries;
  entries.Reserve(found.count);
  detail::ByteReader reader(records.View());
  for (std::size_t position = 0; position < found.count; ++position) {
    entries.PushBack(static_cast<std::uint32_t>(records.size() - reader.Remaining()));
    detail::TakeRecord(reader);
  }
  if (!reader.AtEnd()) detail::RaiseInvalidFormat();

  NameIndex index;
  index.MakeRoom(found.count, 0);
  IndexEntries(records, entries, 0, index,
               [](std::size_t, std::uint32_t) { detail::RaiseInvalidFormat(); });
  impl_->records = std::move(records);
  impl_->staleBytes = 0;
  impl_->entries = std::move(entries);
  impl_->indexed = impl_->entries.size();
  impl_->unindexedRecords = impl_->records.size();
  impl_->index = std::move(index);
  impl_->unindexedWrites = false;
  impl_->nextRead = 0;
} catch (const std::bad_alloc&) {
  RaiseHostError(errors::kOutOfMemory);
}

std::size_t PropertyBag::Count() const {
  impl_->IndexWrites();
  return impl_->entries.size();
}

std::vector<std::string> PropertyBag::Names() const {
  impl_->IndexWrites();
  std::vector<std::string> names;
  names.reserve(impl_->entries.size());
  for (std::size_t position = 0; position < impl_->entries.size(); ++position) {
    names.emplace_back(impl_->NameAt(position));
  }
  return names;
}

}  // namespace tavorin::host
