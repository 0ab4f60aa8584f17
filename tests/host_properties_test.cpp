// Member access by name: conversion, range refusal, read-only and unknown
// members, methods; the special members of the simpler classes; and new
// controls at their class's catalogued defaults.
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "catalogue/control_type.h"
#include "catalogue/defaults_catalogue.h"
#include "host/property_positions.h"
#include "support/raises.h"

namespace tavorin::host {
namespace {

class HostPropertiesTest : public ::testing::Test {
 protected:
  template <typename ControlClass = Control>
  std::shared_ptr<ControlClass> Add(const std::string& className) {
    return std::dynamic_pointer_cast<ControlClass>(
        form->AddControl(className, className + std::to_string(++count)));
  }
  std::shared_ptr<Form> form = Form::Create("Form1");
  int count = 0;
};

TEST_F(HostPropertiesTest, AssignmentConvertsToThePropertysTypeAndNamesIgnoreCase) {
  const std::tuple<const char*, const char*, Variant, Variant> cases[] = {
      // class, property, given, read back
      {"TextBox", "tExT", Variant(12.5), Variant("12.5")},
      {"TextBox", "Locked", Variant("TRUE"), Variant(true)},
      {"TextBox", "MaxLength", Variant("0"), Variant(std::int32_t{0})},
      {"Label", "Caption", Variant(true), Variant("True")},
      {"Label", "BackStyle", Variant(0.4), Variant(std::int16_t{0})},
      {"Label", "FontSize", Variant(std::int16_t{12}), Variant(12.0F)},
      {"PictureBox", "BackColor", Variant(static_cast<std::int32_t>(0x80000005u)),
       Variant(static_cast<std::int32_t>(0x80000005u))},
      {"CommandButton", "Default", Variant(std::int32_t{-1}), Variant(true)},
      {"CheckBox", "Value", Variant("2"), Variant(std::int16_t{2})},
      {"OptionButton", "Value", Variant("true"), Variant(true)},
      {"Timer", "Interval", Variant(65535.0), Variant(std::int32_t{65535})},
      {"Line", "X2", Variant("1.5"), Variant(1.5F)},
      {"Image", "Stretch", Variant("False"), Variant(false)},
      {"TextBox", "MousePointer", Variant(99), Variant(std::int16_t{99})},
  };
  for (const auto& [className, property, given, stored] : cases) {
    SCOPED_TRACE(std::string(className) + "." + property);
    auto control = Add(className);
    control->SetProperty(property, given);
    EXPECT_EQ(control->GetProperty(property), stored);
  }
}

TEST_F(HostPropertiesTest, RefusedValuesLeaveThePropertyAsItWas) {
  const std::tuple<const char*, const char*, Variant, int> cases[] = {
      {"TextBox", "PasswordChar", Variant("**"), errors::kInvalidPropertyValue},
      {"TextBox", "MaxLength", Variant(-1), errors::kInvalidPropertyValue},
      {"TextBox", "MousePointer", Variant(16), errors::kInvalidPropertyValue},
      {"TextBox", "Locked", Variant("maybe"), errors::kTypeMismatch},
      {"Label", "FontSize", Variant(0), errors::kInvalidPropertyValue},
      {"PictureBox", "ScaleMode", Variant(70000), errors::kOverflow},
      {"PictureBox", "Width", Variant(-1.0F), errors::kInvalidPropertyValue},
      {"Frame", "BorderStyle", Variant("x"), errors::kTypeMismatch},
      {"CheckBox", "Value", Variant(3), errors::kInvalidPropertyValue},
      {"CommandButton", "Value", Variant(Variant::Null()), errors::kInvalidUseOfNull},
      {"VScrollBar", "SmallChange", Variant(0), errors::kInvalidPropertyValue},
      {"VScrollBar", "Value", Variant(-1), errors::kInvalidPropertyValue},
      {"Timer", "Interval", Variant(65536), errors::kInvalidPropertyValue},
      {"Data", "DefaultType", Variant(0), errors::kInvalidPropertyValue},
      {"ComboBox", "DragIcon", Variant(ObjectRef(std::make_shared<DataFormat>())),
       errors::kInvalidPropertyValue},
      {"TextBox", "DataFormat", Variant("text"), errors::kTypeMismatch},
  };
  for (const auto& [className, property, given, error] : cases) {
    SCOPED_TRACE(std::string(className) + "." + property);
    auto control = Add(className);
    const Variant before = control->GetProperty(property);
    EXPECT_RAISES(error, control->SetProperty(property, given));
    EXPECT_EQ(control->GetProperty(property), before);
  }
}

TEST_F(HostPropertiesTest, ReadOnlyMembersRaise383AndUnknownNames438) {
  const std::pair<const char*, const char*> readOnly[] = {
      {"TextBox", "Name"},      {"TextBox", "Parent"},   {"TextBox", "hWnd"},
      {"ListBox", "ListCount"}, {"ListBox", "NewIndex"}, {"ListBox", "SelCount"},
      {"Data", "Recordset"},    {"PictureBox", "Image"}, {"Frame", "Index"}};
  for (const auto& [className, property] : readOnly) {
    SCOPED_TRACE(std::string(className) + "." + property);
    EXPECT_RAISES(errors::kPropertyReadOnly, Add(className)->SetProperty(property, Variant()));
  }
  const std::pair<const char*, const char*> unknown[] = {
      {"TextBox", "Caption"}, {"Label", "Text"},      {"Line", "Left"},
      {"Timer", "Width"},     {"Shape", "TabIndex"},  {"Image", "hWnd"},
      {"Shape", "DragIcon"},  {"Frame", "DataField"}, {"TextBox", ""}};
  for (const auto& [className, property] : unknown) {
    SCOPED_TRACE(std::string(className) + "." + property);
    auto control = Add(className);
    EXPECT_RAISES(errors::kNoSuchMember, control->GetProperty(property));
    EXPECT_RAISES(errors::kNoSuchMember, control->SetProperty(property, 1));
  }
  EXPECT_RAISES(errors::kNoSuchMember, Add("Label")->CallMethod("AddItem", {Variant("x")}));
}

// What one access to a member gave: its value, or the number of its error.
struct Outcome {
  Variant value;
  std::int32_t error = 0;
  bool operator==(const Outcome&) const = default;
};

template <typename Access>
Outcome OutcomeOf(const Access& access) {
  try {
    return {access(), 0};
  } catch (const RuntimeError& error) {
    return {Variant(), error.Number()};
  }
}

// A fixed list of names, placed once a class, reached on controls of several
// classes in turn: each access acts as the same access by name on a twin of
// the control, refusals and missing members included.
TEST_F(HostPropertiesTest, PropertiesReachedByTheirPlaceActAsByName) {
  const std::vector<std::string_view> names = {"Text", "Caption", "Value",
                                               "hWnd", "Left",    "Nonesuch"};
  const detail::PropertyPositions positions(names);
  const std::vector<std::string> classes = {"TextBox",    "Label",   "HScrollBar",
                                            "VScrollBar", "TextBox", "HScrollBar"};
  for (const std::string& className : classes) {
    auto byPlace = Add(className);
    auto byName = Add(className);
    for (std::size_t i = 0; i < names.size(); ++i) {
      SCOPED_TRACE(className + "." + std::string(names[i]));
      const Variant assigned = i == 2 ? Variant::Long(7) : Variant("7");
      const Outcome set = OutcomeOf([&] {
        positions.Set(*byPlace, i, assigned);
        return Variant();
      });
      EXPECT_EQ(set, OutcomeOf([&] {
                  byName->SetProperty(names[i], assigned);
                  return Variant();
                }));
      const Outcome got = OutcomeOf([&] { return positions.Get(*byPlace, i); });
      EXPECT_EQ(got, OutcomeOf([&] {
                  Variant computed;
                  return positions.Peek(*byPlace, i, computed);
                }));
      // Two controls never share a window, so only the outcome's kind compares.
      if (names[i] == "hWnd") {
        EXPECT_EQ(got.error, OutcomeOf([&] { return byName->GetProperty(names[i]); }).error);
      } else {
        EXPECT_EQ(got, OutcomeOf([&] { return byName->GetProperty(names[i]); }));
      }
    }
  }
}

// An application's own object, overriding the by-name members as declared:
// every form of the name reaches its override, and what it does not answer
// falls back to the base's 438.
class Thermostat : public Object {
 public:
  std::string TypeName() const override { return "Thermostat"; }
  Variant GetProperty(const std::string& name) const override {
    return name == "Setting" ? Variant::Long(setting_) : Object::GetProperty(name);
  }
  void SetProperty(const std::string& name, const Variant& value) override {
    if (name != "Setting") Object::SetProperty(name, value);
    setting_ = CLng(value);
  }

 private:
  std::int32_t setting_ = 18;
};

TEST_F(HostPropertiesTest, ByNameMembersTakeANameHeldInAnyForm) {
  Thermostat thermostat;
  Object& object = thermostat;
  object.SetProperty(std::string_view("Setting"), Variant::Long(21));
  EXPECT_EQ(object.GetProperty("Setting"), Variant::Long(21));
  EXPECT_EQ(object.GetProperty(std::string("Setting")), Variant::Long(21));
  EXPECT_RAISES(errors::kNoSuchMember, object.GetProperty(std::string_view("Mode")));
  EXPECT_RAISES(errors::kNoSuchMember, object.CallMethod("Reset"));

  auto text = Add("TextBox");
  text->SetProperty(std::string("Text"), Variant("a"));
  const Control& control = *text;
  for (const Variant& read : {control.GetProperty("text"), control.GetProperty(std::string("Text")),
                              control.GetProperty(std::string_view("TEXT"))}) {
    EXPECT_EQ(read, Variant("a"));
  }
}

TEST_F(HostPropertiesTest, MoveTakesOneToFourArgumentsAndKeepsTheMissingOnes) {
  auto button = Add("CommandButton");
  button->Move(10, 20, 30, 40);
  button->CallMethod("mOvE", {Variant(1.0F), Variant::Missing(), Variant(3.0F)});
  EXPECT_EQ(button->Left(), 1.0F);
  EXPECT_EQ(button->Top(), 20.0F);
  EXPECT_EQ(button->Width(), 3.0F);
  EXPECT_EQ(button->Height(), 40.0F);
  EXPECT_RAISES(errors::kInvalidProcedureCall, button->CallMethod("Move"));
  EXPECT_RAISES(errors::kInvalidProcedureCall,
                button->CallMethod("Move", std::vector<Variant>(5, Variant(1))));
  EXPECT_RAISES(errors::kInvalidPropertyValue,
                button->CallMethod("Move", {Variant(0), Variant(0), Variant(-1)}));
  EXPECT_RAISES(errors::kInvalidProcedureCall, button->GetProperty("Move"));
  EXPECT_EQ(button->Width(), 3.0F);
  EXPECT_RAISES(errors::kNoSuchMember, Add("Line")->Move(0, 0, 1, 1));
}

TEST_F(HostPropertiesTest, TextSelectionIsClampedToTheText) {
  auto text = Add<TextBox>("TextBox");
  text->Text("héllo");
  text->SelStart(9);
  EXPECT_EQ(text->SelStart(), 5) << "past the end: the end, counted in characters";
  text->SelStart(1);
  text->SelLength(99);
  EXPECT_EQ(text->SelLength(), 4);
  EXPECT_EQ(text->SelText(), "éllo");
  text->SetProperty("SelText", Variant("ey"));
  EXPECT_EQ(text->Text(), "hey");
  EXPECT_EQ(text->SelStart(), 3);
  EXPECT_EQ(text->SelLength(), 0);
  text->SelStart(1);
  text->SelLength(1);
  text->SelStart(2);
  EXPECT_EQ(text->SelLength(), 0) << "moving the start leaves a caret";
  EXPECT_RAISES(errors::kInvalidPropertyValue, text->SelStart(-1));
  EXPECT_RAISES(errors::kInvalidPropertyValue, text->SetProperty("SelLength", -1));
  text->SelLength(1);
  text->Text("new");
  EXPECT_EQ(text->SelStart(), 0);
  EXPECT_EQ(text->SelLength(), 0);
}

TEST_F(HostPropertiesTest, ScrollBarValueStaysBetweenMinAndMaxInEitherOrder) {
  auto bar = Add<ScrollBar>("HScrollBar");
  EXPECT_EQ(bar->Max(), 32767);
  bar->Min(100);
  EXPECT_EQ(bar->Value(), 100) << "the value follows a range that moves past it";
  bar->Max(-50);  // reversed range
  bar->SetProperty("Value", Variant("-50"));
  EXPECT_EQ(bar->Value(), -50);
  bar->Value(100);
  EXPECT_RAISES(errors::kInvalidPropertyValue, bar->Value(101));
  EXPECT_RAISES(errors::kInvalidPropertyValue, bar->Value(-51));
  EXPECT_EQ(bar->Value(), 100);
  EXPECT_RAISES(errors::kInvalidPropertyValue, bar->LargeChange(0));
}

TEST_F(HostPropertiesTest, OptionButtonsInOneContainerExcludeEachOther) {
  auto frame = Add("Frame");
  auto first = Add<OptionButton>("OptionButton");
  auto second = Add<OptionButton>("OptionButton");
  auto elsewhere = Add<OptionButton>("OptionButton");
  elsewhere->Container(frame);
  first->Value(true);
  elsewhere->Value(true);
  second->SetProperty("Value", true);
  EXPECT_FALSE(first->Value());
  EXPECT_TRUE(second->Value());
  EXPECT_TRUE(elsewhere->Value());
}

TEST_F(HostPropertiesTest, ObjectPropertiesTakeNothingOrTheirClass) {
  auto label = Add("Label");
  auto data = Add("Data");
  auto format = std::make_shared<DataFormat>();
  label->SetProperty("DataFormat", Variant(ObjectRef(format)));
  EXPECT_EQ(label->GetProperty("DataFormat").AsObject(), ObjectRef(format));
  label->SetProperty("DataSource", Variant(ObjectRef(data)));
  EXPECT_EQ(label->GetProperty("DataSource").AsObject(), ObjectRef(data));
  label->SetProperty("DataSource", Variant(ObjectRef()));
  EXPECT_TRUE(label->GetProperty("DataSource").IsNothing());
  auto foreign = Form::Create("Form2")->AddControl("Data", "Data1");
  for (const ObjectRef& wrong : {ObjectRef(foreign), ObjectRef(Add("Label"))}) {
    EXPECT_RAISES(errors::kInvalidPropertyValue, label->SetProperty("DataSource", Variant(wrong)));
  }
  EXPECT_RAISES(errors::kInvalidPropertyValue,
                label->SetProperty("MouseIcon", Variant(ObjectRef(format))));
}

TEST_F(HostPropertiesTest, TypedMembersOfStoredPropertiesGoThroughTheTable) {
  auto timer = Add<Timer>("Timer");
  timer->Interval(1000);
  timer->Enabled(false);
  EXPECT_EQ(CLng(timer->GetProperty("Interval")), 1000);
  EXPECT_FALSE(CBool(timer->GetProperty("Enabled")));
  EXPECT_RAISES(errors::kInvalidPropertyValue, timer->Interval(-1));
  auto line = Add<Line>("Line");
  line->SetProperty("Y2", 7);
  EXPECT_EQ(line->Y2(), 7.0F);
  EXPECT_RAISES(errors::kInvalidPropertyValue, Add<CheckBox>("CheckBox")->Value(5));
  Add<ScrollBar>("VScrollBar")->LargeChange(10);
  EXPECT_EQ(CInt(form->Controls().back()->GetProperty("LargeChange")), 10);
}

// A fresh control written to a stream stores no catalogued property at all.
TEST_F(HostPropertiesTest, NewControlsStartAtEveryCataloguedDefault) {
  for (std::int16_t code = 1; code <= 19; ++code) {
    const auto type = static_cast<tavorin::detail::ControlType>(code);
    auto control = Add(std::string(tavorin::detail::TypeNameFromCode(code)));
    for (const auto& entry : tavorin::detail::BuildDefaultsCatalogue(type)) {
      // With only c: mapped a drive list's current drive is its first entry.
      if (type == tavorin::detail::ControlType::DriveListBox && entry.propertyName == "ListIndex")
        continue;
      SCOPED_TRACE(control->TypeName() + "." + std::string(entry.propertyName));
      const auto valueType = static_cast<VarType>(entry.valueType);
      Variant actual;
      ASSERT_NO_THROW(actual = control->GetProperty(std::string(entry.propertyName)));
      EXPECT_EQ(ConvertTo(actual, valueType), ConvertTo(entry.defaultValue, valueType));
    }
  }
}

}  // namespace
}  // namespace tavorin::host
