// Placement between containers of different units: Frames count as twips, a
// stream records its container's unit under "CnS", and a unit the host does
// not know leaves the stored numbers as they are.
#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "support/component_calls.h"

namespace {

using tavorin::host::CSng;
using tavorin::host::Form;
using tavorin::host::Variant;
using tavorin::testing::Copy;
using tavorin::testing::Holds;
using tavorin::testing::Read;
using tavorin::testing::Settings;
using tavorin::testing::Stored;
using tavorin::testing::WithStored;
using tavorin::testing::Write;

constexpr std::int16_t kPixels = 3;
constexpr float kTwipsPerPixel = 15.0F;

struct Box {
  float left, top, width, height;
};

Box PlacementOf(const tavorin::host::Control& control) {
  return {CSng(control.GetProperty("Left")), CSng(control.GetProperty("Top")),
          CSng(control.GetProperty("Width")), CSng(control.GetProperty("Height"))};
}

void ExpectPlacement(const tavorin::host::Control& control, Box expected) {
  const Box actual = PlacementOf(control);
  EXPECT_FLOAT_EQ(actual.left, expected.left);
  EXPECT_FLOAT_EQ(actual.top, expected.top);
  EXPECT_FLOAT_EQ(actual.width, expected.width);
  EXPECT_FLOAT_EQ(actual.height, expected.height);
}

// A form in pixels holding a pixel PictureBox and a Frame, and a second form
// in twips.
class Placement : public ::testing::Test {
 protected:
  void SetUp() override {
    pixelForm->ScaleMode(kPixels);
    pictureBox->SetProperty("ScaleMode", kPixels);
    inPicture->Move(10, 20, 100, 30);
  }

  std::shared_ptr<Form> pixelForm = Form::Create("Form1");
  std::shared_ptr<tavorin::host::Control> pictureBox =
      pixelForm->AddControl("PictureBox", "Picture1");
  std::shared_ptr<tavorin::host::Control> frame = pixelForm->AddControl("Frame", "Frame1");
  std::shared_ptr<tavorin::host::Control> inPicture =
      pixelForm->AddControl("TextBox", "Text1", std::nullopt, pictureBox);
  std::shared_ptr<tavorin::host::Control> inFrame =
      pixelForm->AddControl("TextBox", "Text2", std::nullopt, frame);
  std::shared_ptr<Form> twipForm = Form::Create("Form2");
  std::shared_ptr<tavorin::host::Control> onTwipForm = twipForm->AddControl("TextBox", "Text1");
  Settings settings;
};

TEST_F(Placement, StreamRecordsTheContainerUnitUnlessTwips) {
  EXPECT_EQ(tavorin::host::CInt(Stored(Write(settings, *inPicture), "CnS")), kPixels);
  EXPECT_FALSE(Holds(Write(settings, *inFrame), "CnS"));
  EXPECT_FALSE(Holds(Write(settings, *onTwipForm), "CnS"));

  Settings unconverted;
  unconverted.sizeAccommodation = false;
  EXPECT_FALSE(Holds(Write(unconverted, *inPicture), "CnS"));
}

TEST_F(Placement, CopyConvertsBetweenContainerUnits) {
  Copy(settings, *inPicture, *onTwipForm);
  ExpectPlacement(*onTwipForm, {10 * kTwipsPerPixel, 20 * kTwipsPerPixel,
                                100 * kTwipsPerPixel, 30 * kTwipsPerPixel});

  Copy(settings, *onTwipForm, *inFrame);
  ExpectPlacement(*inFrame, {150, 300, 1500, 450});
}

TEST_F(Placement, ReadConvertsFromTheStoredUnit) {
  Read(settings, Write(settings, *inPicture), *onTwipForm);
  ExpectPlacement(*onTwipForm, {150, 300, 1500, 450});
}

TEST_F(Placement, StreamWithoutUnitIsTakenAsTwips) {
  Settings unconverted;
  unconverted.sizeAccommodation = false;
  onTwipForm->Move(150, 300, 1500, 450);
  const auto stream = Write(unconverted, *onTwipForm);

  Read(settings, stream, *inPicture);
  ExpectPlacement(*inPicture, {10, 20, 100, 30});
}

TEST_F(Placement, UnknownStoredUnitLeavesTheNumbersAsRead) {
  for (const Variant& damaged : {Variant::Integer(99), Variant("pixels"), Variant::Integer(-1)}) {
    const auto stream = WithStored(Write(settings, *inPicture), "CnS", damaged);
    onTwipForm->Move(1, 2, 3, 4);
    Read(settings, stream, *onTwipForm);
    ExpectPlacement(*onTwipForm, {10, 20, 100, 30});
  }
}

}  // namespace
