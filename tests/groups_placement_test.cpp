// Placement between containers of different units: Frames count as twips, a
// stream records its container's unit under "CnS", and a unit the host does
// not know leaves the stored numbers as they are.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

#include <tavorin/tavorin.h>

#include "support/component_calls.h"

namespace {

using namespace tavorin::host;
using namespace tavorin::testing;

constexpr std::int16_t kPixels = 3;  // 15 twips each

using Box = std::array<float, 4>;  // left, top, width, height
const Box kInPixels = {10, 20, 100, 30};
const Box kInTwips = {150, 300, 1500, 450};
const Settings kUnconverted{.sizeAccommodation = false};

void ExpectPlacement(const Control& control, const Box& expected) {
  const Box actual = {CSng(control.GetProperty("Left")), CSng(control.GetProperty("Top")),
                      CSng(control.GetProperty("Width")), CSng(control.GetProperty("Height"))};
  EXPECT_THAT(actual, ::testing::Pointwise(::testing::FloatEq(), expected));
}

// A form in pixels holding a pixel PictureBox and a Frame, and a second form
// in twips.
class Placement : public ::testing::Test {
 protected:
  void SetUp() override {
    pixelForm->ScaleMode(kPixels);
    pictureBox->SetProperty("ScaleMode", kPixels);
    inPicture->Move(kInPixels[0], kInPixels[1], kInPixels[2], kInPixels[3]);
  }

  std::shared_ptr<Form> pixelForm = Form::Create("Form1");
  std::shared_ptr<Control> pictureBox = pixelForm->AddControl("PictureBox", "Picture1");
  std::shared_ptr<Control> frame = pixelForm->AddControl("Frame", "Frame1");
  std::shared_ptr<Control> inPicture =
      pixelForm->AddControl("TextBox", "Text1", std::nullopt, pictureBox);
  std::shared_ptr<Control> inFrame = pixelForm->AddControl("TextBox", "Text2", std::nullopt, frame);
  std::shared_ptr<Form> twipForm = Form::Create("Form2");
  std::shared_ptr<Control> onTwipForm = twipForm->AddControl("TextBox", "Text1");
  Settings settings;
};

TEST_F(Placement, StreamRecordsTheContainerUnitUnlessTwips) {
  EXPECT_EQ(CInt(Stored(Write(settings, *inPicture), "CnS")), kPixels);
  EXPECT_FALSE(Holds(Write(settings, *inFrame), "CnS"));
  EXPECT_FALSE(Holds(Write(settings, *onTwipForm), "CnS"));
  EXPECT_FALSE(Holds(Write(kUnconverted, *inPicture), "CnS"));
}

TEST_F(Placement, CopyAndReadConvertBetweenContainerUnits) {
  Copy(settings, *inPicture, *onTwipForm);
  ExpectPlacement(*onTwipForm, kInTwips);
  Copy(settings, *onTwipForm, *inFrame);
  ExpectPlacement(*inFrame, kInTwips);

  onTwipForm->Move(1, 2, 3, 4);
  Read(settings, Write(settings, *inPicture), *onTwipForm);
  ExpectPlacement(*onTwipForm, kInTwips);
  // A stream without a unit holds twips.
  inPicture->Move(1, 2, 3, 4);
  Read(settings, Write(kUnconverted, *onTwipForm), *inPicture);
  ExpectPlacement(*inPicture, kInPixels);
}

// Characters are 120 twips across but 240 down: the one unit in which a
// horizontal value converted with the vertical factor (or the reverse) shows.
TEST_F(Placement, CharacterUnitsConvertAcrossAndDownByTheirOwnFactors) {
  constexpr std::int16_t kCharacters = 4;
  const Box inCharacters = {2, 3, 10, 4};
  const Box charactersInTwips = {240, 720, 1200, 960};
  auto characterForm = Form::Create("Form3");
  characterForm->ScaleMode(kCharacters);
  auto onCharacterForm = characterForm->AddControl("TextBox", "Text1");
  onCharacterForm->Move(inCharacters[0], inCharacters[1], inCharacters[2], inCharacters[3]);

  Copy(settings, *onCharacterForm, *onTwipForm);
  ExpectPlacement(*onTwipForm, charactersInTwips);
  onTwipForm->Move(1, 2, 3, 4);
  Read(settings, Write(settings, *onCharacterForm), *onTwipForm);
  ExpectPlacement(*onTwipForm, charactersInTwips);

  onCharacterForm->Move(0, 0, 0, 0);
  Copy(settings, *onTwipForm, *onCharacterForm);
  ExpectPlacement(*onCharacterForm, inCharacters);
  onCharacterForm->Move(0, 0, 0, 0);
  Read(settings, Write(settings, *onTwipForm), *onCharacterForm);
  ExpectPlacement(*onCharacterForm, inCharacters);
}

// A copy whose placement step fails before converting anything leaves the
// catalogue's plain copy of the four values, never zeros.
TEST_F(Placement, CopyThatCannotConvertKeepsTheValuesItHas) {
  auto orphan = [] {
    auto form = Form::Create("Gone");
    return form->AddControl("TextBox", "Text1");
  }();  // its form, and so every unit it could be measured in, is gone
  Copy(settings, *inPicture, *orphan);
  ExpectPlacement(*orphan, kInPixels);
}

TEST_F(Placement, UnknownStoredUnitLeavesTheNumbersAsRead) {
  for (const Variant& damaged : {Variant::Integer(99), Variant("pixels"), Variant::Integer(-1)}) {
    const auto stream = WithStored(Write(settings, *inPicture), "CnS", damaged);
    onTwipForm->Move(1, 2, 3, 4);
    Read(settings, stream, *onTwipForm);
    ExpectPlacement(*onTwipForm, kInPixels);
  }
}

}  // namespace
