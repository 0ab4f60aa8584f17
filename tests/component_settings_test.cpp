// The component's five settings: defaults, the site's notifications, saving
// and loading with the form, their effect on the operations; and the
// component's fixed surface and About window.
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <tavorin/tavorin.h>

#include "support/raises.h"

namespace {

using tavorin::PictureOrImageConstants;
using tavorin::Tavorin;
using tavorin::TvImage;
using tavorin::TvPicture;
using tavorin::host::Control;
using tavorin::host::Form;
using tavorin::host::ObjectRef;
using tavorin::host::PropertyBag;
using tavorin::host::Site;
using tavorin::host::Variant;
using tavorin::host::Window;

const char* const kSettingNames[] = {"SetContainer", "SetTabIndex", "PictureOrImage",
                                     "SizeAccommodation", "WriteControlName"};

class RecordingSite : public Site {
 public:
  void PropertyChanged(const std::string& name) override { changed.push_back(name); }
  void ShowModal(Window& window) override {
    caption = window.Caption();
    lines = window.Lines();
    buttons = window.Buttons();
    Site::ShowModal(window);
    closedWith = window.ClickedButton();
  }

  std::vector<std::string> changed;
  std::string caption;
  std::vector<std::string> lines;
  std::vector<std::string> buttons;
  std::string closedWith;
};

void ExpectDefaults(const Tavorin& component) {
  EXPECT_TRUE(component.WriteControlName());
  EXPECT_TRUE(component.SizeAccommodation());
  EXPECT_FALSE(component.SetTabIndex());
  EXPECT_FALSE(component.SetContainer());
  EXPECT_EQ(component.PictureOrImage(), TvPicture);
}

void SetAllAwayFromDefaults(Tavorin& component) {
  component.SetContainer(true);
  component.SetTabIndex(true);
  component.PictureOrImage(7);
  component.SizeAccommodation(false);
  component.WriteControlName(false);
}

// The saved image of a bag, as the form keeps it.
std::unique_ptr<PropertyBag> Reloaded(const PropertyBag& saved) {
  auto loaded = std::make_unique<PropertyBag>();
  loaded->SetContents(saved.Contents());
  return loaded;
}

TEST(Settings, FreshComponentHasTheDefaultsAndSavesNoKey) {
  Tavorin component;
  ExpectDefaults(component);
  PropertyBag bag;
  component.WriteProperties(bag);
  EXPECT_EQ(bag.Contents(), PropertyBag().Contents());
}

TEST(Settings, SaveOnlyWhatDiffersAndLoadItBack) {
  Tavorin component;
  component.SetTabIndex(true);
  PropertyBag saved;
  component.WriteProperties(saved);
  const std::unique_ptr<PropertyBag> loaded = Reloaded(saved);
  for (const char* name : kSettingNames) {
    EXPECT_EQ(loaded->ReadProperty(name).IsEmpty(), std::string(name) != "SetTabIndex") << name;
  }
  PropertyBag onlyTabIndex;
  onlyTabIndex.WriteProperty("SetTabIndex", true);
  EXPECT_EQ(saved.Contents(), onlyTabIndex.Contents());

  Tavorin restored;
  restored.ReadProperties(*Reloaded(saved));
  EXPECT_TRUE(restored.SetTabIndex());
  EXPECT_FALSE(restored.SetContainer());
}

TEST(Settings, EverySettingSurvivesTheForm) {
  Tavorin component;
  SetAllAwayFromDefaults(component);
  PropertyBag saved;
  component.WriteProperties(saved);
  Tavorin restored;
  restored.ReadProperties(*Reloaded(saved));
  EXPECT_TRUE(restored.SetContainer());
  EXPECT_TRUE(restored.SetTabIndex());
  EXPECT_EQ(restored.PictureOrImage(), PictureOrImageConstants{7});
  EXPECT_FALSE(restored.SizeAccommodation());
  EXPECT_FALSE(restored.WriteControlName());

  // Absent keys give the defaults, whatever was set before.
  PropertyBag empty;
  restored.ReadProperties(empty);
  ExpectDefaults(restored);
}

TEST(Settings, LoadingIsAllOrNothing) {
  Tavorin component;
  component.SetContainer(true);
  PropertyBag notABoolean;
  notABoolean.WriteProperty("SetContainer", false);
  notABoolean.WriteProperty("WriteControlName", "perhaps");
  EXPECT_RAISES(13, component.ReadProperties(notABoolean));
  EXPECT_TRUE(component.SetContainer());

  PropertyBag tooLarge;
  tooLarge.WriteProperty("SetContainer", false);
  tooLarge.WriteProperty("PictureOrImage", Variant::Long(40000));
  EXPECT_RAISES(6, component.ReadProperties(tooLarge));
  EXPECT_TRUE(component.SetContainer());
  EXPECT_EQ(component.PictureOrImage(), TvPicture);

  // Values saved as other types load when they convert.
  PropertyBag otherTypes;
  otherTypes.WriteProperty("SetTabIndex", "True");
  otherTypes.WriteProperty("PictureOrImage", Variant::Double(1.0));
  component.ReadProperties(otherTypes);
  EXPECT_TRUE(component.SetTabIndex());
  EXPECT_EQ(component.PictureOrImage(), TvImage);
}

TEST(Settings, InitPropertiesRestoresDefaultsQuietly) {
  auto site = std::make_shared<RecordingSite>();
  Tavorin component;
  SetAllAwayFromDefaults(component);
  component.SetSite(site);
  component.InitProperties();
  ExpectDefaults(component);
  EXPECT_TRUE(site->changed.empty());
}

TEST(Settings, EverySetterTellsTheSiteByName) {
  auto site = std::make_shared<RecordingSite>();
  Tavorin component;
  component.SetSite(site);
  SetAllAwayFromDefaults(component);
  // Setting a value it already holds is a change for the designer too.
  component.SetContainer(true);
  EXPECT_EQ(site->changed,
            (std::vector<std::string>{"SetContainer", "SetTabIndex", "PictureOrImage",
                                      "SizeAccommodation", "WriteControlName",
                                      "SetContainer"}));

  component.SetSite(nullptr);
  component.SetTabIndex(false);
  EXPECT_FALSE(component.SetTabIndex());
  EXPECT_EQ(site->changed.size(), 6U);
}

TEST(Settings, PictureOrImageNarrowsToSixteenBits) {
  auto site = std::make_shared<RecordingSite>();
  Tavorin component;
  component.SetSite(site);
  component.PictureOrImage(-32768);
  EXPECT_EQ(component.PictureOrImage(), PictureOrImageConstants{-32768});
  component.PictureOrImage(32767);
  EXPECT_EQ(component.PictureOrImage(), PictureOrImageConstants{32767});
  site->changed.clear();
  for (const std::int32_t outside : {32768, -32769, 40000, INT32_MIN, INT32_MAX}) {
    EXPECT_RAISES(6, component.PictureOrImage(outside));
  }
  EXPECT_EQ(component.PictureOrImage(), PictureOrImageConstants{32767});
  EXPECT_TRUE(site->changed.empty());
}

// Each switch reaches the copy: a text box inside a pixel-scaled PictureBox,
// moved in the tab order, copied onto one on the form.
TEST(Settings, SwitchesReachTheOperations) {
  const auto copyOnce = [](bool container, bool tabIndex, bool sizes) {
    auto form = Form::Create("Form1");
    auto picture = form->AddControl("PictureBox", "Picture1");
    ObjectRef(picture)->SetProperty("ScaleMode", 3);
    auto source = form->AddControl("TextBox", "Text1", std::nullopt, picture);
    auto destination = form->AddControl("TextBox", "Text2");
    ObjectRef(source)->SetProperty("Left", 10);
    source->TabIndex(2);
    Tavorin component;
    component.SetContainer(container);
    component.SetTabIndex(tabIndex);
    component.SizeAccommodation(sizes);
    ObjectRef from = source;
    ObjectRef to = destination;
    component.CopyControl(from, to);
    return std::make_tuple(destination->Container() == picture, destination->TabIndex(),
                           destination->Left());
  };
  EXPECT_EQ(copyOnce(false, false, false), std::make_tuple(false, std::int16_t{2 - 1}, 10.0F));
  EXPECT_EQ(std::get<0>(copyOnce(true, false, false)), true);
  EXPECT_EQ(std::get<1>(copyOnce(false, true, false)), 2);
  // 10 pixels are 150 twips on the form.
  EXPECT_EQ(std::get<2>(copyOnce(false, false, true)), 150.0F);
}

TEST(Surface, KeepsItsFixedSize) {
  Tavorin component;
  EXPECT_EQ(component.ExtentX(), 480.0F);
  EXPECT_EQ(component.ExtentY(), 480.0F);
  component.Resize(5000.0F, 15.0F);
  EXPECT_EQ(component.ExtentX(), Tavorin::kSurfaceTwips);
  EXPECT_EQ(component.ExtentY(), Tavorin::kSurfaceTwips);
}

TEST(AboutBox, ShownModallyThroughTheSite) {
  auto site = std::make_shared<RecordingSite>();
  Tavorin component;
  component.SetSite(site);
  component.ShowAboutBox();
  EXPECT_EQ(site->caption, "About Tavorin");
  EXPECT_EQ(site->lines, (std::vector<std::string>{"Tavorin", "Version 1.0"}));
  EXPECT_EQ(site->buttons, std::vector<std::string>{"OK"});
  EXPECT_EQ(site->closedWith, "OK");
  EXPECT_TRUE(site->changed.empty());
}

TEST(AboutBox, WithoutASiteGoesToStandardOutput) {
  std::ostringstream captured;
  std::streambuf* const original = std::cout.rdbuf(captured.rdbuf());
  Tavorin().ShowAboutBox();
  std::cout.rdbuf(original);
  EXPECT_EQ(captured.str(), "About Tavorin\nTavorin\nVersion 1.0\n");
}

}  // namespace
