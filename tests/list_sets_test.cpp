// The ComboBox and ListBox sets: the order of the list's keys, what an empty
// list stores and restores, items left to custom defaults, and streams the
// list must survive: another format, custom defaults without "NIn", and
// damaged counts.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "support/component_calls.h"
#include "support/list_items.h"

namespace {

using namespace tavorin::host;
using namespace tavorin::testing;

struct Item {
  std::string text;
  std::int32_t data = 0;
  bool selected = false;
};

class ListSets : public ::testing::TestWithParam<const char*> {
 protected:
  // A list of the class under test; a ListBox with extended selection.
  std::shared_ptr<Control> NewList(const std::string& name) {
    auto list = form->AddControl(GetParam(), name);
    if (IsListBox()) list->SetProperty("MultiSelect", 2);
    return list;
  }

  bool IsListBox() const { return std::string(GetParam()) == "ListBox"; }

  // Adds `item` at `at`, the end by default.
  void Add(Control& list, const Item& item, const Variant& at = Variant::Missing()) {
    list.CallMethod("AddItem", {Variant(item.text), at});
    const Variant index(CInt(list.GetProperty("NewIndex")));
    list.CallMethod("ItemData", {index, Variant(item.data)});
    if (item.selected && IsListBox()) list.CallMethod("Selected", {index, Variant(true)});
  }

  void Fill(Control& list, const std::vector<Item>& items) {
    for (const Item& item : items) Add(list, item);
  }

  // Each item's text, data and (for a ListBox) selection, and NewIndex.
  std::vector<std::string> Contents(Control& list) {
    std::vector<std::string> shown;
    for (int i = 0; i < CInt(list.GetProperty("ListCount")); ++i) {
      const Variant index(i);
      std::string item =
          CStr(list.CallMethod("List", {index})) + "=" + CStr(list.CallMethod("ItemData", {index}));
      if (IsListBox() && CBool(list.CallMethod("Selected", {index}))) item += "*";
      shown.push_back(item);
    }
    shown.push_back("new " + CStr(list.GetProperty("NewIndex")));
    return shown;
  }

  // The keys of `stream` from the one before "BCL" on.
  static std::vector<std::string> ListKeys(const ByteArray& stream) {
    PropertyBag bag;
    bag.SetContents(stream);
    std::vector<std::string> names = bag.Names();
    names.erase(names.begin(), std::find(names.begin(), names.end(), "BCL") - 1);
    return names;
  }

  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<Control> list = NewList("List1");
  std::shared_ptr<Control> other = NewList("List2");
  Settings settings;
};

TEST_P(ListSets, WritesPositionsThenEveryItemAfterTheBinding) {
  Fill(*list, {{"a", 0, true}, {"", -5}, {"c", 7, true}});
  list->SetProperty("ListIndex", 2);
  const ByteArray stream = Write(settings, *list);

  // The data format, stored whatever it is, ends the binding.
  std::vector<std::string> expected = {"DtF", "BCL", "LIn", "NIn"};
  if (!IsListBox()) expected.insert(expected.end(), {"Tx", "SS", "SL"});
  for (const char* item : {"I0", "S0", "D1", "I2", "D2", "S2"}) {
    if (IsListBox() || item[0] != 'S') expected.push_back(item);
  }
  EXPECT_EQ(ListKeys(stream), expected);
  EXPECT_EQ(Stored(stream, "NIn"), Variant::Integer(2));
  EXPECT_EQ(Stored(stream, "D1"), Variant::Long(-5));
}

TEST_P(ListSets, AnEmptyListStoresItsCountAloneAndEmptiesTheDestination) {
  if (!IsListBox()) {
    list->SetProperty("Text", "typed");
    list->SetProperty("SelStart", 2);
  }
  const ByteArray stream = Write(settings, *list);
  EXPECT_EQ(ListKeys(stream), (std::vector<std::string>{"DtF", "BCL"}));
  EXPECT_EQ(Stored(stream, "BCL"), Variant::Integer(0));

  Fill(*other, {{"x", 1, true}, {"y", 2}});
  other->SetProperty("ListIndex", 1);
  Read(settings, stream, *other);
  EXPECT_EQ(Contents(*other), std::vector<std::string>{"new -1"});
  EXPECT_EQ(CInt(other->GetProperty("ListIndex")), -1);
  if (!IsListBox()) {
    EXPECT_EQ(other->GetProperty("Text"), Variant(""));
    EXPECT_EQ(CLng(other->GetProperty("SelStart")), 0);
    EXPECT_EQ(CLng(other->GetProperty("SelLength")), 0);
  }
}

TEST_P(ListSets, ItemsEqualToTheCustomDefaultsAreLeftOut) {
  auto model = NewList("Model");
  Fill(*model, {{"a", 1, true}, {"b", 2}});
  const Variant custom = Variant::Bytes(Write(settings, *model));
  Fill(*list, {{"a", 1, true}, {"b", 2}, {"c", 3}});

  const ByteArray stream = Write(settings, *list, custom);
  for (const char* key : {"I0", "D0", "S0", "I1", "D1", "S1"}) {
    EXPECT_FALSE(Holds(stream, key)) << key;
  }
  EXPECT_EQ(Stored(stream, "I2"), Variant("c"));
}

TEST_P(ListSets, AStreamOfAnotherFormatLeavesTheListAlone) {
  Fill(*list, {{"new", 5}});
  const ByteArray stream = WithStored(Write(settings, *list), "@SF#",
                                      Variant::Long(IsListBox() ? 0x09000032 : 0x08000032));
  Fill(*other, {{"kept", 1, true}, {"too", 2}});
  other->SetProperty("ListIndex", 0);
  const auto before = Contents(*other);
  Read(settings, stream, *other);
  EXPECT_EQ(Contents(*other), before);
  EXPECT_EQ(CInt(other->GetProperty("ListIndex")), 0);
}

// Custom defaults without "NIn" (their list was empty): an item added last at
// index 0 is still stored as such and made the item added last again.
TEST_P(ListSets, NewIndexZeroSurvivesCustomDefaultsWithoutOne) {
  const Variant custom = Variant::Bytes(Write(settings, *NewList("Model")));
  Fill(*list, {{"b", 2}});
  Add(*list, {"a", 0}, Variant(0));
  const ByteArray stream = Write(settings, *list, custom);
  EXPECT_EQ(Stored(stream, "NIn"), Variant::Integer(0));
  Read(settings, stream, *other, custom);
  EXPECT_EQ(Contents(*other), (std::vector<std::string>{"a=0", "b=2", "new 0"}));
}

TEST_P(ListSets, DamagedCountsRestoreAtMostAFullList) {
  Fill(*list, {{"a", 1}, {"b", 2}});
  const ByteArray stream = Write(settings, *list);
  const struct {
    Variant count;
    int expected;
  } cases[] = {
      {Variant::Integer(3), 3},  // the third item is missing: empty, data 0
      {Variant::Integer(-4), 0},
      {Variant::Long(2'000'000'000), ListControl::kMaxItems},
      {Variant("many"), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(CStr(c.count));
    const auto started = std::chrono::steady_clock::now();
    Read(settings, WithStored(stream, "BCL", c.count), *other);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
    ASSERT_EQ(CInt(other->GetProperty("ListCount")), c.expected);
    if (c.expected >= 3) {
      EXPECT_EQ(CStr(other->CallMethod("List", {Variant(1)})), "b");
      EXPECT_EQ(CStr(other->CallMethod("List", {Variant(c.expected - 1)})), "");
      EXPECT_EQ(CLng(other->CallMethod("ItemData", {Variant(c.expected - 1)})), 0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EachList, ListSets, ::testing::Values("ComboBox", "ListBox"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
