// ItemList: the list model behind ListBox, ComboBox and the file list boxes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <tavorin/host/lists.h>

namespace tavorin::host::detail {

/// Items with their item data and selection, the selected item (ListIndex),
/// the first visible item (TopIndex) and the item added last (NewIndex).
///
/// Item indexes count from 0. Methods given an index outside the list raise 5
/// "Invalid procedure call or argument"; indexed properties raise 381
/// "Invalid property array index"; ListIndex, TopIndex and MultiSelect raise
/// 380 "Invalid property value" for a value they do not take.
///
/// With MultiSelect 0 at most one item is selected and it is always the
/// ListIndex item. With 1 or 2 any items may be selected, and ListIndex only
/// marks the item with the focus: setting it selects nothing.
///
/// Adding or removing at the end is amortised O(1); SelCount is O(1).
class ItemList {
 public:
  static constexpr int kMaxItems = ListControl::kMaxItems;

  /// `multiSelect`: 0 none, 1 simple, 2 extended; 380 for another value.
  explicit ItemList(int multiSelect = 0);

  /// 0..2, else 380. The mode is chosen before items exist: on a list that
  /// holds items it raises 383 "Property is read-only".
  void SetMultiSelect(int mode);
  int MultiSelect() const { return multi_select_; }

  /// Inserts `text` at `index` (0..ListCount; default: the end), moving the
  /// later items with their data and selection one place down, and makes it
  /// the NewIndex. A bad index or a full list raises 5.
  void AddItem(std::string text, std::optional<int> index = std::nullopt);
  /// Makes room for `count` items, kMaxItems at most; changes nothing else.
  void Reserve(int count);
  /// Removes the item at `index` (0..ListCount-1, else 5). ListIndex and
  /// TopIndex keep to their items (-1 when the ListIndex item goes);
  /// NewIndex becomes -1.
  void RemoveItem(int index);
  /// Removes every item: ListIndex -1, TopIndex 0, NewIndex -1.
  void Clear();
  /// Replaces every item by `items` (as the file controls rebuild their
  /// lists): nothing selected, ListIndex and NewIndex -1, TopIndex 0. More than
  /// kMaxItems items raise 5 and leave the list as it was.
  void Replace(std::vector<std::string> items);

  const std::string& List(int index) const;
  void SetList(int index, std::string text);
  std::int32_t ItemData(int index) const;
  void SetItemData(int index, std::int32_t value);
  bool Selected(int index) const;
  /// With MultiSelect 0, selecting an item deselects the other and makes it
  /// the ListIndex; deselecting the ListIndex item makes ListIndex -1.
  void SetSelected(int index, bool selected);

  int ListCount() const { return static_cast<int>(items_.size()); }
  /// The index of the item added last; -1 after RemoveItem, Clear or Replace.
  int NewIndex() const { return new_index_; }
  /// The selected (or, with MultiSelect, focused) item; -1 for none.
  int ListIndex() const { return list_index_; }
  /// -1..ListCount-1, else 380. With MultiSelect 0 it selects only that item.
  void SetListIndex(int index);
  int TopIndex() const { return top_index_; }
  /// 0..max(ListCount-1, 0), else 380.
  void SetTopIndex(int index);
  int SelCount() const { return sel_count_; }

 private:
  struct Item {
    std::string text;
    std::int32_t data = 0;
    bool selected = false;
  };

  Item& At(int index);
  const Item& At(int index) const;
  void Mark(Item& item, bool selected);
  void ResetPositions();

  std::vector<Item> items_;
  int multi_select_ = 0;
  int list_index_ = -1;
  int top_index_ = 0;
  int new_index_ = -1;
  int sel_count_ = 0;
};

}  // namespace tavorin::host::detail
