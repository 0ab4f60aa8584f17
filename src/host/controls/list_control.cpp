#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/lists.h>

#include "host/controls/list_members.h"
#include "host/controls/text_selection.h"
#include "host/item_list.h"

namespace tavorin::host {
namespace detail {
namespace {

ListControl& AsList(Control& control) { return static_cast<ListControl&>(control); }
const ListControl& AsList(const Control& control) {
  return static_cast<const ListControl&>(control);
}

/// An item index argument: an Integer.
int IndexArgument(const Variant& value) { return CInt(value); }

/// List positions and counts are Integers by name (a list holds at most
/// 32,767 items).
Variant Integer(int value) { return Variant(static_cast<std::int16_t>(value)); }

}  // namespace

std::vector<Binding> ListMembers::Positions() {
  return {
      {"ListCount", [](const Control& c) { return Integer(AsList(c).ListCount()); }, nullptr},
      {"ListIndex", [](const Control& c) { return Integer(AsList(c).ListIndex()); },
       [](Control& c, const Variant& v) { AsList(c).ListIndex(CInt(v)); }},
      {"TopIndex", [](const Control& c) { return Integer(AsList(c).TopIndex()); },
       [](Control& c, const Variant& v) { AsList(c).TopIndex(CInt(v)); }},
  };
}

Binding ListMembers::NewIndex() {
  return {"NewIndex", [](const Control& c) { return Integer(AsList(c).NewIndex()); }, nullptr};
}

std::vector<Binding> ListMembers::Selection() {
  return {
      {"SelCount", [](const Control& c) { return Integer(AsList(c).SelCount()); }, nullptr},
      {"MultiSelect", [](const Control& c) { return Integer(AsList(c).MultiSelect()); },
       [](Control& c, const Variant& v) { AsList(c).MultiSelect(CInt(v)); }},
  };
}

MethodSpec ListMembers::ReadOnlyList() {
  return {"List", 1, 2, [](Control& c, const std::vector<Variant>& args) {
            if (args.size() > 1) RaiseHostError(errors::kPropertyReadOnly);
            return Variant(AsList(c).List(IndexArgument(args[0])));
          }};
}

std::vector<MethodSpec> ListMembers::Editing() {
  return {
      {"AddItem", 1, 2,
       [](Control& c, const std::vector<Variant>& args) {
         std::optional<int> index;
         if (args.size() > 1 && !args[1].IsMissing()) index = IndexArgument(args[1]);
         AsList(c).AddItem(CStr(args[0]), index);
         return Variant();
       }},
      {"RemoveItem", 1, 1,
       [](Control& c, const std::vector<Variant>& args) {
         AsList(c).RemoveItem(IndexArgument(args[0]));
         return Variant();
       }},
      {"Clear", 0, 0,
       [](Control& c, const std::vector<Variant>&) {
         AsList(c).Clear();
         return Variant();
       }},
      {"List", 1, 2,
       [](Control& c, const std::vector<Variant>& args) {
         ListControl& list = AsList(c);
         if (args.size() == 1) return Variant(list.List(IndexArgument(args[0])));
         list.List(IndexArgument(args[0]), CStr(args[1]));
         return Variant();
       }},
      {"ItemData", 1, 2,
       [](Control& c, const std::vector<Variant>& args) {
         ListControl& list = AsList(c);
         if (args.size() == 1) return Variant(list.ItemData(IndexArgument(args[0])));
         list.ItemData(IndexArgument(args[0]), CLng(args[1]));
         return Variant();
       }},
  };
}

MethodSpec ListMembers::Selected() {
  return {"Selected", 1, 2, [](Control& c, const std::vector<Variant>& args) {
            ListControl& list = AsList(c);
            if (args.size() == 1) return Variant(list.Selected(IndexArgument(args[0])));
            list.Selected(IndexArgument(args[0]), CBool(args[1]));
            return Variant();
          }};
}

}  // namespace detail

namespace {

std::vector<detail::Binding> EditableListBindings() {
  std::vector<detail::Binding> bindings = detail::ListMembers::Positions();
  bindings.push_back(detail::ListMembers::NewIndex());
  return bindings;
}

const detail::PropertyTable& ComboBoxTable() {
  static const detail::PropertyTable table = [] {
    std::vector<detail::Binding> bindings = EditableListBindings();
    for (const detail::Binding& binding : detail::EditTextBindings<ComboBox>())
      bindings.push_back(binding);
    return detail::BuildClassTable("ComboBox", bindings, detail::ListMembers::Editing());
  }();
  return table;
}

const detail::PropertyTable& ListBoxTable() {
  static const detail::PropertyTable table = [] {
    std::vector<detail::Binding> bindings = EditableListBindings();
    for (const detail::Binding& binding : detail::ListMembers::Selection()) {
      bindings.push_back(binding);
    }
    std::vector<detail::MethodSpec> methods = detail::ListMembers::Editing();
    methods.push_back(detail::ListMembers::Selected());
    return detail::BuildClassTable("ListBox", bindings, std::move(methods));
  }();
  return table;
}

}  // namespace

ListControl::ListControl(const ControlSeed& seed, const detail::PropertyTable& table)
    : Control(seed, table), items_(std::make_unique<detail::ItemList>()) {}

ListControl::~ListControl() = default;

const std::string& ListControl::List(int index) const { return items_->List(index); }
int ListControl::ListCount() const { return items_->ListCount(); }
int ListControl::ListIndex() const { return items_->ListIndex(); }
void ListControl::ListIndex(int index) { items_->SetListIndex(index); }
int ListControl::TopIndex() const { return items_->TopIndex(); }
void ListControl::TopIndex(int index) { items_->SetTopIndex(index); }

void ListControl::AddItem(const std::string& text, std::optional<int> index) {
  items_->AddItem(text, index);
}
void ListControl::ReserveItems(int count) { items_->Reserve(count); }
void ListControl::RemoveItem(int index) { items_->RemoveItem(index); }
void ListControl::Clear() { items_->Clear(); }
void ListControl::List(int index, std::string text) { items_->SetList(index, std::move(text)); }
std::int32_t ListControl::ItemData(int index) const { return items_->ItemData(index); }
void ListControl::ItemData(int index, std::int32_t value) { items_->SetItemData(index, value); }
int ListControl::NewIndex() const { return items_->NewIndex(); }
bool ListControl::Selected(int index) const { return items_->Selected(index); }
void ListControl::Selected(int index, bool selected) { items_->SetSelected(index, selected); }
int ListControl::SelCount() const { return items_->SelCount(); }
int ListControl::MultiSelect() const { return items_->MultiSelect(); }
void ListControl::MultiSelect(int mode) { items_->SetMultiSelect(mode); }

ComboBox::ComboBox(const ControlSeed& seed) : ListControl(seed, ComboBoxTable()) {}

void ComboBox::ListIndex(int index) {
  Items().SetListIndex(index);
  EditText::Text(index >= 0 ? List(index) : std::string());
}

void ComboBox::Text(std::string text) {
  const int chosen = ListIndex();
  if (chosen >= 0 && List(chosen) != text) Items().SetListIndex(-1);
  EditText::Text(std::move(text));
}

ListBox::ListBox(const ControlSeed& seed) : ListControl(seed, ListBoxTable()) {}

}  // namespace tavorin::host
