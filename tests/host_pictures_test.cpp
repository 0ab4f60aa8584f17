// Pictures on controls: the PictureBox's persistent graphic, button pictures,
// the Image control and the icons.
#include <string>

#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "support/raises.h"

namespace tavorin::host {
namespace {

class HostPicturesTest : public ::testing::Test {
 protected:
  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<PictureBox> box =
      std::dynamic_pointer_cast<PictureBox>(form->AddControl("PictureBox", "Picture1"));
};

PictureRef Square(int side) { return Picture::Blank(side, side); }

TEST_F(HostPicturesTest, TheImageOfAnEmptyBoxIsABlankBitmapOfItsSize) {
  box->Move(0, 0, 300, 150);
  const PictureRef image = box->Image();
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->GetKind(), Picture::Kind::Bitmap);
  EXPECT_EQ(image->WidthPixels(), 20);
  EXPECT_EQ(image->HeightPixels(), 10);
  EXPECT_EQ(image->Bytes(), Picture::Blank(20, 10)->Bytes());
  EXPECT_TRUE(box->GetProperty("Picture").IsNothing());
}

TEST_F(HostPicturesTest, SettingThePictureResetsTheGraphic) {
  box->Move(0, 0, 300, 300);
  const PictureRef picture = Square(4);
  box->PaintPicture(Square(2));
  box->SetProperty("Picture", Variant(ObjectRef(picture)));
  EXPECT_EQ(box->Picture(), picture);
  const PictureRef image = std::dynamic_pointer_cast<Picture>(box->GetProperty("Image").AsObject());
  ASSERT_NE(image, nullptr);
  EXPECT_NE(image, picture) << "Image is a new picture";
  EXPECT_EQ(image->Bytes(), picture->Bytes());
  box->Picture(nullptr);
  EXPECT_EQ(box->Image()->Bytes(), Picture::Blank(20, 20)->Bytes());
}

TEST_F(HostPicturesTest, PaintPictureDrawsOntoTheGraphicNotThePicture) {
  box->Move(0, 0, 150, 150);
  const PictureRef canvas = Square(10);
  const PictureRef overlay = Picture::Blank(2, 3);
  box->Picture(canvas);
  box->CallMethod("PaintPicture", {Variant(ObjectRef(overlay))});
  EXPECT_EQ(box->Picture(), canvas);
  EXPECT_EQ(box->Image()->Bytes(), Picture::PaintOnto(*canvas, *overlay)->Bytes());
  EXPECT_RAISES(errors::kObjectNotSet, box->PaintPicture(nullptr));
  EXPECT_RAISES(
      errors::kInvalidPropertyValue,
      box->CallMethod("PaintPicture", {Variant(ObjectRef(std::make_shared<DataFormat>()))}));
  EXPECT_RAISES(errors::kInvalidProcedureCall, box->CallMethod("PaintPicture"));
}

TEST_F(HostPicturesTest, ButtonsImagesAndIconsHoldNothingOrAPicture) {
  const PictureRef picture = Square(2);
  for (const char* className : {"CommandButton", "CheckBox", "OptionButton"}) {
    SCOPED_TRACE(className);
    auto button = std::dynamic_pointer_cast<GraphicalButton>(
        form->AddControl(className, std::string(className) + "1"));
    button->Picture(picture);
    button->SetProperty("DownPicture", Variant(ObjectRef(picture)));
    EXPECT_EQ(button->DownPicture(), picture);
    EXPECT_EQ(button->GetProperty("Picture").AsObject(), ObjectRef(picture));
    EXPECT_EQ(button->DisabledPicture(), nullptr);
    EXPECT_RAISES(errors::kInvalidPropertyValue,
                  button->SetProperty("DisabledPicture", Variant(ObjectRef(form))));
    EXPECT_RAISES(errors::kTypeMismatch, button->SetProperty("Picture", Variant("a.bmp")));
  }
  auto image = std::dynamic_pointer_cast<Image>(form->AddControl("Image", "Image1"));
  image->Picture(picture);
  EXPECT_EQ(image->GetProperty("Picture").AsObject(), ObjectRef(picture));
  for (const char* icon : {"DragIcon", "MouseIcon"}) {
    image->SetProperty(icon, Variant(ObjectRef(picture)));
    EXPECT_EQ(image->GetProperty(icon).AsObject(), ObjectRef(picture));
    image->SetProperty(icon, Variant(ObjectRef()));
    EXPECT_TRUE(image->GetProperty(icon).IsNothing());
  }
}

}  // namespace
}  // namespace tavorin::host
