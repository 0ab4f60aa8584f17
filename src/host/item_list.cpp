#include "host/item_list.h"

#include <algorithm>
#include <utility>

#include <tavorin/host/error.h>

namespace tavorin::host::detail {
namespace {

constexpr int kMultiSelectNone = 0;
constexpr int kMultiSelectExtended = 2;

void CheckMultiSelect(int mode) {
  if (mode < kMultiSelectNone || mode > kMultiSelectExtended) {
    RaiseHostError(errors::kInvalidPropertyValue);
  }
}

}  // namespace

ItemList::ItemList(int multiSelect) {
  CheckMultiSelect(multiSelect);
  multi_select_ = multiSelect;
}

void ItemList::SetMultiSelect(int mode) {
  CheckMultiSelect(mode);
  if (!items_.empty()) RaiseHostError(errors::kPropertyReadOnly);
  multi_select_ = mode;
}

void ItemList::AddItem(std::string text, std::optional<int> index) {
  const int at = index.value_or(ListCount());
  if (at < 0 || at > ListCount() || ListCount() >= kMaxItems) {
    RaiseHostError(errors::kInvalidProcedureCall);
  }
  if (at == ListCount()) {
    items_.push_back(Item{std::move(text)});  // the common case, without a shift
  } else {
    items_.insert(items_.begin() + at, Item{std::move(text)});
  }
  if (list_index_ >= at) ++list_index_;
  new_index_ = at;
}

void ItemList::Reserve(int count) {
  items_.reserve(static_cast<std::size_t>(std::clamp(count, 0, kMaxItems)));
}

void ItemList::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) RaiseHostError(errors::kInvalidProcedureCall);
  if (items_[index].selected) --sel_count_;
  items_.erase(items_.begin() + index);
  if (list_index_ == index) {
    list_index_ = -1;
  } else if (list_index_ > index) {
    --list_index_;
  }
  if (top_index_ > index) --top_index_;
  top_index_ = std::min(top_index_, std::max(ListCount() - 1, 0));
  new_index_ = -1;
}

void ItemList::Clear() {
  items_.clear();
  ResetPositions();
}

void ItemList::Replace(std::vector<std::string> items) {
  if (items.size() > static_cast<std::size_t>(kMaxItems)) {
    RaiseHostError(errors::kInvalidProcedureCall);
  }
  items_.clear();
  items_.reserve(items.size());
  for (std::string& text : items) items_.push_back(Item{std::move(text)});
  ResetPositions();
}

const std::string& ItemList::List(int index) const { return At(index).text; }

void ItemList::SetList(int index, std::string text) { At(index).text = std::move(text); }

std::int32_t ItemList::ItemData(int index) const { return At(index).data; }

void ItemList::SetItemData(int index, std::int32_t value) { At(index).data = value; }

bool ItemList::Selected(int index) const { return At(index).selected; }

void ItemList::SetSelected(int index, bool selected) {
  Item& item = At(index);
  if (multi_select_ != kMultiSelectNone) {
    Mark(item, selected);
    return;
  }
  if (selected) {
    SetListIndex(index);
  } else if (list_index_ == index) {
    SetListIndex(-1);
  }
}

void ItemList::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) RaiseHostError(errors::kInvalidPropertyValue);
  if (multi_select_ == kMultiSelectNone) {
    if (list_index_ >= 0) Mark(items_[list_index_], false);
    if (index >= 0) Mark(items_[index], true);
  }
  list_index_ = index;
}

void ItemList::SetTopIndex(int index) {
  if (index < 0 || index > std::max(ListCount() - 1, 0)) {
    RaiseHostError(errors::kInvalidPropertyValue);
  }
  top_index_ = index;
}

ItemList::Item& ItemList::At(int index) {
  return const_cast<Item&>(std::as_const(*this).At(index));
}

const ItemList::Item& ItemList::At(int index) const {
  if (index < 0 || index >= ListCount()) RaiseHostError(errors::kInvalidPropertyArrayIndex);
  return items_[index];
}

void ItemList::Mark(Item& item, bool selected) {
  if (item.selected == selected) return;
  item.selected = selected;
  sel_count_ += selected ? 1 : -1;
}

void ItemList::ResetPositions() {
  list_index_ = -1;
  top_index_ = 0;
  new_index_ = -1;
  sel_count_ = 0;
}

}  // namespace tavorin::host::detail
