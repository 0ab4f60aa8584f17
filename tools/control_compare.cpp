#include "control_compare.h"

#include <string_view>

#include "catalogue/control_type.h"
#include "classes/property_set.h"
#include "groups/shared_keys.h"
#include "value_text.h"

namespace tavorin::cli {
namespace {

using host::Variant;

// What reading one member gave.
struct Reading {
  bool hasMember = true;
  Variant value;
  int refusal = 0;  // the error number when the member refused to be read
};

template <typename Read>
Reading ReadMember(Read read) {
  Reading reading;
  try {
    reading.value = read();
  } catch (const host::RuntimeError& error) {
    if (error.Number() == host::errors::kNoSuchMember) {
      reading.hasMember = false;
    } else {
      reading.refusal = error.Number();
    }
  }
  return reading;
}

bool SameReading(const Reading& a, const Reading& b) {
  return a.hasMember == b.hasMember && a.refusal == b.refusal && SameValue(a.value, b.value);
}

std::string Shown(const Reading& reading) {
  if (!reading.hasMember) return "no such member";
  if (reading.refusal != 0) return "error " + std::to_string(reading.refusal);
  return DisplayText(reading.value);
}

// Members the original's class lacks are not compared.
template <typename ReadOriginal, typename ReadRestored>
void Compare(const std::string& what, ReadOriginal readOriginal, ReadRestored readRestored,
             std::vector<std::string>& differences) {
  const Reading original = ReadMember(readOriginal);
  if (!original.hasMember) return;
  const Reading restored = ReadMember(readRestored);
  if (!SameReading(original, restored)) {
    differences.push_back(what + ": " + Shown(original) + " became " + Shown(restored));
  }
}

void CompareProperty(const std::string& property, host::Control& original, host::Control& restored,
                     std::vector<std::string>& differences) {
  Compare(
      property, [&] { return original.GetProperty(property); },
      [&] { return restored.GetProperty(property); }, differences);
}

// What the component carries beyond the catalogue, as the class's set says:
// the shared groups it reads, its own keys and its list items.
void CompareBeyondCatalogue(const detail::PropertySet& set, host::Control& original,
                            host::Control& restored, std::vector<std::string>& differences) {
  const auto compareGroup = [&](detail::SharedGroup group) {
    for (const detail::SharedKey& shared : detail::SharedKeysOf(group)) {
      if (!shared.property.empty()) {
        CompareProperty(std::string(shared.property), original, restored, differences);
      }
    }
  };
  if (set.switches.read.icons) compareGroup(detail::SharedGroup::Icons);
  for (const detail::OwnKey& own : set.ownKeys) {
    if (!own.property.empty()) {
      CompareProperty(std::string(own.property), original, restored, differences);
    }
  }
  if (set.dataBinding) compareGroup(detail::SharedGroup::DataBinding);
  if (set.itemColumns.empty()) return;
  const Reading count = ReadMember([&] { return original.GetProperty("ListCount"); });
  if (!count.hasMember || count.refusal != 0) return;
  for (std::int32_t index = 0; index < host::CLng(count.value); ++index) {
    for (const detail::ItemColumn& column : set.itemColumns) {
      const std::string name(column.member);
      const std::vector<Variant> arguments{Variant(index)};
      Compare(
          name + "(" + std::to_string(index) + ")",
          [&] { return original.CallMethod(name, arguments); },
          [&] { return restored.CallMethod(name, arguments); }, differences);
    }
  }
}

}  // namespace

std::vector<std::string> ControlDifferences(host::Control& original, host::Control& restored) {
  std::vector<std::string> differences;
  for (const std::string& property : CataloguedProperties(original.TypeName())) {
    CompareProperty(property, original, restored, differences);
  }
  if (const detail::PropertySet* set = detail::FindPropertySet(original.TypeName())) {
    CompareBeyondCatalogue(*set, original, restored, differences);
  }
  return differences;
}

}  // namespace tavorin::cli
