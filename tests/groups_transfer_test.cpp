// The catalogue-driven transfer on a TextBox: which keys a stream holds, that
// a read assigns every catalogued property, custom defaults on both sides, and
// the conversion applied before a value is written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "catalogue/defaults_catalogue.h"
#include "groups/common_properties.h"
#include "support/bitmaps.h"
#include "support/component_calls.h"

namespace {

using tavorin::detail::BuildDefaultsCatalogue;
using tavorin::detail::ConvertToValueType;
using namespace tavorin::host;
using namespace tavorin::testing;

constexpr auto kTextBox = tavorin::detail::ControlType::TextBox;

struct ConversionCase {
  Variant value;
  std::int16_t valueType;
  Variant expected;
};

TEST(ConvertToValueType, ConvertsWithTheHostRulesOrGivesNull) {
  const auto picture = SmallPicture(1);
  const std::vector<ConversionCase> cases = {
      {Variant("abc"), 2, Variant::Null()},
      {Variant("12"), 2, Variant::Integer(12)},
      {Variant::Double(2.5), 2, Variant::Integer(2)},
      {Variant::Long(40000), 2, Variant::Null()},
      {Variant::Boolean(true), 3, Variant::Long(-1)},
      {Variant::Long(300), 17, Variant::Null()},
      {Variant::Integer(200), 17, Variant::Byte(200)},
      {Variant::Long(7), 8, Variant("7")},
      {Variant::Single(8.25F), 8, Variant("8.25")},
      {Variant("TRUE"), 11, Variant::Boolean(true)},
      {Variant("12"), 4, Variant::Single(12.0F)},
      {Variant::Integer(3), 5, Variant::Double(3.0)},
      {Variant::Integer(5), 6, Variant::Currency(50000)},
      {Variant::Long(1), 7, Variant::Date(1.0)},
      {Variant::Integer(3), 14, Variant::Decimal(3.0)},
      {Variant::Null(), 3, Variant::Null()},
      {Variant::Object(picture), 8, Variant::Null()},
      {Variant::Object(picture), 12, Variant::Object(picture)},
      {Variant("as it is"), 12, Variant("as it is")},
      {Variant::Long(1), 9, Variant::Null()},
      {Variant::Long(1), 0, Variant::Null()},
      {Variant::Long(1), 13, Variant::Null()},
      {Variant::Long(1), -1, Variant::Null()},
      {Variant::Long(1), 8209, Variant::Null()},
  };
  for (const ConversionCase& c : cases) {
    EXPECT_EQ(ConvertToValueType(c.value, c.valueType), c.expected)
        << "value type " << c.valueType << ", value "
        << CStr(c.value.IsObject() || c.value.IsNull() ? Variant("<object/null>") : c.value);
  }
}

class CatalogueTransfer : public ::testing::Test {
 protected:
  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<Control> text = form->AddControl("TextBox", "Text1");
  Settings settings;
};

TEST_F(CatalogueTransfer, StoresOnlyWhatDiffersFromTheBuiltInDefaults) {
  text->SetProperty("Text", "hello");
  text->SetProperty("FontBold", true);
  const auto stream = Write(settings, *text);

  EXPECT_EQ(Stored(stream, "47"), Variant("hello"));
  EXPECT_EQ(Stored(stream, "50"), Variant::Boolean(true));
  for (const auto& entry : BuildDefaultsCatalogue(kTextBox)) {
    if (entry.keyCode == "47" || entry.keyCode == "50") continue;
    EXPECT_FALSE(Holds(stream, std::string(entry.keyCode))) << entry.propertyName;
  }
}

TEST_F(CatalogueTransfer, ReadAssignsEveryCataloguedPropertyStoredOrNot) {
  const auto plain = Write(settings, *text);
  auto changed = form->AddControl("TextBox", "Text2");
  changed->SetProperty("Text", "old");
  changed->SetProperty("BackColor", 255);
  changed->SetProperty("MaxLength", 12);
  changed->SetProperty("Visible", false);
  changed->SetProperty("Tag", "t");

  Read(settings, plain, *changed);

  for (const auto& entry : BuildDefaultsCatalogue(kTextBox)) {
    const std::string name(entry.propertyName);
    EXPECT_EQ(ConvertToValueType(changed->GetProperty(name), entry.valueType),
              ConvertToValueType(entry.defaultValue, entry.valueType))
        << name;
  }
}

TEST_F(CatalogueTransfer, CustomDefaultsDecideOnBothSides) {
  auto model = form->AddControl("TextBox", "Model");
  model->SetProperty("Text", "usual");
  model->SetProperty("BackColor", 255);
  const auto custom = Variant::Bytes(Write(settings, *model));

  text->SetProperty("Text", "usual");     // equals the custom default
  text->SetProperty("FontItalic", true);  // not in the custom stream
  const auto stream = Write(settings, *text, custom);

  EXPECT_FALSE(Holds(stream, "47"));
  EXPECT_TRUE(Holds(stream, "38")) << "its built-in colour differs from the custom one";
  EXPECT_EQ(Stored(stream, "51"), Variant::Boolean(true));
  EXPECT_FALSE(Holds(stream, "50")) << "FontBold falls back to its built-in default";

  // What the stream leaves out is read from the custom defaults, and what
  // they lack falls back to the built-in default, whatever the control held.
  auto restored = form->AddControl("TextBox", "Text3");
  restored->SetProperty("FontBold", true);
  Read(settings, stream, *restored, custom);
  EXPECT_EQ(restored->GetProperty("Text"), Variant("usual"));
  EXPECT_EQ(restored->GetProperty("FontBold"), Variant::Boolean(false));
}

// A custom default counts in the type its key is stored as: a Long 5 under
// the Text key must not swallow every text that merely converts to 5.
TEST_F(CatalogueTransfer, CustomDefaultsCountInTheTypeTheirKeyIsStoredAs) {
  auto model = form->AddControl("TextBox", "Model");
  const auto custom = Variant::Bytes(WithStored(Write(settings, *model), "47", Variant::Long(5)));
  int probe = 0;
  for (const char* text : {"5.0", "05", " 5 ", "&H5", "5e0", "5"}) {
    SCOPED_TRACE(text);
    const std::string suffix = std::to_string(++probe);
    auto box = form->AddControl("TextBox", "Probe" + suffix);
    box->SetProperty("Text", text);
    const auto stream = Write(settings, *box, custom);
    EXPECT_EQ(Holds(stream, "47"), std::string(text) != "5");
    auto restored = form->AddControl("TextBox", "Restored" + suffix);
    Read(settings, stream, *restored, custom);
    EXPECT_EQ(restored->GetProperty("Text"), Variant(text));
  }

  // One that does not convert to its key's type matches nothing.
  const auto unconvertible =
      Variant::Bytes(WithStored(Write(settings, *model), "73", Variant("many")));
  const auto stream = Write(settings, *text, unconvertible);
  EXPECT_EQ(Stored(stream, "73"), Variant::Long(0));
  text->SetProperty("MaxLength", 9);
  Read(settings, stream, *text, unconvertible);
  EXPECT_EQ(text->GetProperty("MaxLength"), Variant::Long(0));
}

}  // namespace
