#include "host/property_table.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <utility>

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/object.h>

#include "host/ascii_case.h"

namespace tavorin::host::detail {
namespace {

bool InRange(const ValueRange& range, double value) {
  // Written so that NaN falls outside every range.
  return value >= range.min && value <= range.max;
}

bool Unbounded(const ValueRange& range) {
  return range.min == -std::numeric_limits<double>::infinity() &&
         range.max == std::numeric_limits<double>::infinity();
}

// The words of a folded name are read straight from the text, with at most
// two loads each whatever the length: a loop per character, or bytes stored
// one by one and read back as words, would dominate the lookup.
static_assert(std::endian::native == std::endian::little, "names are read as little-endian words");

template <typename Word>
std::uint64_t Load(const char* bytes) {
  Word word;
  std::memcpy(&word, bytes, sizeof(word));
  return word;
}

/// The `count` (at most 8) bytes at `bytes`, the first in the low byte.
std::uint64_t LoadWord(const char* bytes, std::size_t count) {
  if (count == 8) return Load<std::uint64_t>(bytes);
  if (count >= 4) {
    // Two overlapping halves; the bytes they share are the same.
    return Load<std::uint32_t>(bytes) |
           (Load<std::uint32_t>(bytes + count - 4) << (8 * (count - 4)));
  }
  std::uint64_t word = 0;
  for (std::size_t i = 0; i < count; ++i) {
    word |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
  }
  return word;
}

/// Whether the `size` (at most 24) bytes at `a` and at `b` are the same: a
/// few overlapping word loads, where a call of memcmp cost as much as the
/// rest of a lookup.
bool SameShortBytes(const char* a, const char* b, std::size_t size) {
  if (size <= 8) return LoadWord(a, size) == LoadWord(b, size);
  const auto differing = [a, b](std::size_t at) {
    return Load<std::uint64_t>(a + at) ^ Load<std::uint64_t>(b + at);
  };
  std::uint64_t difference = differing(0) | differing(size - 8);
  if (size > 16) difference |= differing(8);
  return difference == 0;
}

/// FoldAscii on every byte of the word at once.
std::uint64_t FoldWord(std::uint64_t word) {
  constexpr std::uint64_t kEachByte = 0x0101010101010101ull;
  // Seven-bit values plus these offsets carry into bit 7 exactly when they
  // are above 'Z' or at least 'A', and never into the next byte.
  const std::uint64_t low7 = word & (0x7F * kEachByte);
  const std::uint64_t aboveZ = low7 + (0x7F - 'Z') * kEachByte;
  const std::uint64_t atLeastA = low7 + (0x80 - 'A') * kEachByte;
  const std::uint64_t upper = atLeastA & ~aboveZ & ~word & (0x80 * kEachByte);
  return word | (upper >> 2);  // bit 7 down to the case bit 5
}

}  // namespace

std::optional<PropertyTable::FoldedName> PropertyTable::FoldedName::Of(std::string_view name) {
  if (name.size() > sizeof(words)) return std::nullopt;
  FoldedName result;
  result.size = name.size();
  for (std::size_t first = 0; first < name.size(); first += 8) {
    const std::size_t count = std::min<std::size_t>(8, name.size() - first);
    result.words[first / 8] = FoldWord(LoadWord(name.data() + first, count));
  }
  return result;
}

bool PropertyTable::FoldedName::operator==(const FoldedName& other) const {
  std::uint64_t difference = size ^ other.size;
  for (std::size_t i = 0; i < words.size(); ++i) difference |= words[i] ^ other.words[i];
  return difference == 0;
}

PropertyTable::NameIndex::NameIndex(std::size_t count) {
  std::size_t size = 8;
  int bits = 3;
  while (size < 2 * count) {
    size *= 2;
    ++bits;
  }
  slots_.resize(size);
  shift_ = 64 - bits;
}

std::size_t PropertyTable::NameIndex::Probe(const FoldedName& name) const {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = 0;
  for (std::uint64_t word : name.words) hash = (hash ^ word) * kMultiplier;
  const std::size_t mask = slots_.size() - 1;
  // At most half full: the walk always reaches an empty slot.
  for (auto at = static_cast<std::size_t>(hash >> shift_);; at = (at + 1) & mask) {
    const Slot& slot = slots_[at];
    if (slot.position < 0 || slot.name == name) return at;
  }
}

bool PropertyTable::NameIndex::Add(const FoldedName& name, std::size_t position) {
  Slot& slot = slots_[Probe(name)];
  if (slot.position >= 0) return false;
  slot = {name, static_cast<std::ptrdiff_t>(position)};
  return true;
}

std::ptrdiff_t PropertyTable::NameIndex::Find(std::string_view name) const {
  const std::optional<FoldedName> folded = FoldedName::Of(name);
  return folded ? slots_[Probe(*folded)].position : -1;
}

PropertyTable::SpellingIndex::SpellingIndex(const std::vector<PropertySpec>& properties) {
  // Four slots per name keep keys that meet rare.
  std::size_t size = 8;
  while (size < 4 * properties.size()) size *= 2;
  positions_.assign(size, -1);
  for (std::size_t i = 0; i < properties.size(); ++i) {
    std::int16_t& slot = positions_[SlotOf(properties[i].name)];
    if (slot < 0) slot = static_cast<std::int16_t>(i);
  }
}

std::size_t PropertyTable::SpellingIndex::SlotOf(std::string_view name) const {
  if (name.empty()) return 0;
  const auto byte = [name](std::size_t i) {
    return std::uint64_t{static_cast<unsigned char>(name[i])};
  };
  const std::uint64_t key =
      name.size() | byte(0) << 8 | byte(name.size() / 2) << 16 | byte(name.size() - 1) << 24;
  return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 40) & (positions_.size() - 1);
}

std::ptrdiff_t PropertyTable::SpellingIndex::Candidate(std::string_view name) const {
  return positions_[SlotOf(name)];
}

PropertyTable::PropertyTable(std::string className, ClassShape shape,
                             std::vector<PropertySpec> properties, std::vector<MethodSpec> methods)
    : class_name_(std::move(className)),
      shape_(shape),
      properties_(std::move(properties)),
      methods_(std::move(methods)),
      property_index_(properties_.size()),
      method_index_(methods_.size()),
      spelling_index_(properties_) {
  const auto add = [](NameIndex& index, const std::string& name, std::size_t position) {
    const std::optional<FoldedName> folded = FoldedName::Of(name);
    if (!folded) throw std::logic_error("member name too long: " + name);
    if (!index.Add(*folded, position)) throw std::logic_error("member listed twice: " + name);
  };
  for (std::size_t i = 0; i < properties_.size(); ++i) add(property_index_, properties_[i].name, i);
  for (std::size_t i = 0; i < methods_.size(); ++i) add(method_index_, methods_[i].name, i);
}

std::ptrdiff_t PropertyTable::FindProperty(std::string_view name) const {
  const std::ptrdiff_t candidate = spelling_index_.Candidate(name);
  if (candidate >= 0) {
    const std::string& spelling = properties_[static_cast<std::size_t>(candidate)].name;
    if (spelling.size() == name.size() &&
        SameShortBytes(spelling.data(), name.data(), name.size())) {
      return candidate;
    }
  }
  return property_index_.Find(name);
}

const MethodSpec* PropertyTable::FindMethod(std::string_view name) const {
  const std::ptrdiff_t position = method_index_.Find(name);
  return position < 0 ? nullptr : &methods_[static_cast<std::size_t>(position)];
}

Variant PropertyTable::Coerce(const PropertySpec& spec, const Variant& value) {
  if (spec.type == VarType::Empty) return value;
  // The property types (numbers, Boolean, String, Object) convert a value of
  // their own type to itself, as a value read back from a stream mostly is.
  Variant converted = value.Type() == spec.type ? value : ConvertTo(value, spec.type);
  CheckRange(spec, converted);
  return converted;
}

void PropertyTable::CheckRange(const PropertySpec& spec, const Variant& value) {
  const ValueRange& range = spec.range;
  if (spec.type == VarType::String) {
    if (Unbounded(range)) return;
    const auto length = static_cast<double>(CharacterCount(*value.Get<std::string>()));
    if (!InRange(range, length)) RaiseHostError(errors::kInvalidPropertyValue);
  } else if (spec.type == VarType::Object) {
    if (range.objectType.empty()) return;
    const ObjectRef object = value.AsObject();
    if (object && object->TypeName() != range.objectType) {
      RaiseHostError(errors::kInvalidPropertyValue);
    }
  } else {
    // The numbers: Integer, Long, Single and Boolean. A whole number is
    // within a range without bounds or list; converting it to find that out
    // was a quarter of this check's cost in a text box's write and read.
    const bool whole = spec.type == VarType::Integer || spec.type == VarType::Long ||
                       spec.type == VarType::Boolean;
    if (whole && range.allowed.empty() && Unbounded(range)) return;
    const double number = CDbl(value);
    const bool listed =
        range.allowed.empty() ||
        std::find(range.allowed.begin(), range.allowed.end(), number) != range.allowed.end();
    if (!InRange(range, number) || !listed) RaiseHostError(errors::kInvalidPropertyValue);
  }
}

PropertyTable BuildTable(std::string className, const ClassShape& shape,
                         const std::vector<PropertySpec>& own, const std::vector<Binding>& bindings,
                         std::vector<MethodSpec> methods) {
  std::vector<PropertySpec> properties = SharedProperties(shape);
  const auto find = [&properties](std::string_view name) {
    return std::find_if(properties.begin(), properties.end(), [name](const PropertySpec& spec) {
      return EqualsIgnoringCase(spec.name, name);
    });
  };
  for (const PropertySpec& spec : own) {
    // A property listed again moves to its new place: new controls take
    // their initial values in table order.
    const auto earlier = find(spec.name);
    if (earlier != properties.end()) properties.erase(earlier);
    properties.push_back(spec);
  }
  const auto attach = [&](const Binding& binding, bool required) {
    const auto spec = find(binding.name);
    if (spec != properties.end()) {
      spec->get = binding.get;
      spec->set = binding.set;
    } else if (required) {
      throw std::logic_error("binding of an unknown property: " + std::string(binding.name));
    }
  };
  for (const Binding& binding : SharedBindings()) attach(binding, false);
  for (const Binding& binding : bindings) attach(binding, true);

  std::vector<MethodSpec> allMethods = SharedMethods(shape);
  for (MethodSpec& method : methods) {
    const auto same = std::find_if(allMethods.begin(), allMethods.end(), [&](const MethodSpec& m) {
      return EqualsIgnoringCase(m.name, method.name);
    });
    if (same != allMethods.end()) {
      *same = std::move(method);
    } else {
      allMethods.push_back(std::move(method));
    }
  }
  return PropertyTable(std::move(className), shape, std::move(properties), std::move(allMethods));
}

PropertyTable BuildClassTable(std::string_view className, const std::vector<Binding>& bindings,
                              std::vector<MethodSpec> methods) {
  const ClassData* data = FindClassData(className);
  if (!data) throw std::logic_error("no class data for " + std::string(className));
  return BuildTable(std::string(className), data->shape, data->properties, bindings,
                    std::move(methods));
}

std::size_t CharacterCount(std::string_view text) {
  return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

}  // namespace tavorin::host::detail
