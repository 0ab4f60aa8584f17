#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>

#include "host/controls/text_selection.h"
#include "host/property_table.h"

namespace tavorin::host {
namespace detail {
namespace {

const EditText& AsEditText(const Control& control) {
  return dynamic_cast<const EditText&>(control);
}
EditText& AsEditText(Control& control) { return dynamic_cast<EditText&>(control); }

}  // namespace

std::vector<Binding> EditTextBindings() {
  return {
      {"Text", [](const Control& c) { return Variant(AsEditText(c).Text()); },
       [](Control& c, const Variant& v) { AsEditText(c).Text(CStr(v)); }},
      {"SelStart", [](const Control& c) { return Variant(AsEditText(c).SelStart()); },
       [](Control& c, const Variant& v) { AsEditText(c).SelStart(CLng(v)); }},
      {"SelLength", [](const Control& c) { return Variant(AsEditText(c).SelLength()); },
       [](Control& c, const Variant& v) { AsEditText(c).SelLength(CLng(v)); }},
      {"SelText", [](const Control& c) { return Variant(AsEditText(c).SelText()); },
       [](Control& c, const Variant& v) { AsEditText(c).SelText(CStr(v)); }},
  };
}

}  // namespace detail

namespace {

const detail::PropertyTable& TextBoxTable() {
  static const detail::PropertyTable table =
      detail::BuildClassTable("TextBox", detail::EditTextBindings());
  return table;
}

}  // namespace

EditText::EditText() : edit_(std::make_unique<detail::TextSelection>()) {}
EditText::~EditText() = default;

const std::string& EditText::Text() const { return edit_->text; }
void EditText::Text(std::string text) { edit_->SetText(std::move(text)); }
std::int32_t EditText::SelStart() const { return edit_->start; }
void EditText::SelStart(std::int32_t start) { edit_->SetStart(start); }
std::int32_t EditText::SelLength() const { return edit_->length; }
void EditText::SelLength(std::int32_t length) { edit_->SetLength(length); }
std::string EditText::SelText() const { return edit_->Selected(); }
void EditText::SelText(const std::string& text) { edit_->ReplaceSelection(text); }

TextBox::TextBox(const ControlSeed& seed) : Control(seed, TextBoxTable()) {}

}  // namespace tavorin::host
