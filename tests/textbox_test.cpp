// The TextBox set: "SS"/"SL" always stored against the built-in defaults, a
// stream without them, and streams of another format.
#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "support/component_calls.h"

namespace {

using namespace tavorin::host;
using namespace tavorin::testing;

class TextBoxSet : public ::testing::Test {
 protected:
  void Select(Control& control, const std::string& text, int start, int length) {
    control.SetProperty("Text", text);
    control.SetProperty("SelStart", start);
    control.SetProperty("SelLength", length);
  }

  using Selection = std::pair<std::int32_t, std::int32_t>;
  static Selection SelectionOf(const Control& control) {
    return {CLng(control.GetProperty("SelStart")), CLng(control.GetProperty("SelLength"))};
  }

  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<Control> text = form->AddControl("TextBox", "Text1");
  std::shared_ptr<Control> other = form->AddControl("TextBox", "Text2");
  Settings settings;
};

// Against the built-in defaults the selection is always stored; against
// custom defaults only where it differs.
TEST_F(TextBoxSet, SelectionIsStoredAgainstTheBuiltInDefaultsAlways) {
  const auto stream = Write(settings, *text);
  EXPECT_EQ(Stored(stream, "SS"), Variant::Long(0));
  EXPECT_EQ(Stored(stream, "SL"), Variant::Long(0));

  auto model = form->AddControl("TextBox", "Model");
  Select(*model, "hello world", 3, 0);
  Select(*text, "hello world", 3, 2);
  const auto custom = Write(settings, *text, Variant::Bytes(Write(settings, *model)));
  EXPECT_FALSE(Holds(custom, "SS"));
  EXPECT_EQ(Stored(custom, "SL"), Variant::Long(2));
}

TEST_F(TextBoxSet, StreamWithoutSelectionClearsIt) {
  PropertyBag bag;
  bag.WriteProperty("@SF#", Variant::Long(0x03000031));
  bag.WriteProperty("47", "abcdef");
  Select(*other, "xyz", 1, 2);
  Read(settings, bag.Contents(), *other);
  EXPECT_EQ(other->GetProperty("Text"), Variant("abcdef"));
  EXPECT_EQ(SelectionOf(*other), Selection(0, 0));
}

TEST_F(TextBoxSet, OtherFormatChangesAtMostContainerAndTabIndex) {
  auto picture = form->AddControl("PictureBox", "Picture1");
  text->Container(picture);
  text->SetProperty("Text", "new");
  text->TabIndex(0);
  const Settings everything{.setContainer = true, .setTabIndex = true};
  const auto stream = WithStored(Write(everything, *text), "@SF#", Variant::Long(0x03000032));

  Select(*other, "kept", 1, 2);
  other->Move(10, 20, 30, 40);
  Read(everything, stream, *other);
  EXPECT_EQ(other->Container(), ObjectRef(picture));
  EXPECT_EQ(other->TabIndex(), 0);
  EXPECT_EQ(other->GetProperty("Text"), Variant("kept"));
  EXPECT_EQ(SelectionOf(*other), Selection(1, 2));
  EXPECT_FLOAT_EQ(CSng(other->GetProperty("Width")), 30);
}

}  // namespace
