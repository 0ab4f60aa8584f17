// Drag and mouse icons, and objects compared by their stored images: with
// custom defaults every difference must be stored, a Nothing that replaces a
// custom icon included.
#include <gtest/gtest.h>

#include <memory>

#include <tavorin/tavorin.h>

#include "groups/persisted_objects.h"
#include "support/bitmaps.h"
#include "support/component_calls.h"

namespace {

using tavorin::detail::PersistedObjectsEqual;
using namespace tavorin::host;
using namespace tavorin::testing;

const Variant kNothing = Variant::Object(nullptr);

// The picture's image, or nothing when the value is no picture.
ByteArray ImageOf(const Variant& value) {
  const auto picture = std::dynamic_pointer_cast<Picture>(value.AsObject());
  return picture ? picture->Bytes() : ByteArray{};
}

// An object that a property bag cannot store.
class Unstorable : public Object {
 public:
  std::string TypeName() const override { return "Unstorable"; }
};

TEST(PersistedObjectsEqual, ComparesStoredImagesNotIdentity) {
  const auto one = SmallPicture(1);
  const auto sameImage = SmallPicture(1);
  EXPECT_TRUE(PersistedObjectsEqual(Variant::Object(one), Variant::Object(sameImage)));
  EXPECT_FALSE(PersistedObjectsEqual(Variant::Object(one), Variant::Object(SmallPicture(2))));
  EXPECT_TRUE(PersistedObjectsEqual(kNothing, kNothing));
  EXPECT_FALSE(PersistedObjectsEqual(kNothing, Variant::Object(one)));
  EXPECT_FALSE(PersistedObjectsEqual(Variant::Object(one), kNothing));

  auto format = std::make_shared<DataFormat>();
  format->Format("0.00");
  auto sameFormat = std::make_shared<DataFormat>();
  sameFormat->Format("0.00");
  EXPECT_TRUE(PersistedObjectsEqual(Variant::Object(format), Variant::Object(sameFormat)));
  EXPECT_FALSE(PersistedObjectsEqual(Variant::Object(format), Variant::Object(one)));

  const auto unstorable = std::make_shared<Unstorable>();
  EXPECT_FALSE(PersistedObjectsEqual(Variant::Object(unstorable), Variant::Object(unstorable)));
}

class Icons : public ::testing::Test {
 protected:
  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<Control> text = form->AddControl("TextBox", "Text1");
  std::shared_ptr<Control> other = form->AddControl("TextBox", "Text2");
  Settings settings;
};

TEST_F(Icons, CopySharesTheSourceObjects) {
  const auto drag = SmallPicture(1);
  text->SetProperty("DragIcon", Variant::Object(drag));
  other->SetProperty("MouseIcon", Variant::Object(SmallPicture(2)));

  Copy(settings, *text, *other);
  EXPECT_EQ(other->GetProperty("DragIcon").AsObject(), ObjectRef(drag));
  EXPECT_TRUE(other->GetProperty("MouseIcon").IsNothing());
}

TEST_F(Icons, BuiltInDefaultsStoreOnlyPictures) {
  EXPECT_FALSE(Holds(Write(settings, *text), "DIc"));
  EXPECT_FALSE(Holds(Write(settings, *text), "MIc"));

  text->SetProperty("MouseIcon", Variant::Object(SmallPicture(3)));
  const auto stream = Write(settings, *text);
  EXPECT_EQ(ImageOf(Stored(stream, "MIc")), SmallPicture(3)->Bytes());

  other->SetProperty("DragIcon", Variant::Object(SmallPicture(4)));
  Read(settings, stream, *other);
  EXPECT_TRUE(other->GetProperty("DragIcon").IsNothing()) << "absent key clears the icon";
  EXPECT_EQ(ImageOf(other->GetProperty("MouseIcon")), SmallPicture(3)->Bytes());
}

// Against custom defaults (DragIcon 5, MouseIcon Nothing) an icon is stored
// exactly when it differs, a Nothing that replaces a custom icon included, and
// every icon reads back as it was, whatever the destination held.
TEST_F(Icons, CustomDefaultsStoreEveryDifferenceAndReadBackTheRest) {
  auto model = form->AddControl("TextBox", "Model");
  model->SetProperty("DragIcon", Variant::Object(SmallPicture(5)));
  const auto custom = Variant::Bytes(Write(settings, *model));

  const auto icon = [](std::uint32_t seed) {
    return seed == 0 ? kNothing : Variant::Object(SmallPicture(seed));
  };
  struct Case {
    std::uint32_t drag, mouse;
  };  // 0: Nothing
  for (const Case c : {Case{5, 0}, Case{6, 7}, Case{0, 8}}) {
    text->SetProperty("DragIcon", icon(c.drag));
    text->SetProperty("MouseIcon", icon(c.mouse));
    const auto stream = Write(settings, *text, custom);
    SCOPED_TRACE(::testing::Message() << "DragIcon " << c.drag << ", MouseIcon " << c.mouse);
    EXPECT_EQ(Holds(stream, "DIc"), c.drag != 5);
    EXPECT_EQ(Holds(stream, "MIc"), c.mouse != 0);

    other->SetProperty("DragIcon", Variant::Object(SmallPicture(9)));
    other->SetProperty("MouseIcon", Variant::Object(SmallPicture(9)));
    Read(settings, stream, *other, custom);
    EXPECT_EQ(ImageOf(other->GetProperty("DragIcon")), ImageOf(icon(c.drag)));
    EXPECT_EQ(ImageOf(other->GetProperty("MouseIcon")), ImageOf(icon(c.mouse)));
  }
}

}  // namespace
