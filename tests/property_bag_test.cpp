// PropertyBag: values keep their types through an image, defaults are not
// stored, names keep their first position, objects persist by their state.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

#include <tavorin/tavorin.h>

#include "support/raises.h"

using namespace tavorin::host;

namespace {

// `value` written into a bag, through an image into a second bag, read back.
Variant RoundTrip(const Variant& value) {
  PropertyBag writer;
  writer.WriteProperty("v", value);
  PropertyBag reader;
  reader.SetContents(writer.Contents());
  return reader.ReadProperty("v");
}

class KeepsTypeAndValue : public testing::TestWithParam<Variant> {};

TEST_P(KeepsTypeAndValue, ThroughAnImage) {
  const Variant read = RoundTrip(GetParam());
  EXPECT_EQ(read.Type(), GetParam().Type());
  EXPECT_EQ(read, GetParam());  // Single and Double by bit pattern
}

INSTANTIATE_TEST_SUITE_P(
    EveryTypeAndItsLimits, KeepsTypeAndValue,
    testing::Values(
        Variant(), Variant::Null(), Variant::Object(nullptr),
        Variant::Integer(0), Variant::Integer(std::numeric_limits<std::int16_t>::min()),
        Variant::Integer(std::numeric_limits<std::int16_t>::max()),
        Variant::Long(0), Variant::Long(std::numeric_limits<std::int32_t>::min()),
        Variant::Long(std::numeric_limits<std::int32_t>::max()), Variant::Long(-1),
        Variant::Single(-0.0f), Variant::Single(std::numeric_limits<float>::denorm_min()),
        Variant::Single(std::numeric_limits<float>::infinity()),
        Variant::Single(std::bit_cast<float>(0x7FC01234u)),
        Variant::Double(-0.0), Variant::Double(std::numeric_limits<double>::max()),
        Variant::Double(-std::numeric_limits<double>::infinity()),
        Variant::Double(std::bit_cast<double>(0xFFF8000000ABCDEFull)),
        Variant::Currency(std::numeric_limits<std::int64_t>::min()),
        Variant::Currency(std::numeric_limits<std::int64_t>::max()),
        Variant::Date(-657434.0), Variant::Date(2958465.99999), Variant::Decimal(-1e300),
        Variant::String(""), Variant::String("h\xC3\xA9llo \xE2\x82\xAC \xF0\x9F\x98\x80"),
        Variant::String(std::string("nul\0inside", 10)), Variant::String(std::string(100000, 'z')),
        Variant::Boolean(true), Variant::Boolean(false), Variant::Byte(0), Variant::Byte(255),
        Variant::Bytes({}), Variant::Bytes(ByteArray(70000, 0xA5))));

TEST(PropertyBag, AbsentNamesReadAsTheDefaultOrEmpty) {
  PropertyBag bag;
  EXPECT_TRUE(bag.ReadProperty("none").IsEmpty());
  EXPECT_EQ(bag.ReadProperty("none", Variant::Integer(5)), Variant::Integer(5));
  bag.WriteProperty("Name", "x");
  EXPECT_TRUE(bag.ReadProperty("name").IsEmpty()) << "names are case-sensitive";
  EXPECT_EQ(bag.ReadProperty("Name", "default"), Variant("x"));
}

TEST(PropertyBag, WritingANameAgainKeepsItsPlaceAndTakesTheNewValue) {
  PropertyBag bag;
  bag.WriteProperty("a", 1);
  bag.WriteProperty("b", 2);
  bag.WriteProperty("a", "three");
  EXPECT_EQ(bag.Names(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(bag.ReadProperty("a"), Variant("three"));

  PropertyBag reloaded;
  reloaded.SetContents(bag.Contents());
  EXPECT_EQ(reloaded.Names(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(reloaded.ReadProperty("a"), Variant("three"));
}

TEST(PropertyBag, AValueEqualToItsDefaultLeavesAnEarlierValueInPlace) {
  PropertyBag bag;
  bag.WriteProperty("a", 5);
  bag.WriteProperty("a", 0, 0);
  EXPECT_EQ(bag.ReadProperty("a", 0), Variant(5));
}

TEST(PropertyBag, SameWritesGiveSameBytes) {
  auto image = [] {
    PropertyBag bag;
    bag.WriteProperty("x", 1.25);
    bag.WriteProperty("y", "text");
    bag.WriteProperty("x", 2.5);
    return bag.Contents();
  };
  EXPECT_EQ(image(), image());
}

TEST(PropertyBag, SetContentsReplacesEverything) {
  PropertyBag source;
  source.WriteProperty("new", 1);
  PropertyBag bag;
  bag.WriteProperty("old", 1);
  bag.SetContents(source.Contents());
  EXPECT_EQ(bag.Names(), std::vector<std::string>{"new"});
  EXPECT_TRUE(bag.ReadProperty("old").IsEmpty());
}

struct DefaultCase {
  const char* what;
  Variant value;
  Variant defaultValue;
  bool equal;
};

class DefaultEquality : public testing::TestWithParam<DefaultCase> {};

TEST_P(DefaultEquality, DecidesWhetherTheValueIsStored) {
  const DefaultCase& c = GetParam();
  PropertyBag bag;
  bag.WriteProperty("v", c.value, c.defaultValue);
  EXPECT_EQ(bag.Count(), c.equal ? 0u : 1u);
}

INSTANTIATE_TEST_SUITE_P(
    AcrossTypes, DefaultEquality,
    testing::Values(
        DefaultCase{"Integer 0 vs Long 0", Variant::Integer(0), Variant::Long(0), true},
        DefaultCase{"Long 1 vs Long 2", 1, 2, false},
        DefaultCase{"True vs -1", true, Variant::Integer(-1), true},
        DefaultCase{"False vs 0", false, 0, true},
        DefaultCase{"True vs 1", true, 1, false},
        DefaultCase{"Byte 7 vs Double 7", Variant::Byte(7), 7.0, true},
        DefaultCase{"Single 0.5 vs Currency 0.5", Variant::Single(0.5f), Variant::Currency(5000), true},
        DefaultCase{"Date 2 vs Long 2", Variant::Date(2), 2, true},
        DefaultCase{"-0 vs 0", -0.0, 0.0, true},
        DefaultCase{"NaN vs NaN", std::nan(""), std::nan(""), false},
        DefaultCase{"Currency limits", Variant::Currency(INT64_MAX), Variant::Currency(INT64_MAX - 1), false},
        DefaultCase{"\"1\" vs 1", "1", 1, true},
        DefaultCase{"1 vs \"1\"", 1, "1", true},
        DefaultCase{"\"abc\" vs 0", "abc", 0, false},
        DefaultCase{"\"\" vs 0", "", 0, false},
        DefaultCase{"\"True\" vs True", "True", true, true},
        DefaultCase{"\"x\" vs \"x\"", "x", "x", true},
        DefaultCase{"\"x\" vs \"X\"", "x", "X", false},
        DefaultCase{"\"1\" vs \"1.0\"", "1", "1.0", false},
        DefaultCase{"Empty vs Empty", Variant(), Variant(), true},
        DefaultCase{"Empty vs 0", Variant(), 0, false},
        DefaultCase{"Empty vs \"\"", Variant(), "", false},
        DefaultCase{"Null vs Null", Variant::Null(), Variant::Null(), true},
        DefaultCase{"Null vs 0", Variant::Null(), 0, false},
        DefaultCase{"bytes vs equal bytes", Variant::Bytes({1}), Variant::Bytes({1}), true},
        DefaultCase{"bytes vs other bytes", Variant::Bytes({1}), Variant::Bytes({2}), false},
        DefaultCase{"Nothing vs Nothing", Variant::Object(nullptr), Variant::Object(nullptr), true},
        DefaultCase{"Nothing vs Empty", Variant::Object(nullptr), Variant(), false},
        DefaultCase{"object vs Nothing", std::make_shared<DataFormat>(), Variant::Object(nullptr), false},
        DefaultCase{"object vs 0", std::make_shared<DataFormat>(), 0, false}),
    [](const testing::TestParamInfo<DefaultCase>& info) { return std::to_string(info.index); });

TEST(PropertyBag, AnObjectNeverEqualsADefaultNotEvenItself) {
  auto format = std::make_shared<DataFormat>();
  PropertyBag bag;
  bag.WriteProperty("v", format, format);
  EXPECT_EQ(bag.Count(), 1u);
}

class PlainObject : public Object {
 public:
  std::string TypeName() const override { return "Plain"; }
};

// Persistable, but no loader is registered for its type name.
class UnknownPersistable : public PersistableObject {
 public:
  std::string TypeName() const override { return "Unknown"; }
  ByteArray SaveState() const override { return {}; }
};

TEST(PropertyBag, RefusesValuesItCouldNotReadBack) {
  PropertyBag bag;
  EXPECT_RAISES(errors::kTypeMismatch, bag.WriteProperty("v", std::make_shared<PlainObject>()));
  EXPECT_RAISES(errors::kTypeMismatch, bag.WriteProperty("v", std::make_shared<UnknownPersistable>()));
  EXPECT_RAISES(errors::kInvalidProcedureCall, bag.WriteProperty("v", Variant::Missing()));
  // Refused even where the default would have kept it out of the bag.
  EXPECT_RAISES(errors::kTypeMismatch, bag.WriteProperty("v", std::make_shared<PlainObject>(), 0));
  EXPECT_EQ(bag.Count(), 0u);
}

TEST(PropertyBag, ObjectsReadBackAsNewObjectsWithEqualState) {
  auto format = std::make_shared<DataFormat>();
  format->Format("#,##0.00 \xE2\x82\xAC");
  format->Type(-3);
  PropertyBag bag;
  bag.WriteProperty("DtF", format);
  format->Format("changed after writing");

  PropertyBag reloaded;
  reloaded.SetContents(bag.Contents());
  const ObjectRef first = reloaded.ReadProperty("DtF").AsObject();
  const ObjectRef second = reloaded.ReadProperty("DtF").AsObject();
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, format);
  EXPECT_NE(first, second) << "each read makes a new object";
  EXPECT_EQ(first->TypeName(), "StdDataFormat");
  auto loaded = std::dynamic_pointer_cast<DataFormat>(first);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Format(), "#,##0.00 \xE2\x82\xAC");
  EXPECT_EQ(loaded->Type(), -3);
}

TEST(PropertyBag, PicturesPersistByTheirBytes) {
  const auto picture = Picture::Blank(3, 2);
  PropertyBag bag;
  bag.WriteProperty("Pc", picture);
  PropertyBag reloaded;
  reloaded.SetContents(bag.Contents());
  const auto loaded = std::dynamic_pointer_cast<Picture>(reloaded.ReadProperty("Pc").AsObject());
  ASSERT_NE(loaded, nullptr);
  EXPECT_NE(loaded, picture);
  EXPECT_EQ(loaded->Bytes(), picture->Bytes());
}

TEST(PropertyBag, ReadsInAnyOrderAfterAnyChange) {
  PropertyBag bag;
  for (int i = 0; i < 10; ++i) bag.WriteProperty("n" + std::to_string(i), i);
  for (int i : {9, 0, 1, 1, 5, 4, 9}) {
    EXPECT_EQ(bag.ReadProperty("n" + std::to_string(i)), Variant(i));
  }
  EXPECT_TRUE(bag.ReadProperty("n10").IsEmpty());

  PropertyBag small;
  small.WriteProperty("n0", "zero");
  bag.ReadProperty("n8");  // positions beyond what the next content holds
  bag.SetContents(small.Contents());
  EXPECT_TRUE(bag.ReadProperty("n9").IsEmpty());
  EXPECT_EQ(bag.ReadProperty("n0"), Variant("zero"));
  bag.WriteProperty("n1", 1);
  EXPECT_EQ(bag.ReadProperty("n1"), Variant(1));
}

TEST(PropertyBag, ManyNames) {
  // About the size of a stored list of 32,767 items.
  constexpr int kItems = 32767;
  PropertyBag bag;
  for (int i = 0; i < kItems; ++i) {
    const std::string index = std::to_string(i);
    bag.WriteProperty("I" + index, "item " + index);
    bag.WriteProperty("D" + index, i * 3);
    bag.WriteProperty("S" + index, i % 2 == 0);
  }
  PropertyBag reloaded;
  reloaded.SetContents(bag.Contents());
  ASSERT_EQ(reloaded.Count(), 3u * kItems);
  for (int i = 0; i < kItems; ++i) {
    const std::string index = std::to_string(i);
    ASSERT_EQ(reloaded.ReadProperty("I" + index), Variant("item " + index));
    ASSERT_EQ(reloaded.ReadProperty("D" + index), Variant(i * 3));
    ASSERT_EQ(reloaded.ReadProperty("S" + index), Variant(i % 2 == 0));
  }
  EXPECT_EQ(reloaded.Names().front(), "I0");
  EXPECT_EQ(reloaded.Names().back(), "S32766");
}

}  // namespace
