// The groups every class shares: the envelope and the control's place in its
// form, placement between units, icons, data binding and the catalogue-driven
// transfer. Plain survival of values is left to the contract suite; these
// cases pin what a stream holds and what a destination that held something
// else ends up with.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <tavorin/tavorin.h>

#include "catalogue/defaults_catalogue.h"
#include "groups/common_properties.h"
#include "groups/persisted_objects.h"
#include "support/bitmaps.h"
#include "support/component_calls.h"

namespace {

using tavorin::detail::BuildDefaultsCatalogue;
using tavorin::detail::ConvertToValueType;
using namespace tavorin::host;
using namespace tavorin::testing;

const Variant kNothing = Variant::Object(nullptr);

// Two forms built alike: frames "Frame1" as a control array (elements 1 and
// 2), a PictureBox, data controls "Data1" and "Data2" (elements 0 and 1), and
// two text boxes.
struct Layout {
  explicit Layout(const std::string& name) : form(Form::Create(name)) {}
  std::shared_ptr<Form> form;
  std::shared_ptr<Control> frame1 = form->AddControl("Frame", "Frame1", std::int16_t{1});
  std::shared_ptr<Control> frame2 = form->AddControl("Frame", "Frame1", std::int16_t{2});
  std::shared_ptr<Control> picture = form->AddControl("PictureBox", "Picture1");
  std::shared_ptr<Control> data1 = form->AddControl("Data", "Data1");
  std::shared_ptr<Control> data2a = form->AddControl("Data", "Data2", std::int16_t{0});
  std::shared_ptr<Control> data2b = form->AddControl("Data", "Data2", std::int16_t{1});
  std::shared_ptr<Control> text = form->AddControl("TextBox", "Text1");
  std::shared_ptr<Control> other = form->AddControl("TextBox", "Text2");
};

class Groups : public ::testing::Test {
 protected:
  Layout source{"Form1"};
  Layout target{"Form2"};
  Settings settings;
};

const Settings kWithContainers{.setContainer = true};
const Settings kWithTabOrder{.setTabIndex = true};

TEST_F(Groups, EnvelopeCarriesFlagsAndTheNameUnlessSwitchedOff) {
  const auto stream = Write(Settings{}, *source.text);
  EXPECT_EQ(Stored(stream, "@CN#"), Variant("Text1"));
  EXPECT_EQ(CLng(Stored(stream, "@SF#")), 0x03000031);
  EXPECT_FALSE(Holds(Write(Settings{.writeControlName = false}, *source.text), "@CN#"));
}

// The form is stored as "1F"; an array element as its name and index.
TEST_F(Groups, ContainerTravelsByNameAndIndexOnlyWithSetContainer) {
  source.text->Container(source.picture);
  EXPECT_FALSE(Holds(Write(Settings{}, *source.text), "CnN"));
  Read(Settings{}, Write(kWithContainers, *source.text), *target.text);
  EXPECT_EQ(target.text->Container(), ObjectRef(target.form));

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

TEST_F(Groups, UnknownContainerLeavesTheControlWhereItIs) {
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

TEST_F(Groups, TabIndexIsStoredEvenWhenZeroAndAppliedOnlyWithSetTabIndex) {
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

TEST_F(Groups, DataSourceIsStoredByNameAndIndexAndResolvedOnTheDestinationsForm) {
  source.text->SetProperty("DataField", "Name");
  for (const auto& [bound, name, index, found] :
       {std::tuple{source.data1, "Data1", Variant(), target.data1},
        std::tuple{source.data2b, "Data2", Variant::Integer(1), target.data2b}}) {
    source.text->SetProperty("DataSource", Variant::Object(bound));
    const auto stream = Write(settings, *source.text);
    EXPECT_EQ(Stored(stream, "DsN"), Variant(name));
    EXPECT_EQ(Stored(stream, "DsI"), index);
    Read(settings, stream, *target.text);
    EXPECT_EQ(target.text->GetProperty("DataSource").AsObject(), ObjectRef(found));
  }
  // A form without the data source leaves the destination unbound.
  auto bare = Form::Create("Form3")->AddControl("TextBox", "Text1");
  Read(settings, Write(settings, *source.text), *bare);
  EXPECT_TRUE(bare->GetProperty("DataSource").IsNothing());
}

TEST_F(Groups, UnboundStreamHoldsNoBinding) {
  const auto stream = Write(settings, *source.text);
  for (const char* key : {"DsN", "DtM", "DFd", "DtC"}) EXPECT_FALSE(Holds(stream, key)) << key;
}

TEST_F(Groups, DataFormatIsLeftOutOnlyWhenCustomDefaultsHoldAnEqualOne) {
  // Custom defaults without "DtF" hold nothing to match, not even Nothing.
  PropertyBag bare;
  bare.WriteProperty("@SF#", Variant::Long(0x03000031));
  EXPECT_TRUE(Holds(Write(settings, *source.text, Variant::Bytes(bare.Contents())), "DtF"));

  for (const auto& text : {source.other, source.text}) {
    auto format = std::make_shared<DataFormat>();
    format->Format("0.00");
    text->SetProperty("DataFormat", Variant::Object(format));
  }
  const auto stream = Write(settings, *source.text, Variant::Bytes(Write(settings, *source.other)));
  EXPECT_FALSE(Holds(stream, "DtF"));
}

// An object that a property bag cannot store.
class Unstorable : public Object {
 public:
  std::string TypeName() const override { return "Unstorable"; }
};

TEST(PersistedObjectsEqual, ComparesStoredImagesNotIdentity) {
  using tavorin::detail::PersistedObjectsEqual;
  const auto one = Variant::Object(SmallPicture(1));
  EXPECT_TRUE(PersistedObjectsEqual(one, Variant::Object(SmallPicture(1))));
  EXPECT_FALSE(PersistedObjectsEqual(one, Variant::Object(SmallPicture(2))));
  EXPECT_TRUE(PersistedObjectsEqual(kNothing, kNothing));
  EXPECT_FALSE(PersistedObjectsEqual(kNothing, one));
  EXPECT_FALSE(PersistedObjectsEqual(one, kNothing));

  auto format = std::make_shared<DataFormat>();
  format->Format("0.00");
  auto sameFormat = std::make_shared<DataFormat>();
  sameFormat->Format("0.00");
  EXPECT_TRUE(PersistedObjectsEqual(Variant::Object(format), Variant::Object(sameFormat)));
  EXPECT_FALSE(PersistedObjectsEqual(Variant::Object(format), one));
  const auto unstorable = Variant::Object(std::make_shared<Unstorable>());
  EXPECT_FALSE(PersistedObjectsEqual(unstorable, unstorable));
}

TEST_F(Groups, CopySharesTheSourceIcons) {
  const auto drag = SmallPicture(1);
  source.text->SetProperty("DragIcon", Variant::Object(drag));
  source.other->SetProperty("MouseIcon", Variant::Object(SmallPicture(2)));
  Copy(settings, *source.text, *source.other);
  EXPECT_EQ(source.other->GetProperty("DragIcon").AsObject(), ObjectRef(drag));
  EXPECT_TRUE(source.other->GetProperty("MouseIcon").IsNothing());
}

// Against the built-in defaults (Nothing) and custom ones (DragIcon 5,
// MouseIcon Nothing) an icon is stored exactly when it differs, a Nothing that
// replaces a custom icon included, and every icon reads back as it was over
// whatever the destination held.
TEST_F(Groups, IconsAreStoredWhenTheyDifferAndReadBackOverOthers) {
  source.other->SetProperty("DragIcon", Variant::Object(SmallPicture(5)));
  const auto custom = Variant::Bytes(Write(settings, *source.other));
  const auto icon = [](std::uint32_t seed) {
    return seed == 0 ? kNothing : Variant::Object(SmallPicture(seed));
  };
  struct Case {
    Variant defaults;
    std::uint32_t drag, mouse;  // 0: Nothing
    bool dragStored, mouseStored;
  };
  for (const Case& c :
       {Case{Variant::Missing(), 0, 3, false, true}, Case{custom, 5, 0, false, false},
        Case{custom, 6, 7, true, true}, Case{custom, 0, 8, true, true}}) {
    SCOPED_TRACE(::testing::Message() << "DragIcon " << c.drag << ", MouseIcon " << c.mouse);
    source.text->SetProperty("DragIcon", icon(c.drag));
    source.text->SetProperty("MouseIcon", icon(c.mouse));
    const auto stream = Write(settings, *source.text, c.defaults);
    EXPECT_EQ(Holds(stream, "DIc"), c.dragStored);
    EXPECT_EQ(Holds(stream, "MIc"), c.mouseStored);

    target.text->SetProperty("DragIcon", Variant::Object(SmallPicture(9)));
    target.text->SetProperty("MouseIcon", Variant::Object(SmallPicture(9)));
    Read(settings, stream, *target.text, c.defaults);
    EXPECT_EQ(ImageOf(target.text->GetProperty("DragIcon")), ImageOf(icon(c.drag)));
    EXPECT_EQ(ImageOf(target.text->GetProperty("MouseIcon")), ImageOf(icon(c.mouse)));
  }
}

// Placement: a form in pixels holding a pixel PictureBox and a Frame (which
// counts as twips), and a second form in twips.
constexpr std::int16_t kPixels = 3;  // 15 twips each
using Box = std::array<float, 4>;    // left, top, width, height
const Box kInPixels = {10, 20, 100, 30};
const Box kInTwips = {150, 300, 1500, 450};
const Settings kUnconverted{.sizeAccommodation = false};

void ExpectPlacement(const Control& control, const Box& expected) {
  const Box actual = {CSng(control.GetProperty("Left")), CSng(control.GetProperty("Top")),
                      CSng(control.GetProperty("Width")), CSng(control.GetProperty("Height"))};
  EXPECT_THAT(actual, ::testing::Pointwise(::testing::FloatEq(), expected));
}

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
  // A stream without a unit holds twips.
  inPicture->Move(1, 2, 3, 4);
  Read(settings, Write(kUnconverted, *onTwipForm), *inPicture);
  ExpectPlacement(*inPicture, kInPixels);

  // Characters are 120 twips across but 240 down: the one unit in which a
  // value converted along the wrong axis shows.
  auto characterForm = Form::Create("Form3");
  characterForm->ScaleMode(4);
  auto onCharacterForm = characterForm->AddControl("TextBox", "Text1");
  onTwipForm->Move(240, 720, 1200, 960);
  Copy(settings, *onTwipForm, *onCharacterForm);
  ExpectPlacement(*onCharacterForm, {2, 3, 10, 4});
}

// A copy whose placement step fails before converting anything leaves the
// catalogue's plain copy of the four values, never zeros.
TEST_F(Placement, CopyThatCannotConvertKeepsTheValuesItHas) {
  auto orphan = Form::Create("Gone")->AddControl("TextBox", "Text1");
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

TEST(ConvertToValueType, ConvertsWithTheHostRulesOrGivesNull) {
  const auto picture = Variant::Object(SmallPicture(1));
  const std::tuple<Variant, std::int16_t, Variant> cases[] = {
      {Variant("abc"), 2, Variant::Null()},
      {Variant("12"), 2, Variant::Integer(12)},
      {Variant::Double(2.5), 2, Variant::Integer(2)},
      {Variant::Long(40000), 2, Variant::Null()},
      {Variant::Boolean(true), 3, Variant::Long(-1)},
      {Variant::Long(300), 17, Variant::Null()},
      {Variant::Integer(200), 17, Variant::Byte(200)},
      {Variant::Single(8.25F), 8, Variant("8.25")},
      {Variant("TRUE"), 11, Variant::Boolean(true)},
      {Variant("12"), 4, Variant::Single(12.0F)},
      {Variant::Integer(3), 5, Variant::Double(3.0)},
      {Variant::Integer(5), 6, Variant::Currency(50000)},
      {Variant::Long(1), 7, Variant::Date(1.0)},
      {Variant::Integer(3), 14, Variant::Decimal(3.0)},
      {Variant::Null(), 3, Variant::Null()},
      {picture, 8, Variant::Null()},
      {picture, 12, picture},
      {Variant("as it is"), 12, Variant("as it is")},
      {Variant::Long(1), 9, Variant::Null()},
      {Variant::Long(1), 0, Variant::Null()},
      {Variant::Long(1), 13, Variant::Null()},
      {Variant::Long(1), -1, Variant::Null()},
      {Variant::Long(1), 8209, Variant::Null()},
  };
  for (const auto& [value, valueType, expected] : cases) {
    EXPECT_EQ(ConvertToValueType(value, valueType), expected) << "value type " << valueType;
  }
}

constexpr auto kTextBox = tavorin::detail::ControlType::TextBox;

TEST_F(Groups, StoresOnlyWhatDiffersFromTheBuiltInDefaults) {
  source.text->SetProperty("Text", "hello");
  source.text->SetProperty("FontBold", true);
  const auto stream = Write(settings, *source.text);
  EXPECT_EQ(Stored(stream, "47"), Variant("hello"));
  EXPECT_EQ(Stored(stream, "50"), Variant::Boolean(true));
  for (const auto& entry : BuildDefaultsCatalogue(kTextBox)) {
    if (entry.keyCode == "47" || entry.keyCode == "50") continue;
    EXPECT_FALSE(Holds(stream, std::string(entry.keyCode))) << entry.propertyName;
  }
}

TEST_F(Groups, CustomDefaultsDecideOnBothSides) {
  source.other->SetProperty("Text", "usual");
  source.other->SetProperty("BackColor", 255);
  const auto custom = Variant::Bytes(Write(settings, *source.other));

  source.text->SetProperty("Text", "usual");     // equals the custom default
  source.text->SetProperty("FontItalic", true);  // not in the custom stream
  const auto stream = Write(settings, *source.text, custom);
  EXPECT_FALSE(Holds(stream, "47"));
  EXPECT_TRUE(Holds(stream, "38")) << "its built-in colour differs from the custom one";
  EXPECT_EQ(Stored(stream, "51"), Variant::Boolean(true));
  EXPECT_FALSE(Holds(stream, "50")) << "FontBold falls back to its built-in default";

  // What the stream leaves out is read from the custom defaults, and what
  // they lack falls back to the built-in default, whatever the control held.
  target.text->SetProperty("FontBold", true);
  Read(settings, stream, *target.text, custom);
  EXPECT_EQ(target.text->GetProperty("Text"), Variant("usual"));
  EXPECT_EQ(target.text->GetProperty("FontBold"), Variant::Boolean(false));
}

// A custom default counts in the type its key is stored as: a Long 5 under
// the Text key must not swallow every text that merely converts to 5.
TEST_F(Groups, CustomDefaultsCountInTheTypeTheirKeyIsStoredAs) {
  const auto model = Write(settings, *source.other);
  const auto custom = Variant::Bytes(WithStored(model, "47", Variant::Long(5)));
  for (const char* text : {"5.0", "05", " 5 ", "&H5", "5e0", "5"}) {
    SCOPED_TRACE(text);
    source.text->SetProperty("Text", text);
    const auto stream = Write(settings, *source.text, custom);
    EXPECT_EQ(Holds(stream, "47"), std::string(text) != "5");
    target.text->SetProperty("Text", "other");
    Read(settings, stream, *target.text, custom);
    EXPECT_EQ(target.text->GetProperty("Text"), Variant(text));
  }

  // One that does not convert to its key's type matches nothing.
  const auto unconvertible = Variant::Bytes(WithStored(model, "73", Variant("many")));
  const auto stream = Write(settings, *target.other, unconvertible);
  EXPECT_EQ(Stored(stream, "73"), Variant::Long(0));
  target.other->SetProperty("MaxLength", 9);
  Read(settings, stream, *target.other, unconvertible);
  EXPECT_EQ(target.other->GetProperty("MaxLength"), Variant::Long(0));
}

}  // namespace
