// ListBox and ComboBox through their members by name: items, item data and
// selection (the item list's own rules are tested on it directly), and a
// ComboBox's text.
#include <string>

#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "support/raises.h"

namespace tavorin::host {
namespace {

class HostListsTest : public ::testing::Test {
 protected:
  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<ListBox> list =
      std::dynamic_pointer_cast<ListBox>(form->AddControl("ListBox", "List1"));
  std::shared_ptr<ComboBox> combo =
      std::dynamic_pointer_cast<ComboBox>(form->AddControl("ComboBox", "Combo1"));
};

TEST_F(HostListsTest, IndexedMembersByNameAndTheirRefusals) {
  list->AddItem("one");
  list->CallMethod("List", {Variant(0), Variant("uno")});
  list->CallMethod("ItemData", {Variant("0"), Variant(42)});
  EXPECT_EQ(CStr(list->CallMethod("List", {Variant(0)})), "uno");
  EXPECT_EQ(list->CallMethod("ItemData", {Variant(0)}), Variant(42));
  EXPECT_RAISES(errors::kInvalidPropertyArrayIndex, list->CallMethod("List", {Variant(1)}));
  EXPECT_RAISES(errors::kInvalidPropertyArrayIndex, list->ItemData(-1, 0));
  EXPECT_RAISES(errors::kInvalidProcedureCall, list->CallMethod("List"));
  EXPECT_RAISES(errors::kInvalidProcedureCall, list->GetProperty("List"));
  EXPECT_RAISES(errors::kInvalidPropertyValue, list->SetProperty("ListIndex", 1));
  EXPECT_RAISES(errors::kInvalidPropertyValue, list->SetProperty("TopIndex", 1));
  EXPECT_RAISES(errors::kPropertyReadOnly, list->SetProperty("NewIndex", 0));
  EXPECT_RAISES(errors::kNoSuchMember, combo->CallMethod("Selected", {Variant(0)}));
}

TEST_F(HostListsTest, MultiSelectIsChosenByNameBeforeItemsExist) {
  list->SetProperty("MultiSelect", Variant("2"));
  for (const char* item : {"a", "b", "c"}) list->AddItem(item);
  list->Selected(0, true);
  list->Selected(2, true);
  EXPECT_EQ(CInt(list->GetProperty("SelCount")), 2);
  EXPECT_RAISES(errors::kPropertyReadOnly, list->SetProperty("MultiSelect", 0));
  EXPECT_EQ(list->MultiSelect(), 2);
  auto other = std::dynamic_pointer_cast<ListBox>(form->AddControl("ListBox", "List2"));
  EXPECT_RAISES(errors::kInvalidPropertyValue, other->SetProperty("MultiSelect", 3));
}

TEST_F(HostListsTest, ComboBoxTextFollowsTheChosenItem) {
  for (const char* item : {"red", "green", "blue"}) combo->AddItem(item);
  combo->SetProperty("ListIndex", 1);
  EXPECT_EQ(combo->Text(), "green");
  combo->Text("green");
  EXPECT_EQ(combo->ListIndex(), 1) << "the chosen item's own text keeps it chosen";
  combo->SetProperty("Text", Variant("teal"));
  EXPECT_EQ(combo->ListIndex(), -1);
  EXPECT_EQ(combo->Text(), "teal");
  combo->SelStart(1);
  combo->SelLength(10);
  EXPECT_EQ(combo->SelLength(), 3);
  EXPECT_EQ(CStr(combo->GetProperty("SelText")), "eal");
  combo->ListIndex(-1);
  EXPECT_EQ(combo->Text(), "");
}

}  // namespace
}  // namespace tavorin::host
