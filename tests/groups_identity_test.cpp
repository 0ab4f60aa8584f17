// The envelope and the control's place in its form: name, container (with
// control arrays and the form marker) and tab index, each only as the settings
// allow.
#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "support/component_calls.h"

namespace {

using tavorin::host::CInt;
using tavorin::host::Form;
using tavorin::host::ObjectRef;
using tavorin::host::Variant;
using tavorin::testing::Copy;
using tavorin::testing::Holds;
using tavorin::testing::Read;
using tavorin::testing::Settings;
using tavorin::testing::Stored;
using tavorin::testing::WithStored;
using tavorin::testing::Write;

Settings WithContainers() {
  Settings settings;
  settings.setContainer = true;
  return settings;
}

Settings WithTabOrder() {
  Settings settings;
  settings.setTabIndex = true;
  return settings;
}

// Two forms built alike: frames "Frame1" as a control array (elements 1 and
// 2), a PictureBox "Picture1", and text boxes.
class Identity : public ::testing::Test {
 protected:
  struct Layout {
    std::shared_ptr<Form> form;
    std::shared_ptr<tavorin::host::Control> frame1, frame2, picture, text, other;
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
  EXPECT_EQ(Stored(Write(Settings{}, *source.text), "@CN#"), Variant("Text1"));
  EXPECT_EQ(tavorin::host::CLng(Stored(Write(Settings{}, *source.text), "@SF#")),
            0x03000031);

  Settings nameless;
  nameless.writeControlName = false;
  EXPECT_FALSE(Holds(Write(nameless, *source.text), "@CN#"));
}

TEST_F(Identity, ContainerTravelsOnlyWithSetContainer) {
  source.text->Container(source.picture);
  const auto plain = Write(Settings{}, *source.text);
  EXPECT_FALSE(Holds(plain, "CnN"));
  EXPECT_FALSE(Holds(plain, "CnI"));

  const auto stream = Write(WithContainers(), *source.text);
  EXPECT_EQ(Stored(stream, "CnN"), Variant("Picture1"));
  EXPECT_FALSE(Holds(stream, "CnI"));

  Read(Settings{}, stream, *target.text);
  EXPECT_EQ(target.text->Container(), ObjectRef(target.form));
  Read(WithContainers(), stream, *target.text);
  EXPECT_EQ(target.text->Container(), ObjectRef(target.picture));
}

TEST_F(Identity, FormMarkerMovesTheControlOutOfItsContainer) {
  const auto stream = Write(WithContainers(), *source.text);
  EXPECT_EQ(Stored(stream, "CnN"), Variant("1F"));

  target.text->Container(target.picture);
  Read(WithContainers(), stream, *target.text);
  EXPECT_EQ(target.text->Container(), ObjectRef(target.form));
}

TEST_F(Identity, ContainerIndexPicksTheRightArrayElement) {
  source.text->Container(source.frame2);
  const auto stream = Write(WithContainers(), *source.text);
  EXPECT_EQ(Stored(stream, "CnN"), Variant("Frame1"));
  EXPECT_EQ(CInt(Stored(stream, "CnI")), 2);

  Read(WithContainers(), stream, *target.text);
  EXPECT_EQ(target.text->Container(), ObjectRef(target.frame2));
}

TEST_F(Identity, UnknownContainerLeavesTheControlWhereItIs) {
  target.text->Container(target.picture);
  for (const auto& [name, index] :
       {std::pair{Variant("Frame9"), Variant()}, std::pair{Variant("Frame1"), Variant::Integer(7)},
        std::pair{Variant("Picture1"), Variant::Integer(1)},
        std::pair{Variant("Text2"), Variant()}}) {
    auto stream = WithStored(Write(Settings{}, *source.text), "CnN", name);
    if (!index.IsEmpty()) stream = WithStored(stream, "CnI", index);
    Read(WithContainers(), stream, *target.text);
    EXPECT_EQ(target.text->Container(), ObjectRef(target.picture)) << tavorin::host::CStr(name);
  }
}

TEST_F(Identity, TabIndexIsStoredEvenWhenZeroAndAppliedOnlyWithSetTabIndex) {
  source.text->TabIndex(0);
  const auto stream = Write(WithTabOrder(), *source.text);
  EXPECT_EQ(CInt(Stored(stream, "TbI")), 0);
  EXPECT_FALSE(Holds(Write(Settings{}, *source.text), "TbI"));

  const std::int16_t before = target.text->TabIndex();
  Read(Settings{}, stream, *target.text);
  EXPECT_EQ(target.text->TabIndex(), before);
  Read(WithTabOrder(), Write(Settings{}, *source.text), *target.text);
  EXPECT_EQ(target.text->TabIndex(), before) << "no \"TbI\": the tab order stays";
  Read(WithTabOrder(), stream, *target.text);
  EXPECT_EQ(target.text->TabIndex(), 0);
}

TEST_F(Identity, CopyTakesContainerAndTabIndexOnlyWhenAsked) {
  source.text->Container(source.picture);
  source.other->TabIndex(0);
  Copy(Settings{}, *source.text, *source.other);
  EXPECT_EQ(source.other->Container(), ObjectRef(source.form));

  Settings both = WithContainers();
  both.setTabIndex = true;
  const std::int16_t sourceTabIndex = source.text->TabIndex();
  Copy(both, *source.text, *source.other);
  EXPECT_EQ(source.other->Container(), ObjectRef(source.picture));
  EXPECT_EQ(source.other->TabIndex(), sourceTabIndex);
}

}  // namespace
