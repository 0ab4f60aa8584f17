// An edit text with its selection, as a TextBox and a ComboBox keep it.
// Positions and lengths count characters (UTF-8 sequences), not bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

/// The by-name members Text, SelStart, SelLength and SelText of a control
/// that is an EditText.
std::vector<Binding> EditTextBindings();

}  // namespace tavorin::host::detail
