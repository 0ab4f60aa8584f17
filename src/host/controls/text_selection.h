// An edit text with its selection, as a TextBox and a ComboBox keep it.
// Positions and lengths count characters (UTF-8 sequences), not bytes.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>

#include "host/property_table.h"

namespace tavorin::host::detail {

struct TextSelection {
  std::string text;
  std::int32_t start = 0;
  std::int32_t length = 0;

  /// The caret goes to 0 with nothing selected.
  void SetText(std::string newText);
  /// Beyond the text: its end. The selection becomes a caret (length 0).
  /// Negative: 380.
  void SetStart(std::int32_t newStart);
  /// Cut to the text after the start; negative: 380.
  void SetLength(std::int32_t newLength);
  std::string Selected() const;
  /// Puts `replacement` in place of the selection; the caret follows it.
  void ReplaceSelection(const std::string& replacement);

 private:
  std::int32_t Length() const;
  /// The byte offset of character `position` (at most the text's size).
  std::size_t Offset(std::int32_t position) const;
};

/// The EditText of a control known to be an `Edit`.
template <typename Edit>
const EditText& EditTextOf(const Control& control) {
  return static_cast<const Edit&>(control);
}
template <typename Edit>
EditText& EditTextOf(Control& control) {
  return static_cast<Edit&>(control);
}

/// The by-name members Text, SelStart, SelLength and SelText of `Edit`, a
/// final control class that is an EditText. Only `Edit`'s own table holds
/// them, so the control a binding receives is an `Edit` and a static cast
/// reaches its EditText: the cross-cast it replaces cost about 400
/// instructions per access, more than the rest of a SelStart assignment.
template <typename Edit>
std::vector<Binding> EditTextBindings() {
  static_assert(std::is_final_v<Edit> && std::is_base_of_v<EditText, Edit>);
  return {
      {"Text", [](const Control& c) { return Variant(EditTextOf<Edit>(c).Text()); },
       [](Control& c, const Variant& v) { EditTextOf<Edit>(c).Text(CStr(v)); }},
      {"SelStart", [](const Control& c) { return Variant(EditTextOf<Edit>(c).SelStart()); },
       [](Control& c, const Variant& v) { EditTextOf<Edit>(c).SelStart(CLng(v)); }},
      {"SelLength", [](const Control& c) { return Variant(EditTextOf<Edit>(c).SelLength()); },
       [](Control& c, const Variant& v) { EditTextOf<Edit>(c).SelLength(CLng(v)); }},
      {"SelText", [](const Control& c) { return Variant(EditTextOf<Edit>(c).SelText()); },
       [](Control& c, const Variant& v) { EditTextOf<Edit>(c).SelText(CStr(v)); }},
  };
}

}  // namespace tavorin::host::detail
