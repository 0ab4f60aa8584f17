#include "host/property_table.h"

#include <algorithm>
#include <array>
#include <cstring>
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

void CheckRange(const PropertySpec& spec, const Variant& value) {
  const ValueRange& range = spec.range;
  if (spec.type == VarType::String) {
    const auto length = static_cast<double>(CharacterCount(*value.Get<std::string>()));
    if (!InRange(range, length)) RaiseHostError(errors::kInvalidPropertyValue);
  } else if (spec.type == VarType::Object) {
    const ObjectRef object = value.AsObject();
    if (object && !range.objectType.empty() && object->TypeName() != range.objectType) {
      RaiseHostError(errors::kInvalidPropertyValue);
    }
  } else {
    // The numbers: Integer, Long, Single and Boolean.
    const double number = CDbl(value);
    const bool listed =
        range.allowed.empty() ||
        std::find(range.allowed.begin(), range.allowed.end(), number) != range.allowed.end();
    if (!InRange(range, number) || !listed) RaiseHostError(errors::kInvalidPropertyValue);
  }
}

}  // namespace

std::optional<PropertyTable::FoldedName> PropertyTable::FoldedName::Of(std::string_view name) {
  std::array<char, sizeof(words)> folded{};
  if (name.size() > folded.size()) return std::nullopt;
  std::transform(name.begin(), name.end(), folded.begin(), FoldAscii);
  FoldedName result;
  std::memcpy(result.words.data(), folded.data(), folded.size());
  return result;
}

bool PropertyTable::FoldedName::operator==(const FoldedName& other) const {
  std::uint64_t difference = 0;
  for (std::size_t i = 0; i < words.size(); ++i) difference |= words[i] ^ other.words[i];
  return difference == 0;
}

std::size_t PropertyTable::FoldedNameHash::operator()(const FoldedName& name) const {
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  std::uint64_t hash = 0;
  for (std::uint64_t word : name.words) hash = (hash ^ word) * kMultiplier;
  return static_cast<std::size_t>(hash ^ (hash >> 32));
}

PropertyTable::PropertyTable(std::string className, ClassShape shape,
                             std::vector<PropertySpec> properties, std::vector<MethodSpec> methods)
    : class_name_(std::move(className)),
      shape_(shape),
      properties_(std::move(properties)),
      methods_(std::move(methods)) {
  const auto add = [](Index& index, const std::string& name, std::size_t position) {
    const std::optional<FoldedName> folded = FoldedName::Of(name);
    if (!folded) throw std::logic_error("member name too long: " + name);
    if (!index.emplace(*folded, position).second) {
      throw std::logic_error("member listed twice: " + name);
    }
  };
  for (std::size_t i = 0; i < properties_.size(); ++i) add(property_index_, properties_[i].name, i);
  for (std::size_t i = 0; i < methods_.size(); ++i) add(method_index_, methods_[i].name, i);
}

std::ptrdiff_t PropertyTable::Find(const Index& index, std::string_view name) {
  const std::optional<FoldedName> folded = FoldedName::Of(name);
  if (!folded) return -1;
  const auto found = index.find(*folded);
  return found == index.end() ? -1 : static_cast<std::ptrdiff_t>(found->second);
}

std::ptrdiff_t PropertyTable::FindProperty(std::string_view name) const {
  return Find(property_index_, name);
}

const MethodSpec* PropertyTable::FindMethod(std::string_view name) const {
  const std::ptrdiff_t position = Find(method_index_, name);
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
