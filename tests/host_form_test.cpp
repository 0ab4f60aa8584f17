// Forms and the generic control model: creation, names and control arrays,
// containers, tab order, window handles, controls of other libraries.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "catalogue/control_type.h"
#include "support/raises.h"

namespace tavorin::host {
namespace {

using Names = std::vector<std::string>;

TEST(HostFormTest, CreatesEveryClassWithItsTypeNameAndAWindowHandleOfItsOwn) {
  auto form = Form::Create("Form1");
  std::set<std::int64_t> handles = {form->hWnd(), Form::Create("Form2")->hWnd()};
  for (std::int16_t code = 1; code <= 19; ++code) {
    const std::string className(tavorin::detail::TypeNameFromCode(code));
    SCOPED_TRACE(className);
    auto control = form->AddControl(className, className + "1");
    EXPECT_EQ(control->TypeName(), className);
    EXPECT_EQ(control->Name(), className + "1");
    EXPECT_EQ(control->Parent(), form);
    EXPECT_EQ(control->Container(), ObjectRef(form));
    if (control->HasWindow()) {
      EXPECT_TRUE(handles.insert(control->hWnd()).second) << "window handles are unique";
      EXPECT_EQ(CLng(control->GetProperty("hWnd")), control->hWnd());
    } else {
      EXPECT_RAISES(errors::kNoSuchMember, control->GetProperty("hWnd"));
    }
  }
  EXPECT_EQ(form->Controls().back()->TypeName(), "Data") << "creation order";
}

TEST(HostFormTest, RefusesUnknownClassesAndTakenNames) {
  auto form = Form::Create("Form1");
  form->AddControl("TextBox", "Text1");
  form->AddControl("Label", "Caption", 0);
  form->AddControl("Label", "Caption", 1);
  const std::vector<std::function<void()>> refused = {
      [&] { form->AddControl("RichTextBox", "Rich1"); },
      [&] { form->AddControl("textbox", "Text2"); },
      [&] { form->AddControl("TextBox", "Text1"); },
      [&] { form->AddControl("ListBox", "TEXT1"); },
      [&] { form->AddControl("TextBox", "Text1", 0); },
      [&] { form->AddControl("Label", "Caption"); },
      [&] { form->AddControl("Label", "Caption", 1); },
      [&] { form->AddControl("Label", "Other", -1); },
      [&] { form->AddControl("Label", ""); },
      [&] { form->AddControl("Label", "1st"); },
      [&] { form->AddControl("Label", "Two words"); },
      [&] { form->AddControl("Label", std::string(41, 'a')); },
      [&] { form->AddExternalControl("Widget", "Text1"); },
  };
  for (std::size_t i = 0; i < refused.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_RAISES(errors::kInvalidProcedureCall, refused[i]());
  }
  EXPECT_EQ(form->Controls().size(), 3u) << "refused controls leave nothing behind";
  EXPECT_NO_THROW(form->AddControl("Label", "Caption", 7));
  EXPECT_NO_THROW(form->AddControl("Label", std::string(40, 'a')));
}

TEST(HostFormTest, ControlArraysGiveIndexesAndOthersRaise343) {
  auto form = Form::Create("Form1");
  auto member = form->AddControl("CommandButton", "Buttons", 3);
  auto single = form->AddControl("CommandButton", "Single");
  EXPECT_TRUE(member->IsArrayMember());
  EXPECT_EQ(CInt(member->GetProperty("index")), 3);
  EXPECT_FALSE(single->IsArrayMember());
  EXPECT_RAISES(errors::kObjectNotAnArray, single->Index());
  EXPECT_RAISES(errors::kObjectNotAnArray, single->GetProperty("Index"));
  EXPECT_RAISES(errors::kPropertyReadOnly, member->SetProperty("Index", 4));
}

TEST(HostFormTest, ExternalControlsOfferTheGenericMembersOnly) {
  auto form = Form::Create("Form1");
  auto external = form->AddExternalControl("TextBox", "Foreign");
  EXPECT_EQ(external->TypeName(), "TextBox");
  EXPECT_EQ(std::dynamic_pointer_cast<TextBox>(external), nullptr);
  EXPECT_EQ(CStr(external->GetProperty("Name")), "Foreign");
  external->CallMethod("Move", {Variant(10.0F), Variant(20.0F), Variant(30.0F), Variant(40.0F)});
  EXPECT_EQ(CSng(external->GetProperty("Height")), 40.0F);
  EXPECT_FALSE(external->HasTabIndex() || external->HasWindow());
  EXPECT_RAISES(errors::kNoSuchMember, external->GetProperty("Text"));
  EXPECT_RAISES(errors::kNoSuchMember, external->GetProperty("TabIndex"));
  EXPECT_EQ(form->AddExternalControl("Gauge", "Gauge1")->TypeName(), "Gauge");
}

TEST(HostFormTest, FormMembersByName) {
  auto form = Form::Create("Main");
  EXPECT_EQ(CStr(form->GetProperty("Name")), "Main");
  EXPECT_EQ(CInt(form->GetProperty("ScaleMode")), 1);
  form->SetProperty("ScaleMode", "3");
  EXPECT_EQ(form->ScaleMode(), 3);
  EXPECT_EQ(CLng(form->GetProperty("hWnd")), form->hWnd());
  EXPECT_RAISES(errors::kInvalidPropertyValue, form->SetProperty("ScaleMode", 8));
  EXPECT_RAISES(errors::kInvalidPropertyValue, form->ScaleMode(-1));
  EXPECT_EQ(form->ScaleMode(), 3);
  EXPECT_RAISES(errors::kPropertyReadOnly, form->SetProperty("hWnd", 1));
  EXPECT_RAISES(errors::kNoSuchMember, form->GetProperty("Caption"));
}

TEST(HostFormTest, ControlsMoveBetweenContainersButNeverIntoACycleOrAnotherForm) {
  auto form = Form::Create("Form1");
  auto frame = form->AddControl("Frame", "Frame1");
  auto picture = form->AddControl("PictureBox", "Picture1", std::nullopt, frame);
  auto text = form->AddControl("TextBox", "Text1", std::nullopt, picture);
  EXPECT_EQ(text->Container(), ObjectRef(picture));
  EXPECT_EQ(picture->Container(), ObjectRef(frame));
  text->SetProperty("Container", Variant(ObjectRef(frame)));
  EXPECT_EQ(text->Container(), ObjectRef(frame));
  text->Container(form);
  EXPECT_EQ(text->GetProperty("Container").AsObject(), ObjectRef(form));

  auto other = Form::Create("Form2");
  auto foreignFrame = other->AddControl("Frame", "Frame1");
  auto label = form->AddControl("Label", "Label1");
  const std::vector<std::pair<std::shared_ptr<Control>, ObjectRef>> refused = {
      {text, label},                                           // not a container class
      {text, form->AddExternalControl("Frame", "FakeFrame")},  // another library's "Frame"
      {text, foreignFrame},                                    // another form's frame
      {text, other},                                           // another form
      {text, nullptr},                                         // Nothing
      {text, std::make_shared<DataFormat>()},                  // not a control
      {frame, frame},                                          // itself
      {frame, picture},                                        // inside itself
  };
  for (const auto& [control, container] : refused) {
    const ObjectRef before = control->Container();
    EXPECT_RAISES(errors::kInvalidPropertyValue, control->Container(container));
    EXPECT_EQ(control->Container(), before);
  }
  EXPECT_RAISES(errors::kInvalidProcedureCall,
                form->AddControl("Label", "Label2", std::nullopt, label));
  EXPECT_RAISES(errors::kInvalidProcedureCall,
                form->AddControl("Label", "Label2", std::nullopt, foreignFrame));
}

Names TabOrder(const Form& form) {
  Names names(form.Controls().size());
  std::size_t count = 0;
  for (const auto& control : form.Controls()) {
    if (!control->HasTabIndex()) continue;
    names.at(static_cast<std::size_t>(control->TabIndex())) = control->Name();
    ++count;
  }
  names.resize(count);
  return names;
}

TEST(HostFormTest, TabOrderSkipsClassesWithoutOneAndRenumbersOnMoves) {
  auto form = Form::Create("Form1");
  std::vector<std::shared_ptr<Control>> buttons;
  for (const char* name : {"A", "B", "C", "D", "E"})
    buttons.push_back(form->AddControl("CommandButton", name));
  auto line = form->AddControl("Line", "Line1");
  auto data = form->AddControl("Data", "Data1");
  auto label = form->AddControl("Label", "F");
  EXPECT_EQ(TabOrder(*form), (Names{"A", "B", "C", "D", "E", "F"}));
  EXPECT_RAISES(errors::kNoSuchMember, line->TabIndex());
  EXPECT_RAISES(errors::kNoSuchMember, data->SetProperty("TabIndex", 0));
  label->TabIndex(5);  // in place

  buttons[1]->TabIndex(3);  // down
  EXPECT_EQ(TabOrder(*form), (Names{"A", "C", "D", "B", "E", "F"}));
  buttons[4]->SetProperty("TabIndex", Variant("0"));  // up, by name, converted
  EXPECT_EQ(TabOrder(*form), (Names{"E", "A", "C", "D", "B", "F"}));
  for (std::int16_t place : {-1, 6, 32767})
    EXPECT_RAISES(errors::kInvalidPropertyValue, buttons[2]->TabIndex(place));
  EXPECT_EQ(TabOrder(*form), (Names{"E", "A", "C", "D", "B", "F"}));
}

TEST(HostSiteTest, DefaultSiteClosesAWindowWithItsOkButton) {
  Site site;
  Window window("About", {"Tavorin", "Version 1.0"}, {"OK", "System Info"});
  EXPECT_TRUE(window.IsOpen());
  EXPECT_NO_THROW(site.PropertyChanged("SetContainer"));
  site.ShowModal(window);
  EXPECT_FALSE(window.IsOpen());
  EXPECT_EQ(window.ClickedButton(), "OK");
  EXPECT_RAISES(errors::kInvalidProcedureCall, window.Click("OK"));
  Window other("About", {}, {"OK"});
  EXPECT_RAISES(errors::kInvalidProcedureCall, other.Click("Cancel"));
  EXPECT_TRUE(other.IsOpen());
  EXPECT_RAISES(errors::kInvalidProcedureCall, Window("Stuck", {}, {}));
}

TEST(HostScaleTest, KnownFactorsAndEveryPairOfModesRoundTrips) {
  EXPECT_FLOAT_EQ(ScaleX(1, 5, 1), 1440);   // an inch in twips
  EXPECT_FLOAT_EQ(ScaleY(1440, 1, 2), 72);  // points
  EXPECT_FLOAT_EQ(ScaleX(1, 5, 3), 96);     // pixels
  EXPECT_FLOAT_EQ(ScaleX(25.4F, 6, 5), 1);
  EXPECT_FLOAT_EQ(ScaleY(1, 7, 6), 10);
  EXPECT_FLOAT_EQ(ScaleX(1, 4, 1), 120) << "a character is 120 twips across";
  EXPECT_FLOAT_EQ(ScaleY(1, 4, 1), 240) << "and 240 down";
  EXPECT_FLOAT_EQ(ScaleX(300, 0, 3), 20) << "user units count as twips";
  for (std::int16_t from = 0; from <= 7; ++from) {
    for (std::int16_t to = 0; to <= 7; ++to) {
      for (float value : {0.0F, 1.0F, -37.5F, 12345.0F}) {
        SCOPED_TRACE(std::to_string(from) + " -> " + std::to_string(to));
        EXPECT_FLOAT_EQ(ScaleX(ScaleX(value, from, to), to, from), value);
        EXPECT_FLOAT_EQ(ScaleY(ScaleY(value, from, to), to, from), value);
      }
    }
  }
  EXPECT_RAISES(errors::kInvalidProcedureCall, ScaleX(1, 8, 1));
  EXPECT_RAISES(errors::kInvalidProcedureCall, ScaleY(1, 1, -1));
}

}  // namespace
}  // namespace tavorin::host
