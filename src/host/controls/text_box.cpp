#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>

#include "host/controls/text_selection.h"
#include "host/property_table.h"

namespace tavorin::host {
namespace {

const detail::PropertyTable& TextBoxTable() {
  static const detail::PropertyTable table = detail::BuildClassTable(
      "TextBox",
      {{"Text", [](const Control& c) { return Variant(static_cast<const TextBox&>(c).Text()); },
        [](Control& c, const Variant& v) { static_cast<TextBox&>(c).Text(CStr(v)); }},
       {"SelStart",
        [](const Control& c) { return Variant(static_cast<const TextBox&>(c).SelStart()); },
        [](Control& c, const Variant& v) { static_cast<TextBox&>(c).SelStart(CLng(v)); }},
       {"SelLength",
        [](const Control& c) { return Variant(static_cast<const TextBox&>(c).SelLength()); },
        [](Control& c, const Variant& v) { static_cast<TextBox&>(c).SelLength(CLng(v)); }},
       {"SelText",
        [](const Control& c) { return Variant(static_cast<const TextBox&>(c).SelText()); },
        [](Control& c, const Variant& v) { static_cast<TextBox&>(c).SelText(CStr(v)); }}});
  return table;
}

}  // namespace

TextBox::TextBox(const ControlSeed& seed)
    : Control(seed, TextBoxTable()), edit_(std::make_unique<detail::TextSelection>()) {}

TextBox::~TextBox() = default;

const std::string& TextBox::Text() const { return edit_->text; }
void TextBox::Text(std::string text) { edit_->SetText(std::move(text)); }
std::int32_t TextBox::SelStart() const { return edit_->start; }
void TextBox::SelStart(std::int32_t start) { edit_->SetStart(start); }
std::int32_t TextBox::SelLength() const { return edit_->length; }
void TextBox::SelLength(std::int32_t length) { edit_->SetLength(length); }
std::string TextBox::SelText() const { return edit_->Selected(); }
void TextBox::SelText(const std::string& text) { edit_->ReplaceSelection(text); }

}  // namespace tavorin::host
