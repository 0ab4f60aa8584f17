#include "control_compare.h"

#include <array>
#include <string_view>

#include "value_text.h"

namespace tavorin::cli {
namespace {

using host::Variant;

// What the component carries beyond the catalogue, compared wherever the
// class offers it by name.
constexpr std::array<std::string_view, 15> kSpecialProperties{
    "SelStart",   "SelLength", "Text",       "Picture",  "DownPicture",
    "DisabledPicture", "DragIcon", "MouseIcon", "DataSource", "DataField",
    "DataMember", "DataChanged", "DataFormat", "ListCount", "NewIndex"};

// The indexed members of a list item, compared where the class has them.
constexpr std::array<std::string_view, 3> kItemMembers{"List", "ItemData", "Selected"};

constexpr int kNoSuchMember = 438;

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
    if (error.Number() == kNoSuchMember) {
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

void CompareProperty(const std::string& property, host::Control& original,
                     host::Control& restored, std::vector<std::string>& differences) {
  Compare(
      property, [&] { return original.GetProperty(property); },
      [&] { return restored.GetProperty(property); }, differences);
}

}  // namespace

std::vector<std::string> ControlDifferences(host::Control& original, host::Control& restored) {
  std::vector<std::string> differences;
  for (const std::string& property : CataloguedProperties(original.TypeName())) {
    CompareProperty(property, original, restored, differences);
  }
  for (const std::string_view special : kSpecialProperties) {
    CompareProperty(std::string(special), original, restored, differences);
  }
  const Reading count = ReadMember([&] { return original.GetProperty("ListCount"); });
  if (!count.hasMember || count.refusal != 0) return differences;
  for (std::int32_t index = 0; index < host::CLng(count.value); ++index) {
    for (const std::string_view member : kItemMembers) {
      const std::string name(member);
      const std::vector<Variant> arguments{Variant(index)};
      Compare(
          name + "(" + std::to_string(index) + ")",
          [&] { return original.CallMethod(name, arguments); },
          [&] { return restored.CallMethod(name, arguments); }, differences);
    }
  }
  return differences;
}

}  // namespace tavorin::cli
