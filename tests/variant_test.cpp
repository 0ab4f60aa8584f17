// Variant: the runtime type codes, equality, and direct access.
#include <limits>

#include <gtest/gtest.h>

#include <support/raises.h>
#include <tavorin/tavorin.h>

using namespace tavorin::host;

namespace {

struct Thing : Object {
  std::string TypeName() const override { return "Thing"; }
};

TEST(Variant, FactoriesAndConstructorsGiveTheRuntimeTypeCodes) {
  const std::pair<Variant, int> cases[] = {
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

TEST(Variant, EmptyMissingNullAndNothingAreToldApart) {
  const Variant thing = std::make_shared<Thing>();
  const Variant special[] = {Variant(), Variant::Missing(), Variant::Null(),
                             Variant::Object(nullptr), thing};
  for (std::size_t i = 0; i < std::size(special); ++i) {
    const Variant& value = special[i];
    EXPECT_EQ(value.IsEmpty(), i == 0);
    EXPECT_EQ(value.IsMissing(), i == 1);
    EXPECT_EQ(value.IsNull(), i == 2);
    EXPECT_EQ(value.IsNothing(), i == 3);
    EXPECT_EQ(value.IsObject(), i >= 3);
    for (std::size_t j = 0; j < std::size(special); ++j)
      EXPECT_EQ(value == special[j], i == j) << i << " " << j;
  }
}

TEST(Variant, EqualityNeedsTheSameTypeAndValue) {
  EXPECT_EQ(Variant(1), Variant::Long(1));
  EXPECT_NE(Variant(1), Variant::Integer(1));
  EXPECT_NE(Variant(1), Variant(1.0));
  EXPECT_NE(Variant::Date(1), Variant(1.0));
  EXPECT_NE(Variant::Byte(1), Variant::Integer(1));
  EXPECT_NE(Variant("1"), Variant(1));
  EXPECT_EQ(Variant(ByteArray{1, 2}), Variant(ByteArray{1, 2}));
  EXPECT_NE(Variant(ByteArray{1, 2}), Variant(ByteArray{1}));
  // Floating values compare by bit pattern.
  EXPECT_NE(Variant(0.0f), Variant(-0.0f));
  EXPECT_NE(Variant(0.0), Variant(-0.0));
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto make :
       {+[](double x) { return Variant(x); }, +[](double x) { return Variant::Date(x); },
        +[](double x) { return Variant::Decimal(x); }}) {
    EXPECT_EQ(make(nan), make(nan));
    EXPECT_NE(make(0.0), make(-0.0));
  }
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
  for (const Variant& other :
       {Variant(), Variant::Null(), Variant::Missing(), Variant(1), Variant("x")}) {
    EXPECT_RAISES(13, other.AsObject());
    EXPECT_RAISES(13, other.AsBytes());
  }
  EXPECT_RAISES(13, Variant(ByteArray{}).AsObject());
  EXPECT_RAISES(13, Variant(thing).AsBytes());
}

}  // namespace
