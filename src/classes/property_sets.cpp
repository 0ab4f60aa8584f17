#include <algorithm>
#include <array>

#include "classes/property_set.h"
#include "classes/textbox.h"

namespace tavorin::detail {
namespace {

// In dispatch order, the first match winning. A class joins by adding its row
// at its place in this order: PictureBox, Label, TextBox, Frame, CommandButton,
// CheckBox, OptionButton, ComboBox, ListBox, HScrollBar and VScrollBar, Timer,
// DriveListBox and DirListBox, FileListBox, Shape, Line, Image, Data.
constexpr std::array kPropertySets{
    PropertySet{"TextBox", &CopyTextBox, &TextBoxToStream, &StreamToTextBox},
};

}  // namespace

const PropertySet* FindPropertySet(std::string_view className) {
  const auto found = std::find_if(
      kPropertySets.begin(), kPropertySets.end(),
      [&](const PropertySet& set) { return set.className == className; });
  return found == kPropertySets.end() ? nullptr : &*found;
}

}  // namespace tavorin::detail
