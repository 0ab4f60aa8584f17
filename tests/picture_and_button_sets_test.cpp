// The picture box, image, label, frame and button sets: the picture box's
// choice between its picture and its graphic, pictures against custom
// defaults, values under picture keys that are no pictures, the label's
// colour, a check box's binding after its value, and a frame copied without
// what it holds.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <tavorin/tavorin.h>

#include "support/bitmaps.h"
#include "support/component_calls.h"
#include "support/scratch_folder.h"
#include "support/sqlite_database.h"

namespace {

using namespace tavorin::host;
using namespace tavorin::testing;

const Variant kNothing = Variant::Object(nullptr);
const Settings kEverySetting{.setContainer = true, .setTabIndex = true};

Variant APicture(std::uint32_t seed) { return Variant::Object(SmallPicture(seed)); }

struct PictureMember {
  const char* property;
  const char* key;
};

struct PictureClass {
  const char* className;
  std::vector<PictureMember> pictures;
};

const std::vector<PictureMember> kButtonPictures = {
    {"Picture", "Pc"}, {"DownPicture", "DoP"}, {"DisabledPicture", "DiP"}};

const std::vector<PictureClass> kPictureClasses = {
    {"PictureBox", {{"Picture", "Pc"}}}, {"Image", {{"Picture", "Pc"}}},
    {"CommandButton", kButtonPictures},  {"CheckBox", kButtonPictures},
    {"OptionButton", kButtonPictures},
};

class Sets : public ::testing::Test {
 protected:
  std::shared_ptr<Control> Add(const std::string& className, ObjectRef container = nullptr) {
    return form->AddControl(className, className + std::to_string(++count_), std::nullopt,
                            std::move(container));
  }

  std::shared_ptr<Form> form = Form::Create("Form1");
  Settings settings;

 private:
  int count_ = 0;
};

TEST_F(Sets, PictureOrImageChoosesWhatIsCopiedAndWrittenButNeverWhatIsRead) {
  const auto box = Add("PictureBox");
  box->SetProperty("Picture", APicture(1));
  box->CallMethod("PaintPicture", {APicture(2)});
  const ByteArray picture = ImageOf(box->GetProperty("Picture"));
  const ByteArray graphic = ImageOf(box->GetProperty("Image"));
  ASSERT_NE(picture, graphic);

  for (const auto& [choice, expected] :
       {std::pair{std::int16_t{0}, picture}, std::pair{std::int16_t{1}, graphic}}) {
    SCOPED_TRACE(choice);
    const Settings chosen{.pictureOrImage = choice};
    const auto copy = Add("PictureBox");
    Copy(chosen, *box, *copy);
    EXPECT_EQ(ImageOf(copy->GetProperty("Picture")), expected);

    const auto stream = Write(chosen, *box);
    EXPECT_EQ(ImageOf(Stored(stream, "Pc")), expected);
    for (const std::int16_t reading : {std::int16_t{0}, std::int16_t{1}}) {
      const auto restored = Add("PictureBox");
      Read(Settings{.pictureOrImage = reading}, stream, *restored);
      EXPECT_EQ(ImageOf(restored->GetProperty("Picture")), expected);
    }
  }

  // The graphic of a box without a picture is a blank of its size: stored
  // against the built-in defaults, left out against custom defaults that
  // hold the same blank.
  const Settings image{.pictureOrImage = 1};
  const auto empty = Add("PictureBox");
  const auto sameSize = Add("PictureBox");
  EXPECT_FALSE(Holds(Write(Settings{}, *empty), "Pc"));
  EXPECT_TRUE(Holds(Write(image, *empty), "Pc"));
  const auto custom = Variant::Bytes(Write(image, *sameSize));
  EXPECT_FALSE(Holds(Write(image, *empty, custom), "Pc"));
}

// Every picture of every class against the built-in defaults and against
// custom defaults, Nothing on either side: what is stored, and what a control
// holding another picture ends up with after reading it.
TEST_F(Sets, PicturesAreStoredWhenTheyDifferAndReadBackAsTheyWere) {
  struct Case {
    Variant value;
    Variant custom;  // Missing: the built-in defaults
    bool stored;
  };
  const std::vector<Case> cases = {
      {kNothing, Variant::Missing(), false}, {APicture(1), Variant::Missing(), true},
      {APicture(1), APicture(1), false},     {kNothing, APicture(1), true},
      {APicture(1), kNothing, true},         {kNothing, kNothing, false},
      {APicture(1), APicture(2), true},
  };
  for (const PictureClass& pictureClass : kPictureClasses) {
    for (const PictureMember& member : pictureClass.pictures) {
      for (std::size_t index = 0; index < cases.size(); ++index) {
        const Case& c = cases[index];
        SCOPED_TRACE(std::string(pictureClass.className) + "." + member.property + ", case " +
                     std::to_string(index));
        Variant custom = Variant::Missing();
        if (!c.custom.IsMissing()) {
          const auto model = Add(pictureClass.className);
          model->SetProperty(member.property, c.custom);
          custom = Variant::Bytes(Write(settings, *model));
        }
        const auto control = Add(pictureClass.className);
        control->SetProperty(member.property, c.value);
        const auto stream = Write(settings, *control, custom);
        EXPECT_EQ(Holds(stream, member.key), c.stored);

        const auto restored = Add(pictureClass.className);
        restored->SetProperty(member.property, APicture(3));
        Read(settings, stream, *restored, custom);
        EXPECT_EQ(ImageOf(restored->GetProperty(member.property)), ImageOf(c.value));
      }
    }
  }
}

TEST_F(Sets, AValueUnderAPictureKeyThatIsNoPictureLeavesThatPictureAlone) {
  const std::vector<Variant> notPictures = {Variant("not a picture"), Variant::Long(7),
                                            Variant::Object(std::make_shared<DataFormat>())};
  for (const PictureClass& pictureClass : kPictureClasses) {
    const auto source = Add(pictureClass.className);
    std::uint32_t seed = 10;
    for (const PictureMember& member : pictureClass.pictures) {
      source->SetProperty(member.property, APicture(++seed));
    }
    const auto stream = Write(settings, *source);
    for (const PictureMember& damaged : pictureClass.pictures) {
      for (const Variant& notPicture : notPictures) {
        SCOPED_TRACE(std::string(pictureClass.className) + "." + damaged.property);
        const auto restored = Add(pictureClass.className);
        const Variant kept = APicture(99);
        restored->SetProperty(damaged.property, kept);
        Read(settings, WithStored(stream, damaged.key, notPicture), *restored);
        for (const PictureMember& member : pictureClass.pictures) {
          const bool isDamaged = std::string_view(member.key) == damaged.key;
          EXPECT_EQ(ImageOf(restored->GetProperty(member.property)),
                    ImageOf(isDamaged ? kept : source->GetProperty(member.property)))
              << member.property;
        }
      }
    }
  }
}

// A stored colour that cannot be read as one leaves a transparent label's
// own colour, with or without custom defaults, instead of turning it black.
TEST_F(Sets, ALabelKeepsItsColourOverAStoredOneThatIsNoColour) {
  constexpr char kBackColorKey[] = "39";
  const auto label = Add("Label");
  label->SetProperty("BackStyle", std::int16_t{0});
  label->SetProperty("BackColor", 0x00FF00);
  const auto custom = Variant::Bytes(Write(settings, *Add("Label")));
  for (const Variant& defaults : {Variant::Missing(), custom}) {
    for (const Variant& damaged : {Variant("no colour"), Variant::Double(1e12)}) {
      const auto kept = Add("Label");
      kept->SetProperty("BackColor", 0x123456);
      Read(settings, WithStored(Write(settings, *label, defaults), kBackColorKey, damaged), *kept,
           defaults);
      EXPECT_EQ(CLng(kept->GetProperty("BackColor")), 0x123456);
      EXPECT_EQ(CInt(kept->GetProperty("BackStyle")), 0);
    }
  }
}

TEST_F(Sets, ACheckBoxIsBoundAfterItsValueIsRestored) {
  const ScratchFolder scratch;
  const std::string path = (scratch.Path() / "club.db").string();
  ASSERT_TRUE(MakeDatabase(path,
                           "CREATE TABLE members(name TEXT, active INTEGER);"
                           "INSERT INTO members VALUES('Ada', 1);"));
  const auto data = form->AddControl("Data", "Data1");
  const auto check = Add("CheckBox");
  check->SetProperty("Value", std::int16_t{2});
  check->SetProperty("DataSource", Variant::Object(data));
  check->SetProperty("DataField", "active");
  const auto stream = Write(settings, *check);

  auto target = Form::Create("Form1");
  const auto openData = target->AddControl("Data", "Data1");
  openData->SetProperty("DatabaseName", path);
  openData->SetProperty("RecordSource", "members");
  openData->CallMethod("Refresh");
  const auto restored = target->AddControl("CheckBox", "Check1");
  Read(settings, stream, *restored);
  EXPECT_EQ(CInt(restored->GetProperty("Value")), 1) << "the record's value, not the stored 2";
  EXPECT_EQ(restored->GetProperty("DataSource").AsObject(), ObjectRef(openData));
}

TEST_F(Sets, AFrameIsCopiedWithoutTheControlsInsideIt) {
  const auto source = Add("Frame");
  const auto destination = Add("Frame");
  source->SetProperty("Caption", "Delivery");
  const auto inSource = Add("CheckBox", source);
  inSource->SetProperty("Value", std::int16_t{1});
  const auto inDestination = Add("OptionButton", destination);
  const std::size_t controls = form->Controls().size();

  Copy(kEverySetting, *source, *destination);
  EXPECT_EQ(CStr(destination->GetProperty("Caption")), "Delivery");
  EXPECT_EQ(form->Controls().size(), controls);
  EXPECT_EQ(inSource->Container(), ObjectRef(source));
  EXPECT_EQ(inDestination->Container(), ObjectRef(destination));
  EXPECT_EQ(CInt(inDestination->GetProperty("Value")), 0);
}

}  // namespace
