// The properties of the nineteen control classes: type, range, access and the
// value of a new control. Colours accept any Long (the high bit names a system
// colour). Members a class treats specially (Text, ListIndex, Path, ...) are
// listed here too; their classes attach the getters and setters.
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/property_table.h"

namespace tavorin::host::detail {
namespace {

using Specs = std::vector<PropertySpec>;

constexpr std::int32_t kButtonFace = static_cast<std::int32_t>(0x8000000Fu);
constexpr std::int32_t kButtonText = static_cast<std::int32_t>(0x80000012u);
constexpr std::int32_t kWindowBackground = static_cast<std::int32_t>(0x80000005u);
constexpr std::int32_t kWindowText = static_cast<std::int32_t>(0x80000008u);
constexpr std::int32_t kLightGrey = 0xC0C0C0;
constexpr double kInt16Max = std::numeric_limits<std::int16_t>::max();
constexpr double kInt16Min = std::numeric_limits<std::int16_t>::min();
constexpr double kLongMax = std::numeric_limits<std::int32_t>::max();

PropertySpec Spec(std::string name, VarType type, Variant initial, ValueRange range = {}) {
  PropertySpec spec;
  spec.name = std::move(name);
  spec.type = type;
  spec.initial = std::move(initial);
  spec.range = std::move(range);
  return spec;
}

/// An Integer in min..max.
PropertySpec Int(std::string name, std::int16_t initial, double min = kInt16Min,
                 double max = kInt16Max) {
  return Spec(std::move(name), VarType::Integer, initial, ValueRange{min, max, {}, {}});
}
/// An Integer that a class handles itself and that keeps its own value on creation.
PropertySpec SpecialInt(std::string name, double min = kInt16Min, double max = kInt16Max) {
  return Spec(std::move(name), VarType::Integer, Variant(), ValueRange{min, max, {}, {}});
}
PropertySpec Long(std::string name, std::int32_t initial, double min = -kLongMax - 1,
                  double max = kLongMax) {
  return Spec(std::move(name), VarType::Long, initial, ValueRange{min, max, {}, {}});
}
constexpr double kUnbounded = std::numeric_limits<double>::infinity();

PropertySpec Single(std::string name, float initial, double min = -kUnbounded) {
  return Spec(std::move(name), VarType::Single, initial, ValueRange{min, kUnbounded, {}, {}});
}
PropertySpec Text(std::string name, std::string initial) {
  return Spec(std::move(name), VarType::String, std::move(initial));
}
PropertySpec Flag(std::string name, bool initial) {
  return Spec(std::move(name), VarType::Boolean, initial);
}
/// Nothing or an object of `objectType`, Nothing at first.
PropertySpec ObjectOf(std::string name, std::string objectType) {
  return Spec(std::move(name), VarType::Object, ObjectRef(),
              ValueRange{-kUnbounded, kUnbounded, {}, std::move(objectType)});
}
PropertySpec ReadOnly(PropertySpec spec) {
  spec.readOnly = true;
  spec.initial = Variant();
  return spec;
}

Specs Join(std::initializer_list<Specs> parts) {
  Specs joined;
  for (const Specs& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

Specs Font() {
  return {Text("FontName", "MS Sans Serif"),
          Spec("FontSize", VarType::Single, 8.25F, ValueRange{1, 2160, {}, {}}),
          Flag("FontBold", false),
          Flag("FontItalic", false),
          Flag("FontStrikethru", false),
          Flag("FontUnderline", false)};
}

PropertySpec MousePointer() {
  std::vector<std::int32_t> pointers;
  for (std::int32_t pointer = 0; pointer <= 15; ++pointer) pointers.push_back(pointer);
  pointers.push_back(99);  // custom: the MouseIcon
  return Spec("MousePointer", VarType::Integer, std::int16_t{0},
              ValueRange{0, 99, std::move(pointers), {}});
}

/// Enabled, MousePointer, DragMode, Tag and Visible: what every visible
/// control but Line and Shape has.
Specs Interactive() {
  return {Flag("Enabled", true), MousePointer(), Int("DragMode", 0, 0, 1), Text("Tag", ""),
          Flag("Visible", true)};
}

/// The members of a control that takes the focus.
Specs Focusable() {
  return {Flag("TabStop", true), Flag("CausesValidation", true), Long("HelpContextID", 0),
          Long("WhatsThisHelpID", 0)};
}

Specs Colours(std::int32_t back, std::int32_t fore) {
  return {Long("BackColor", back), Long("ForeColor", fore)};
}

/// Appearance, RightToLeft, ToolTipText and the OLE drop mode (0 to
/// `maxDropMode`).
Specs Look(std::int16_t maxDropMode) {
  return {Int("Appearance", 1, 0, 1), Flag("RightToLeft", false), Text("ToolTipText", ""),
          Int("OLEDropMode", 0, 0, maxDropMode)};
}

Specs LinkMembers() {
  return {Text("LinkTopic", ""), Text("LinkItem", ""), Int("LinkMode", 0, 0, 3),
          Int("LinkTimeout", 50)};
}

Specs ButtonPictures() {
  return {ObjectOf("Picture", "Picture"), ObjectOf("DownPicture", "Picture"),
          ObjectOf("DisabledPicture", "Picture"), Long("MaskColor", kLightGrey),
          Flag("UseMaskColor", false)};
}

/// Text with its selection (TextBox, ComboBox).
Specs EditText() {
  return {Text("Text", ""), Long("SelStart", 0, 0), Long("SelLength", 0, 0),
          Spec("SelText", VarType::String, Variant())};
}

/// The list members. ListIndex and TopIndex keep their own value on creation
/// unless a class lists a start value.
Specs ListMembers() {
  return {ReadOnly(Int("ListCount", 0)), SpecialInt("ListIndex", -1), SpecialInt("TopIndex", 0)};
}
Specs EditableListMembers() { return Join({ListMembers(), {ReadOnly(Int("NewIndex", 0))}}); }
Specs Selection() { return {ReadOnly(Int("SelCount", 0)), SpecialInt("MultiSelect", 0, 2)}; }

Specs DrawingMembers() {
  return {Int("DrawMode", 13, 1, 16), Int("BorderStyle", 1, 0, 6), Int("BorderWidth", 1, 1, 8192)};
}

ClassShape Shape(bool tabIndex, bool window, bool icons, bool dataBinding) {
  ClassShape shape;
  shape.tabIndex = tabIndex;
  shape.window = window;
  shape.icons = icons;
  shape.dataBinding = dataBinding;
  return shape;
}

// The class tables below are packed by hand, a row per group of members.
// clang-format off
ClassData PictureBoxData() {
  return {Shape(true, true, true, true),
          Join({Interactive(), Focusable(), Look(2), Font(), LinkMembers(),
                Colours(kButtonFace, kButtonText),
                {Int("BorderStyle", 1, 0, 1), Flag("AutoSize", false), Int("Align", 0, 0, 4),
                 Single("ScaleLeft", 0), Single("ScaleTop", 0), Single("ScaleWidth", 0),
                 Single("ScaleHeight", 0), Int("ScaleMode", 1, 0, 7), Single("CurrentX", 0),
                 Single("CurrentY", 0), Flag("FontTransparent", true), Int("DrawStyle", 0, 0, 6),
                 Int("DrawWidth", 1, 1, kInt16Max), Int("FillStyle", 1, 0, 7),
                 Long("FillColor", 0), Int("DrawMode", 13, 1, 16), Flag("AutoRedraw", false),
                 Flag("ClipControls", true), Int("OLEDragMode", 0, 0, 1),
                 ObjectOf("Picture", "Picture"), ReadOnly(ObjectOf("Image", "Picture"))}})};
}

ClassData LabelData() {
  return {Shape(true, false, true, true),
          Join({Interactive(), Look(1), Font(), LinkMembers(), Colours(kButtonFace, kButtonText),
                {Flag("AutoSize", false), Flag("WordWrap", false), Int("BackStyle", 1, 0, 1),
                 Text("Caption", ""), Int("BorderStyle", 0, 0, 1), Int("Alignment", 0, 0, 2),
                 Flag("UseMnemonic", true), Long("WhatsThisHelpID", 0)}})};
}

ClassData TextBoxData() {
  return {Shape(true, true, true, true),
          Join({Interactive(), Focusable(), Look(2), Font(), LinkMembers(), EditText(),
                Colours(kWindowBackground, kWindowText),
                {Int("BorderStyle", 1, 0, 1),
                 Spec("PasswordChar", VarType::String, "", ValueRange{0, 1, {}, {}}),
                 Int("Alignment", 0, 0, 2), Long("MaxLength", 0, 0), Flag("Locked", false),
                 Int("OLEDragMode", 0, 0, 1)}})};
}

ClassData FrameData() {
  return {Shape(true, true, true, false),
          Join({Interactive(), Look(1), Font(), Colours(kButtonFace, kButtonText),
                {Int("BorderStyle", 1, 0, 1), Text("Caption", ""), Flag("ClipControls", true),
                 Long("HelpContextID", 0), Long("WhatsThisHelpID", 0)}})};
}

ClassData CommandButtonData() {
  return {Shape(true, true, true, false),
          Join({Interactive(), Focusable(), Look(1), Font(), ButtonPictures(),
                {Long("BackColor", kButtonFace), Text("Caption", ""), Flag("Default", false),
                 Flag("Cancel", false), Flag("Value", false)}})};
}

/// CheckBox and OptionButton: a caption beside a mark, and its Value.
ClassData MarkButtonData(PropertySpec value) {
  return {Shape(true, true, true, false),
          Join({Interactive(), Focusable(), Look(1), Font(), ButtonPictures(),
                Colours(kButtonFace, kButtonText),
                {Text("Caption", ""), Int("Alignment", 0, 0, 1), std::move(value)}})};
}

ClassData CheckBoxData() {
  ClassData data = MarkButtonData(Int("Value", 0, 0, 2));
  data.shape.dataBinding = true;
  return data;
}

ClassData ComboBoxData() {
  return {Shape(true, true, true, true),
          Join({Interactive(), Focusable(), Look(1), Font(), EditText(), EditableListMembers(),
                Colours(kWindowBackground, kWindowText),
                {Int("ListIndex", -1), Flag("Locked", false), Int("OLEDragMode", 0, 0, 1),
                 Single("Height", 315, 0)}})};
}

ClassData ListBoxData() {
  return {Shape(true, true, true, true),
          Join({Interactive(), Focusable(), Look(1), Font(), EditableListMembers(), Selection(),
                Colours(kWindowBackground, kWindowText),
                {Int("ListIndex", -1), Int("Columns", 0, 0), Int("OLEDragMode", 0, 0, 1),
                 Single("Height", 255, 0)}})};
}

ClassData ScrollBarData() {
  return {Shape(true, true, true, false),
          Join({Interactive(), Focusable(),
                {Flag("RightToLeft", false), Int("Min", 0), Int("Max", kInt16Max),
                 Int("SmallChange", 1, 1), Int("LargeChange", 1, 1), Int("Value", 0)}})};
}

ClassData TimerData() {
  ClassShape shape = Shape(false, false, false, false);
  shape.placement = false;
  shape.refresh = false;
  return {shape, {Long("Interval", 0, 0, 65535), Text("Tag", ""), Flag("Enabled", true)}};
}

/// The drive, folder and file list boxes: lists the control fills itself.
Specs FileControl() {
  return Join({Interactive(), Focusable(), Font(), ListMembers(),
               Colours(kWindowBackground, kWindowText),
               {Int("Appearance", 1, 0, 1), Text("ToolTipText", ""), Int("OLEDropMode", 0, 0, 1)}});
}

ClassData DriveListBoxData() {
  // ListIndex always marks the current drive, wherever it stands in the list.
  return {Shape(true, true, true, false),
          Join({FileControl(), {Text("Drive", "c:\\"), Int("TopIndex", 0)}})};
}

ClassData DirListBoxData() {
  return {Shape(true, true, true, false),
          Join({FileControl(),
                {Text("Path", "C:\\"), Int("OLEDragMode", 0, 0, 1), Int("TopIndex", 2),
                 Int("ListIndex", -1)}})};
}

ClassData FileListBoxData() {
  return {Shape(true, true, true, false),
          Join({FileControl(), Selection(),
                {Text("Pattern", "*.*"), Flag("Normal", true), Flag("ReadOnly", true),
                 Flag("Archive", true), Flag("Hidden", false), Flag("System", false),
                 Int("OLEDragMode", 0, 0, 1), Text("Path", "C:\\"), Int("TopIndex", 0),
                 Int("ListIndex", -1)}})};
}

ClassData ShapeData() {
  return {Shape(false, false, false, false),
          Join({DrawingMembers(),
                {Long("BackColor", kWindowBackground), Long("BorderColor", kWindowText),
                 Text("Tag", ""), Int("Shape", 0, 0, 5), Long("FillColor", 0),
                 Int("BackStyle", 0, 0, 1), Int("FillStyle", 1, 0, 7), Flag("Visible", true)}})};
}

ClassData LineData() {
  ClassShape shape = Shape(false, false, false, false);
  shape.placement = false;
  return {shape, Join({DrawingMembers(),
                       {Long("BorderColor", kWindowText), Single("X1", 0), Single("Y1", 0),
                        Single("X2", 0), Single("Y2", 0), Text("Tag", ""),
                        Flag("Visible", true)}})};
}

ClassData ImageData() {
  return {Shape(false, false, true, true),
          Join({Interactive(),
                {Flag("Stretch", false), Int("BorderStyle", 1, 0, 1), Long("WhatsThisHelpID", 0),
                 Int("Appearance", 1, 0, 1), Text("ToolTipText", ""), Int("OLEDragMode", 0, 0, 1),
                 Int("OLEDropMode", 0, 0, 1), ObjectOf("Picture", "Picture")}})};
}

ClassData DataData() {
  return {Shape(false, true, true, false),
          Join({Interactive(), Look(1), Font(), Colours(kWindowBackground, kWindowText),
                {Text("Connect", "Access 2000;"), Text("DatabaseName", ""),
                 Flag("Exclusive", false), Flag("ReadOnly", false), Text("RecordSource", ""),
                 Text("Caption", "Data1"), Int("Options", 0), Int("Align", 0, 0, 4),
                 Int("BOFAction", 0, 0, 1), Int("EOFAction", 0, 0, 2),
                 Int("RecordsetType", 1, 0, 2), Long("WhatsThisHelpID", 0),
                 Int("DefaultType", 2, 1, 2), Int("DefaultCursorType", 0, 0, 2),
                 ReadOnly(ObjectOf("Recordset", "Recordset"))}})};
}

// clang-format on

std::unordered_map<std::string_view, ClassData> AllClasses() {
  std::unordered_map<std::string_view, ClassData> classes;
  classes.emplace("PictureBox", PictureBoxData());
  classes.emplace("Label", LabelData());
  classes.emplace("TextBox", TextBoxData());
  classes.emplace("Frame", FrameData());
  classes.emplace("CommandButton", CommandButtonData());
  classes.emplace("CheckBox", CheckBoxData());
  classes.emplace("OptionButton", MarkButtonData(Flag("Value", false)));
  classes.emplace("ComboBox", ComboBoxData());
  classes.emplace("ListBox", ListBoxData());
  classes.emplace("HScrollBar", ScrollBarData());
  classes.emplace("VScrollBar", ScrollBarData());
  classes.emplace("Timer", TimerData());
  classes.emplace("DriveListBox", DriveListBoxData());
  classes.emplace("DirListBox", DirListBoxData());
  classes.emplace("FileListBox", FileListBoxData());
  classes.emplace("Shape", ShapeData());
  classes.emplace("Line", LineData());
  classes.emplace("Image", ImageData());
  classes.emplace("Data", DataData());
  return classes;
}

}  // namespace

std::vector<PropertySpec> SharedProperties(const ClassShape& shape) {
  Specs shared = {ReadOnly(Text("Name", "")), ReadOnly(Int("Index", 0)),
                  ReadOnly(ObjectOf("Parent", "Form")),
                  Spec("Container", VarType::Object, Variant())};
  if (shape.placement) {
    shared.push_back(Single("Left", 0));
    shared.push_back(Single("Top", 0));
    shared.push_back(Single("Width", 0, 0));
    shared.push_back(Single("Height", 0, 0));
  }
  if (shape.tabIndex) shared.push_back(SpecialInt("TabIndex", 0));
  if (shape.window) shared.push_back(ReadOnly(Long("hWnd", 0)));
  if (shape.icons) {
    shared.push_back(ObjectOf("DragIcon", "Picture"));
    shared.push_back(ObjectOf("MouseIcon", "Picture"));
  }
  if (shape.dataBinding) {
    PropertySpec source = ObjectOf("DataSource", "Data");
    source.initial = Variant();  // bound controls start unbound by construction
    shared.push_back(std::move(source));
    shared.push_back(Spec("DataField", VarType::String, Variant()));
    shared.push_back(Text("DataMember", ""));
    shared.push_back(ObjectOf("DataFormat", "StdDataFormat"));
    shared.push_back(Flag("DataChanged", false));
  }
  return shared;
}

const ClassData* FindClassData(std::string_view className) {
  static const std::unordered_map<std::string_view, ClassData> classes = AllClasses();
  const auto found = classes.find(className);
  return found == classes.end() ? nullptr : &found->second;
}

}  // namespace tavorin::host::detail
