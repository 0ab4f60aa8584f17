// The component's five settings (defaults, site notifications, saving and
// loading with the form, their effect on copies), its fixed surface and its
// About window.
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "support/component_calls.h"
#include "support/raises.h"

namespace {

using tavorin::PictureOrImageConstants;
using tavorin::Tavorin;
using namespace tavorin::host;
using Names = std::vector<std::string>;

class RecordingSite : public Site {
 public:
  void PropertyChanged(const std::string& name) override { changed.push_back(name); }
  void ShowModal(Window& window) override {
    shown = window.Lines();
    shown.insert(shown.begin(), window.Caption());
    shown.insert(shown.end(), window.Buttons().begin(), window.Buttons().end());
    Site::ShowModal(window);
    shown.push_back("closed with " + window.ClickedButton());
  }
  Names changed, shown;
};

// Every setting in saving order, as text.
Names SettingsOf(const Tavorin& c) {
  return {std::to_string(c.SetContainer()), std::to_string(c.SetTabIndex()),
          std::to_string(c.PictureOrImage()), std::to_string(c.SizeAccommodation()),
          std::to_string(c.WriteControlName())};
}
const Names kDefaults = {"0", "0", "0", "1", "1"};

TEST(Settings, DefaultsSaveNothingAndOnlyChangesAreSaved) {
  Tavorin component;
  EXPECT_EQ(SettingsOf(component), kDefaults);
  PropertyBag saved;
  component.WriteProperties(saved);
  EXPECT_EQ(saved.Contents(), PropertyBag().Contents());

  component.SetTabIndex(true);
  PropertyBag onlyTabIndex, expected;
  component.WriteProperties(onlyTabIndex);
  expected.WriteProperty("SetTabIndex", true);
  EXPECT_EQ(onlyTabIndex.Contents(), expected.Contents());
}

TEST(Settings, SurviveTheFormAndLoadAllOrNothing) {
  const Tavorin component = tavorin::testing::ComponentWith(
      {true, true, false, false, 7});  // every setting away from its default
  PropertyBag saved, loaded;
  component.WriteProperties(saved);
  loaded.SetContents(saved.Contents());
  Tavorin restored;
  restored.ReadProperties(loaded);
  EXPECT_EQ(SettingsOf(restored), (Names{"1", "1", "7", "0", "0"}));

  PropertyBag notABoolean, tooLarge, absent;
  notABoolean.WriteProperty("SetContainer", false);
  notABoolean.WriteProperty("WriteControlName", "perhaps");
  EXPECT_RAISES(13, restored.ReadProperties(notABoolean));
  tooLarge.WriteProperty("PictureOrImage", Variant::Long(40000));
  EXPECT_RAISES(6, restored.ReadProperties(tooLarge));
  EXPECT_EQ(SettingsOf(restored), (Names{"1", "1", "7", "0", "0"}));
  restored.ReadProperties(absent);
  EXPECT_EQ(SettingsOf(restored), kDefaults);
}

TEST(Settings, SettersTellTheSiteButInitPropertiesDoesNot) {
  auto site = std::make_shared<RecordingSite>();
  Tavorin component;
  component.SetSite(site);
  component.SetContainer(true);
  component.SetTabIndex(false);  // the same value is a change for the designer too
  component.PictureOrImage(-32768);
  component.SizeAccommodation(false);
  component.WriteControlName(true);
  for (const std::int32_t outside : {32768, -32769, 40000}) {
    EXPECT_RAISES(6, component.PictureOrImage(outside));
  }
  EXPECT_EQ(component.PictureOrImage(), PictureOrImageConstants{-32768});
  component.InitProperties();
  EXPECT_EQ(SettingsOf(component), kDefaults);
  EXPECT_EQ(site->changed, (Names{"SetContainer", "SetTabIndex", "PictureOrImage",
                                  "SizeAccommodation", "WriteControlName"}));
}

// A text box inside a pixel-scaled PictureBox, second in the tab order after
// the move, copied onto one on the form: each switch shows in the copy.
TEST(Settings, SwitchesReachTheCopy) {
  const auto copy = [](bool container, bool tabIndex, bool sizes) {
    auto form = Form::Create("Form1");
    auto picture = form->AddControl("PictureBox", "Picture1");
    ObjectRef source = form->AddControl("TextBox", "Text1", {}, picture);
    ObjectRef destination = form->AddControl("TextBox", "Text2");
    picture->SetProperty("ScaleMode", 3);
    source->SetProperty("Left", 10);
    source->SetProperty("TabIndex", 2);
    tavorin::testing::ComponentWith(
        {.setContainer = container, .setTabIndex = tabIndex, .sizeAccommodation = sizes})
        .CopyControl(source, destination);
    return Names{std::to_string(destination->GetProperty("Container").AsObject() == picture),
                 CStr(destination->GetProperty("TabIndex")),
                 CStr(destination->GetProperty("Left"))};
  };
  EXPECT_EQ(copy(false, false, false), (Names{"0", "1", "10"}));
  EXPECT_EQ(copy(true, false, false)[0], "1");
  EXPECT_EQ(copy(false, true, false)[1], "2");
  EXPECT_EQ(copy(false, false, true)[2], "150");
}

TEST(Surface, KeepsItsFixedSize) {
  Tavorin component;
  component.Resize(5000.0F, 15.0F);
  EXPECT_EQ(component.ExtentX(), 480.0F);
  EXPECT_EQ(component.ExtentY(), 480.0F);
}

TEST(AboutBox, ShownModallyThroughTheSiteElseOnStandardOutput) {
  auto site = std::make_shared<RecordingSite>();
  Tavorin component;
  component.SetSite(site);
  component.ShowAboutBox();
  EXPECT_EQ(site->shown,
            (Names{"About Tavorin", "Tavorin", "Version 1.0", "OK", "closed with OK"}));

  std::ostringstream captured;
  std::streambuf* const original = std::cout.rdbuf(captured.rdbuf());
  Tavorin().ShowAboutBox();
  std::cout.rdbuf(original);
  EXPECT_EQ(captured.str(), "About Tavorin\nTavorin\nVersion 1.0\n");
}

}  // namespace
