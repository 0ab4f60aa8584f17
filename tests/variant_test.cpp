#include <bit>
#include <limits>

#include <gtest/gtest.h>

#include <support/raises.h>
#include <tavorin/tavorin.h>

using namespace tavorin::host;

namespace {

struct Thing : Object {
  std::string TypeName() const override { return "Thing"; }
};

}  // namespace

TEST(Variant, FactoriesAndConstructorsGiveTheRuntimeTypeCodes) {
  const std::vector<std::pair<Variant, int>> cases = {
      {Variant(), 0},
      {Variant::Null(), 1},
      {Variant::Integer(1), 2},
      {std::int16_t{1}, 2},
      {1, 3},
      {Variant::Long(1), 3},
      {1.5f, 4},
      {1.5, 5},
      {Variant::Currency(15000), 6},
      {Variant::Date(1), 7},
      {"text", 8},
      {std::string("text"), 8},
      {Variant::Object(nullptr), 9},
      {std::make_shared<Thing>(), 9},
      {Variant::Missing(), 10},
      {true, 11},
      {Variant::Decimal(1), 14},
      {Variant::Byte(1), 17},
      {ByteArray{}, 8209},
  };
  for (const auto& [value, code] : cases) EXPECT_EQ(static_cast<int>(value.Type()), code);
}

TEST(Variant, MissingNullAndNothingAreToldApart) {
  const Variant missing = Variant::Missing();
  EXPECT_TRUE(missing.IsMissing());
  EXPECT_FALSE(missing.IsEmpty() || missing.IsNull() || missing.IsObject());
  const Variant null = Variant::Null();
  EXPECT_TRUE(null.IsNull());
  EXPECT_FALSE(null.IsEmpty() || null.IsMissing() || null.IsObject());
  const Variant nothing = Variant::Object(nullptr);
  EXPECT_TRUE(nothing.IsObject() && nothing.IsNothing());
  const Variant thing = std::make_shared<Thing>();
  EXPECT_TRUE(thing.IsObject());
  EXPECT_FALSE(thing.IsNothing());
  EXPECT_TRUE(Variant().IsEmpty());
  EXPECT_NE(missing, Variant());
  EXPECT_NE(null, Variant());
  EXPECT_NE(nothing, Variant());
}

TEST(Variant, EqualityNeedsTheSameTypeAndValue) {
  EXPECT_EQ(Variant(1), Variant::Long(1));
  EXPECT_NE(Variant(1), Variant::Integer(1));
  EXPECT_NE(Variant(1), Variant(1.0));
  EXPECT_NE(Variant::Date(1), Variant(1.0));
  EXPECT_NE(Variant::Byte(1), Variant::Integer(1));
  EXPECT_NE(Variant("1"), Variant(1));
  EXPECT_EQ(Variant::Missing(), Variant::Missing());
  EXPECT_EQ(Variant::Null(), Variant::Null());
  EXPECT_EQ(Variant(ByteArray{1, 2}), Variant(ByteArray{1, 2}));
  EXPECT_NE(Variant(ByteArray{1, 2}), Variant(ByteArray{1}));

  // Floating values compare by bit pattern.
  EXPECT_NE(Variant(0.0f), Variant(-0.0f));
  EXPECT_NE(Variant(0.0), Variant(-0.0));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(Variant(nan), Variant(nan));

  // Objects compare by identity.
  const auto a = std::make_shared<Thing>();
  EXPECT_EQ(Variant(a), Variant(ObjectRef(a)));
  EXPECT_NE(Variant(a), Variant(std::make_shared<Thing>()));
  EXPECT_EQ(Variant::Object(nullptr), Variant(ObjectRef{}));
}

TEST(Variant, DirectAccessRaisesTypeMismatchForOtherTypes) {
  const auto thing = std::make_shared<Thing>();
  EXPECT_EQ(Variant(thing).AsObject(), thing);
  EXPECT_EQ(Variant::Object(nullptr).AsObject(), nullptr);
  EXPECT_EQ(Variant(ByteArray{7}).AsBytes(), ByteArray{7});
  for (const Variant& other : {Variant(), Variant::Null(), Variant::Missing(), Variant(1), Variant("x")}) {
    EXPECT_RAISES(13, other.AsObject());
    EXPECT_RAISES(13, other.AsBytes());
  }
  EXPECT_RAISES(13, Variant(ByteArray{}).AsObject());
  EXPECT_RAISES(13, Variant(thing).AsBytes());
}
