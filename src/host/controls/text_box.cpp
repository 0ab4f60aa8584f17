#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>

#include "host/controls/text_selection.h"
#include "host/property_table.h"

namespace tavorin::host {
namespace {

const detail::PropertyTable& TextBoxTable() {
  static const detail::PropertyTable table =
      detail::BuildClassTable("TextBox", detail::EditTextBindings<TextBox>());
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
