// The rows of the registry, in dispatch order. A class joins by adding its
// row at its place in this order: PictureBox, Label, TextBox, Frame,
// CommandButton, CheckBox, OptionButton, ComboBox, ListBox, HScrollBar,
// VScrollBar, Timer, DriveListBox, DirListBox, FileListBox, Shape, Line,
// Image, Data. A key's text, meaning and default are stored facts: a changed
// row makes streams already written read back differently.
#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <typeinfo>

#include <tavorin/host/controls.h>
#include <tavorin/host/lists.h>

#include "classes/data.h"
#include "classes/label.h"
#include "classes/line.h"
#include "classes/list_sets.h"
#include "classes/picture_box.h"
#include "classes/property_set.h"

namespace tavorin::detail {
namespace {

using namespace default_literals;
using host::VarType;

// Every class is final, so its type alone tells it: a cast to one with a
// second base walked every base of the object, 134 instructions a call for a
// TextBox against a few (component_bench, under callgrind).
template <typename RuntimeClass>
bool IsInstance(const host::Control& control) {
  static_assert(std::is_final_v<RuntimeClass>);
  return typeid(control) == typeid(RuntimeClass);
}

constexpr GroupSwitches kAllGroups{};
constexpr GroupSwitches kNoTabIndex{.tabIndex = false};
constexpr GroupSwitches kNoGroups{
    .container = false, .tabIndex = false, .placement = false, .icons = false};
// Controls that have neither a tab index nor icons.
constexpr GroupSwitches kContainerOnly{.tabIndex = false, .placement = false, .icons = false};
constexpr GroupSwitches kPlacedInContainer{.tabIndex = false, .icons = false};
constexpr GroupSwitches kOutsideContainerAndTabOrder{.container = false, .tabIndex = false};

// Measured in the text, so applied after it, and start before length (a new
// start clamps the length).
constexpr OwnKey kSelStart{"SS", "SelStart", "selection start", VarType::Long, Integer(0), true};
constexpr OwnKey kSelLength{"SL", "SelLength", "selection length", VarType::Long, Integer(0), true};
constexpr std::array kTextSelection{kSelStart, kSelLength};

// A list's positions, in the order they are written; a list with no items
// stores its count alone. NewIndex falls back to -1 on both sides, so that
// against custom defaults without it an item added last at index 0 is still
// stored.
constexpr OwnKey kListCount{kListCountKey,    "ListCount", "list count",
                            VarType::Integer, Integer(0),  true};
constexpr OwnKey kListIndex{kListIndexKey, "ListIndex", "list index", VarType::Integer,
                            Integer(-1)};
constexpr OwnKey kTopIndex{kTopIndexKey, "TopIndex", "top index", VarType::Integer, Integer(0)};
constexpr OwnKey kNewIndex{kNewIndexKey,     "NewIndex",  "new index",
                           VarType::Integer, Integer(-1), true};
constexpr std::array kListPositions{kListCount, kListIndex, kTopIndex, kNewIndex};
constexpr std::array kComboBoxKeys{kListCount,
                                   kListIndex,
                                   kTopIndex,
                                   kNewIndex,
                                   OwnKey{"Tx", "Text", "text", VarType::String, Text(""), true},
                                   kSelStart,
                                   kSelLength};

// Each picture is a step of its own, after the catalogued properties (the
// mask colour among them).
constexpr OwnKey kPicture{kPictureKey, "Picture", "picture", VarType::Object, kNothing};
constexpr std::array kPictureOnly{kPicture};
constexpr std::array kButtonPictures{
    kPicture,
    OwnKey{"DoP", "DownPicture", "down picture", VarType::Object, kNothing},
    OwnKey{"DiP", "DisabledPicture", "disabled picture", VarType::Object, kNothing},
};

constexpr std::array kRecordPosition{
    OwnKey{kRecordPositionKey, "", "current record", VarType::Long, Integer(0)},
};

constexpr std::array kComboBoxItems{kItemText<host::ComboBox>, kItemData<host::ComboBox>};
constexpr std::array kListBoxItems{kItemText<host::ListBox>, kItemData<host::ListBox>,
                                   kItemSelected<host::ListBox>};
// Selection by position: the box lists its folder again where it is read.
constexpr std::array kFileListBoxItems{kItemSelected<host::FileListBox>};

constexpr std::array kPropertySets{
    PropertySet{.type = ControlType::PictureBox,
                .isRuntimeClass = &IsInstance<host::PictureBox>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = kPictureOnly,
                .itemColumns = {},
                .dataBinding = true,
                .steps = &kPictureBoxSteps},
    PropertySet{.type = ControlType::Label,
                .isRuntimeClass = &IsInstance<host::Label>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = {},
                .itemColumns = {},
                .dataBinding = true,
                .steps = &kLabelSteps},
    PropertySet{.type = ControlType::TextBox,
                .isRuntimeClass = &IsInstance<host::TextBox>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = kTextSelection,
                .itemColumns = {},
                .dataBinding = true},
    PropertySet{.type = ControlType::Frame,
                .isRuntimeClass = &IsInstance<host::Frame>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = {},
                .itemColumns = {},
                .dataBinding = false},
    PropertySet{.type = ControlType::CommandButton,
                .isRuntimeClass = &IsInstance<host::CommandButton>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = kButtonPictures,
                .itemColumns = {},
                .dataBinding = false},
    PropertySet{.type = ControlType::CheckBox,
                .isRuntimeClass = &IsInstance<host::CheckBox>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = kButtonPictures,
                .itemColumns = {},
                .dataBinding = true},
    PropertySet{.type = ControlType::OptionButton,
                .isRuntimeClass = &IsInstance<host::OptionButton>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = kButtonPictures,
                .itemColumns = {},
                .dataBinding = false},
    PropertySet{.type = ControlType::ComboBox,
                .isRuntimeClass = &IsInstance<host::ComboBox>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = kComboBoxKeys,
                .itemColumns = kComboBoxItems,
                .dataBinding = true,
                .steps = &kFilledListSteps<host::ComboBox>},
    PropertySet{.type = ControlType::ListBox,
                .isRuntimeClass = &IsInstance<host::ListBox>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = kListPositions,
                .itemColumns = kListBoxItems,
                .dataBinding = true,
                .steps = &kFilledListSteps<host::ListBox>},
    PropertySet{.type = ControlType::HScrollBar,
                .isRuntimeClass = &IsInstance<host::HScrollBar>,
                .switches = InEveryOperation(kAllGroups)},
    PropertySet{.type = ControlType::VScrollBar,
                .isRuntimeClass = &IsInstance<host::VScrollBar>,
                .switches = InEveryOperation(kAllGroups)},
    // A copied timer keeps its own container: the copy is its three
    // catalogued properties alone, Enabled last in the catalogue so that a
    // timer that is to run starts with its final interval.
    PropertySet{.type = ControlType::Timer,
                .isRuntimeClass = &IsInstance<host::Timer>,
                .switches = {.copy = kNoGroups, .write = kContainerOnly, .read = kContainerOnly}},
    // The drive and the folder are catalogued ahead of TopIndex and ListIndex,
    // so the common pattern fills the list before it positions it.
    PropertySet{.type = ControlType::DriveListBox,
                .isRuntimeClass = &IsInstance<host::DriveListBox>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = {},
                .itemColumns = {}},
    PropertySet{.type = ControlType::DirListBox,
                .isRuntimeClass = &IsInstance<host::DirListBox>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = {},
                .itemColumns = {}},
    PropertySet{.type = ControlType::FileListBox,
                .isRuntimeClass = &IsInstance<host::FileListBox>,
                .switches = InEveryOperation(kAllGroups),
                .ownKeys = {},
                .itemColumns = kFileListBoxItems},
    PropertySet{.type = ControlType::Shape,
                .isRuntimeClass = &IsInstance<host::Shape>,
                .switches = InEveryOperation(kPlacedInContainer)},
    // A line has end points instead of a placement: the write records its
    // container's units, and its own steps convert the end points from them.
    PropertySet{
        .type = ControlType::Line,
        .isRuntimeClass = &IsInstance<host::Line>,
        .switches = {.copy = kContainerOnly, .write = kPlacedInContainer, .read = kContainerOnly},
        .steps = &kLineSteps},
    // The tab index is never carried: the runtime's image has none.
    PropertySet{.type = ControlType::Image,
                .isRuntimeClass = &IsInstance<host::Image>,
                .switches = InEveryOperation(kNoTabIndex),
                .ownKeys = kPictureOnly,
                .itemColumns = {},
                .dataBinding = true},
    // The current record is not a property: the steps reach it through the
    // recordset. A Data control stays in its own container; its tab index is
    // never written, only read.
    PropertySet{.type = ControlType::Data,
                .isRuntimeClass = &IsInstance<host::Data>,
                .switches = {.copy = kOutsideContainerAndTabOrder,
                             .write = kOutsideContainerAndTabOrder,
                             .read = {.container = false}},
                .ownKeys = kRecordPosition,
                .steps = &kDataSteps},
};

}  // namespace

const OwnKey& PropertySet::Key(std::string_view key) const {
  const auto found = std::find_if(ownKeys.begin(), ownKeys.end(),
                                  [&](const OwnKey& own) { return own.key == key; });
  if (found == ownKeys.end()) {
    throw std::logic_error("no own key " + std::string(key) + " in the set of " +
                           std::string(ClassNameOf(type)));
  }
  return *found;
}

std::span<const PropertySet> PropertySets() { return kPropertySets; }

const PropertySet* FindPropertySet(ControlType type) {
  const auto found = std::find_if(kPropertySets.begin(), kPropertySets.end(),
                                  [&](const PropertySet& set) { return set.type == type; });
  return found == kPropertySets.end() ? nullptr : &*found;
}

const PropertySet* FindPropertySet(std::string_view className) {
  const std::optional<ControlType> type = ControlTypeFromClassName(className);
  return type ? FindPropertySet(*type) : nullptr;
}

}  // namespace tavorin::detail
