// The item list behind list controls: data and selection move with their
// items, the two selection modes, bad indexes, and the item limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/item_list.h"
#include "support/raises.h"

using tavorin::host::detail::ItemList;
using Texts = std::vector<std::string>;

namespace {

// "a", "b", "c", ... with item data 10, 11, 12, ...
ItemList Letters(int count, int multiSelect = 0) {
  ItemList list(multiSelect);
  for (int i = 0; i < count; ++i) {
    list.AddItem(std::string(1, static_cast<char>('a' + i)));
    list.SetItemData(i, 10 + i);
  }
  return list;
}

Texts TextsOf(const ItemList& list) {
  Texts texts;
  for (int i = 0; i < list.ListCount(); ++i) texts.push_back(list.List(i));
  return texts;
}

// Count, ListIndex, TopIndex, NewIndex and SelCount in one comparable line.
std::vector<int> Indexes(const ItemList& list) {
  return {list.ListCount(), list.ListIndex(), list.TopIndex(), list.NewIndex(), list.SelCount()};
}

TEST(ItemList, AddItemAtAnIndexMovesDataAndSelectionWithTheItems) {
  ItemList list = Letters(3, 1);
  list.SetSelected(1, true);
  list.SetListIndex(2);
  list.AddItem("new", 1);
  EXPECT_EQ(TextsOf(list), (Texts{"a", "new", "b", "c"}));
  EXPECT_EQ(list.ItemData(1), 0);
  EXPECT_EQ(list.ItemData(2), 11);
  EXPECT_FALSE(list.Selected(1));
  EXPECT_TRUE(list.Selected(2));
  EXPECT_EQ(Indexes(list), (std::vector<int>{4, 3, 0, 1, 1}));
  list.AddItem("before c", 3);  // at the ListIndex: "c" moves down
  list.AddItem("last");
  EXPECT_EQ(Indexes(list), (std::vector<int>{6, 4, 0, 5, 1}));
}

TEST(ItemList, RemoveItemMovesDataSelectionAndIndexesBack) {
  ItemList list = Letters(5, 2);
  list.SetSelected(3, true);
  list.SetSelected(4, true);
  list.SetListIndex(3);
  list.SetTopIndex(2);
  list.RemoveItem(1);
  EXPECT_EQ(TextsOf(list), (Texts{"a", "c", "d", "e"}));
  EXPECT_EQ(list.ItemData(1), 12);
  EXPECT_TRUE(list.Selected(2));
  EXPECT_EQ(Indexes(list), (std::vector<int>{4, 2, 1, -1, 2}));
  list.RemoveItem(2);  // the ListIndex item, selected
  EXPECT_EQ(Indexes(list), (std::vector<int>{3, -1, 1, -1, 1}));
  list.RemoveItem(2);
  list.RemoveItem(1);
  EXPECT_EQ(Indexes(list),
            (std::vector<int>{1, -1, 0, -1, 0}));  // TopIndex never past the last item
}

TEST(ItemList, ClearAndReplaceResetEverything) {
  ItemList list = Letters(4, 1);
  list.SetSelected(2, true);
  list.SetListIndex(1);
  list.SetTopIndex(3);
  list.Clear();
  EXPECT_EQ(Indexes(list), (std::vector<int>{0, -1, 0, -1, 0}));
  EXPECT_EQ(list.MultiSelect(), 1);

  list = Letters(4, 1);
  list.SetSelected(2, true);
  list.SetListIndex(3);
  list.Replace({"x.txt", "y.txt"});
  EXPECT_EQ(TextsOf(list), (Texts{"x.txt", "y.txt"}));
  EXPECT_FALSE(list.Selected(1));
  EXPECT_EQ(list.ItemData(1), 0);
  EXPECT_EQ(Indexes(list), (std::vector<int>{2, -1, 0, -1, 0}));
}

TEST(ItemList, WithoutMultiSelectOnlyTheListIndexItemIsSelected) {
  ItemList list = Letters(4);
  list.SetSelected(1, true);
  EXPECT_EQ(list.ListIndex(), 1);
  list.SetSelected(3, true);
  EXPECT_FALSE(list.Selected(1));
  EXPECT_EQ(Indexes(list), (std::vector<int>{4, 3, 0, 3, 1}));
  list.SetSelected(0, false);  // not the ListIndex item: nothing changes
  EXPECT_EQ(list.ListIndex(), 3);
  list.SetSelected(3, false);
  EXPECT_EQ(Indexes(list), (std::vector<int>{4, -1, 0, 3, 0}));
  list.SetListIndex(2);
  EXPECT_TRUE(list.Selected(2));
  list.SetListIndex(0);
  EXPECT_FALSE(list.Selected(2));
  EXPECT_TRUE(list.Selected(0));
  list.SetListIndex(-1);
  EXPECT_EQ(list.SelCount(), 0);
}

TEST(ItemList, MultiSelectKeepsManySelectedApartFromListIndex) {
  for (int mode : {1, 2}) {
    SCOPED_TRACE(mode);
    ItemList list = Letters(4, mode);
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    list.SetSelected(2, true);
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_EQ(list.ListIndex(), -1);
    list.SetListIndex(3);
    EXPECT_FALSE(list.Selected(3));
    list.SetSelected(0, false);
    EXPECT_EQ(list.SelCount(), 1);
  }
  EXPECT_RAISES(380, ItemList{7});
  EXPECT_RAISES(380, ItemList().SetMultiSelect(-1));
}

TEST(ItemList, RefusesBadIndexesWithTheRuntimeNumbers) {
  ItemList list = Letters(3);
  EXPECT_RAISES(5, list.AddItem("x", -1));
  EXPECT_RAISES(5, list.AddItem("x", 4));
  EXPECT_RAISES(5, list.RemoveItem(-1));
  EXPECT_RAISES(5, list.RemoveItem(3));
  EXPECT_RAISES(381, list.List(3));
  EXPECT_RAISES(381, list.SetList(-1, "x"));
  EXPECT_RAISES(381, list.ItemData(-1));
  EXPECT_RAISES(381, list.SetItemData(3, 1));
  EXPECT_RAISES(381, list.Selected(3));
  EXPECT_RAISES(381, list.SetSelected(-1, true));
  EXPECT_RAISES(380, list.SetListIndex(-2));
  EXPECT_RAISES(380, list.SetListIndex(3));
  EXPECT_RAISES(380, list.SetTopIndex(-1));
  EXPECT_RAISES(380, list.SetTopIndex(3));
  EXPECT_EQ(TextsOf(list), (Texts{"a", "b", "c"}));
  EXPECT_EQ(list.NewIndex(), 2);
  ItemList empty;
  empty.SetTopIndex(0);
  EXPECT_RAISES(5, empty.RemoveItem(0));
}

TEST(ItemList, HoldsAtMost32767Items) {
  ItemList list(1);
  for (int i = 0; i < ItemList::kMaxItems; ++i) {
    list.AddItem(std::to_string(i));
    list.SetSelected(i, i % 2 == 0);
  }
  EXPECT_EQ(Indexes(list), (std::vector<int>{32767, -1, 0, 32766, 16384}));
  EXPECT_RAISES(5, list.AddItem("one more", 0));
  list.RemoveItem(0);
  list.AddItem("fits again");
  EXPECT_EQ(list.List(32766), "fits again");

  EXPECT_RAISES(5, list.Replace(Texts(ItemList::kMaxItems + 1)));
  EXPECT_EQ(list.ListCount(), 32767);
  list.Replace(Texts(3));
  list.Replace(Texts(ItemList::kMaxItems));
  EXPECT_EQ(list.ListCount(), ItemList::kMaxItems);
}

}  // namespace
