// The envelope and the control's place in its form: name, container (with
// control arrays and the form marker) and tab index, each only as the settings
// allow.
#include <gtest/gtest.h>

#include <tuple>

#include <tavorin/tavorin.h>

#include "support/component_calls.h"

namespace {

using namespace tavorin::host;
using namespace tavorin::testing;

const Settings kWithContainers{.setContainer = true};
const Settings kWithTabOrder{.setTabIndex = true};

// Two forms built alike: frames "Frame1" as a control array (elements 1 and
// 2), a PictureBox "Picture1", and text boxes.
class Identity : public ::testing::Test {
 protected:
  struct Layout {
    std::shared_ptr<Form> form;
    std::shared_ptr<Control> frame1, frame2, picture, text, other;
  };

  static Layout Build(const std::string& name) {
    Layout layout;
    layout.form = Form::Create(name);
    layout.frame1 = layout.form->AddControl("Frame", "Frame1", std::int16_t{1});
    layout.frame2 = layout.form->AddControl("Frame", "Frame1", std::int16_t{2});
    layout.picture = layout.form->AddControl("PictureBox", "Picture1");
    layout.text = layout.form->AddControl("TextBox", "Text1");
    layout.other = layout.form->AddControl("TextBox", "Text2");
    return layout;
  }

  Layout source = Build("Form1");
  Layout target = Build("Form2");
};

TEST_F(Identity, EnvelopeCarriesTheNameUnlessSwitchedOff) {
  const auto stream = Write(Settings{}, *source.text);
  EXPECT_EQ(Stored(stream, "@CN#"), Variant("Text1"));
  EXPECT_EQ(CLng(Stored(stream, "@SF#")), 0x03000031);
  EXPECT_FALSE(Holds(Write(Settings{.writeControlName = false}, *source.text), "@CN#"));
}

TEST_F(Identity, ContainerTravelsOnlyWithSetContainer) {
  source.text->Container(source.picture);
  const auto plain = Write(Settings{}, *source.text);
  EXPECT_FALSE(Holds(plain, "CnN"));
  EXPECT_FALSE(Holds(plain, "CnI"));

  const auto stream = Write(kWithContainers, *source.text);
  EXPECT_EQ(Stored(stream, "CnN"), Variant("Picture1"));
  EXPECT_FALSE(Holds(stream, "CnI"));

  Read(Settings{}, stream, *target.text);
  EXPECT_EQ(target.text->Container(), ObjectRef(target.form));
  Read(kWithContainers, stream, *target.text);
  EXPECT_EQ(target.text->Container(), ObjectRef(target.picture));
}

// The form is stored as "1F"; an array element as its name and index.
TEST_F(Identity, ContainerIsFoundByNameAndIndexOnTheOtherForm) {
  target.text->Container(target.picture);
  for (const auto& [container, name, index, found] :
       {std::tuple{ObjectRef(source.form), "1F", Variant(), ObjectRef(target.form)},
        std::tuple{ObjectRef(source.frame2), "Frame1", Variant::Integer(2),
                   ObjectRef(target.frame2)}}) {
    source.text->Container(container);
    const auto stream = Write(kWithContainers, *source.text);
    EXPECT_EQ(Stored(stream, "CnN"), Variant(name));
    EXPECT_EQ(Stored(stream, "CnI"), index);
    Read(kWithContainers, stream, *target.text);
    EXPECT_EQ(target.text->Container(), found) << name;
  }
}

TEST_F(Identity, UnknownContainerLeavesTheControlWhereItIs) {
  target.text->Container(target.picture);
  for (const auto& [name, index] :
       {std::pair{Variant("Frame9"), Variant()}, std::pair{Variant("Frame1"), Variant::Integer(7)},
        std::pair{Variant("Picture1"), Variant::Integer(1)},
        std::pair{Variant("Text2"), Variant()}}) {
    auto stream = WithStored(Write(Settings{}, *source.text), "CnN", name);
    if (!index.IsEmpty()) stream = WithStored(stream, "CnI", index);
    Read(kWithContainers, stream, *target.text);
    EXPECT_EQ(target.text->Container(), ObjectRef(target.picture)) << CStr(name);
  }
}

TEST_F(Identity, TabIndexIsStoredEvenWhenZeroAndAppliedOnlyWithSetTabIndex) {
  source.text->TabIndex(0);
  const auto stream = Write(kWithTabOrder, *source.text);
  EXPECT_EQ(CInt(Stored(stream, "TbI")), 0);
  EXPECT_FALSE(Holds(Write(Settings{}, *source.text), "TbI"));

  const std::int16_t before = target.text->TabIndex();
  Read(Settings{}, stream, *target.text);
  EXPECT_EQ(target.text->TabIndex(), before);
  Read(kWithTabOrder, Write(Settings{}, *source.text), *target.text);
  EXPECT_EQ(target.text->TabIndex(), before) << "no \"TbI\": the tab order stays";
  Read(kWithTabOrder, stream, *target.text);
  EXPECT_EQ(target.text->TabIndex(), 0);
}

}  // namespace
