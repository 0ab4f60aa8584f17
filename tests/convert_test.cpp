// Conversions between variant types: limits, rounding, text in and out,
// booleans, and the values that convert to nothing else.
#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include <support/raises.h>
#include <tavorin/tavorin.h>

using namespace tavorin::host;

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr std::int64_t kMaxCurrency = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMinCurrency = std::numeric_limits<std::int64_t>::min();

struct Thing : Object {
  std::string TypeName() const override { return "Thing"; }
};

TEST(Convert, KnownAnswersAtTheLimitsOfEveryTarget) {
  struct Converts {
    Variant from;
    VarType to;
    Variant expected;
  };
  const Converts cases[] = {
      {255.0, VarType::Byte, Variant::Byte(255)},
      {-0.5, VarType::Byte, Variant::Byte(0)},
      {"&HFF", VarType::Byte, Variant::Byte(255)},
      {32767.0, VarType::Integer, Variant::Integer(32767)},
      {-32768.5, VarType::Integer, Variant::Integer(-32768)},
      {2147483647.0, VarType::Long, 2147483647},
      {"-2147483648.5", VarType::Long, std::int32_t{-2147483647 - 1}},
      {"922337203685477.5807", VarType::Currency, Variant::Currency(kMaxCurrency)},
      {"-922337203685477.5808", VarType::Currency, Variant::Currency(kMinCurrency)},
      {2147483647, VarType::Currency, Variant::Currency(21474836470000)},
      // Numeric text.
      {" 12 ", VarType::Long, 12},
      {"\t+7", VarType::Long, 7},
      {"-7", VarType::Integer, Variant::Integer(-7)},
      {"1.5E2", VarType::Long, 150},
      {"1.5d2", VarType::Long, 150},
      {"1e-2", VarType::Double, 0.01},
      {".5", VarType::Double, 0.5},
      {"5.", VarType::Double, 5.0},
      {"000123.4500", VarType::Currency, Variant::Currency(1234500)},
      {"&H10", VarType::Long, 16},
      {"&o17", VarType::Long, 15},
      {"&HFFFF", VarType::Integer, Variant::Integer(-1)},
      {"&H10000", VarType::Long, 65536},
      {"&HFFFFFFFF", VarType::Long, -1},
      {"1e39", VarType::Double, 1e39},
      {"1e-50", VarType::Single, 0.0f},
      {"-1e-400", VarType::Double, -0.0},
      {"0e999999999999", VarType::Long, 0},
      {"1e-99999999999999", VarType::Currency, Variant::Currency(0)},
      // Booleans are -1 and 0; any number but zero is True.
      {true, VarType::Long, -1},
      {false, VarType::Double, 0.0},
      {true, VarType::Currency, Variant::Currency(-10000)},
      {true, VarType::String, "True"},
      {0.1, VarType::Boolean, true},
      {-0.0, VarType::Boolean, false},
      {Variant::Currency(1), VarType::Boolean, true},
      {" TRUE ", VarType::Boolean, true},
      {"false", VarType::Boolean, false},
      {"0.0", VarType::Boolean, false},
      {"-3", VarType::Boolean, true},
      {"&H0", VarType::Boolean, false},
  };
  for (const Converts& c : cases) {
    SCOPED_TRACE(testing::Message() << "from \"" << CStr(c.from) << "\" (type "
                                    << int(c.from.Type()) << ") to type " << int(c.to));
    EXPECT_EQ(ConvertTo(c.from, c.to), c.expected)
        << "got \"" << CStr(ConvertTo(c.from, c.to)) << '"';
  }
}

TEST(Convert, RefusesWhatDoesNotFitOrIsNoNumber) {
  struct Fails {
    Variant from;
    VarType to;
    int error;
  };
  const Fails cases[] = {
      {255.5, VarType::Byte, 6},
      {256, VarType::Byte, 6},
      {-1, VarType::Byte, 6},
      {true, VarType::Byte, 6},
      {32767.5, VarType::Integer, 6},
      {-32769, VarType::Integer, 6},
      {2147483648.0, VarType::Long, 6},
      {"2147483647.5", VarType::Long, 6},
      {-2147483649.0, VarType::Long, 6},
      {Variant::Currency(kMaxCurrency), VarType::Long, 6},
      {"922337203685477.5808", VarType::Currency, 6},
      {"-922337203685477.5809", VarType::Currency, 6},
      {1e15, VarType::Currency, 6},
      {"1e30", VarType::Currency, 6},
      {"&H100000000", VarType::Long, 6},
      {"1e39", VarType::Single, 6},
      {1e300, VarType::Single, 6},
      {"1e400", VarType::Double, 6},
      {"1e99999999999999", VarType::Long, 6},
      {1e29, VarType::Decimal, 6},
      {"yes", VarType::Boolean, 13},
      {"hi", VarType::ByteArray, 13},
  };
  for (const Fails& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << &c - cases);
    EXPECT_RAISES(c.error, ConvertTo(c.from, c.to));
  }
  for (double bad : {std::nan(""), kInfinity, -kInfinity}) {
    for (VarType to :
         {VarType::Byte, VarType::Integer, VarType::Long, VarType::Currency, VarType::Date}) {
      EXPECT_RAISES(6, ConvertTo(bad, to));
    }
  }
  for (const char* garbage : {"", " ", "abc", "1x", "1e", "1e+", "--1", "+-1", "&H", "&HG", "&O8",
                              "1 2", "e5", ".", "1.2.3", "- 1", "&H-1", "True"}) {
    SCOPED_TRACE(garbage);
    EXPECT_RAISES(13, CDbl(garbage));
    EXPECT_RAISES(13, CLng(garbage));
  }
}

TEST(Convert, RoundsHalfToEven) {
  const std::pair<double, std::int32_t> halves[] = {{0.5, 0},   {1.5, 2},   {2.5, 2},  {3.5, 4},
                                                    {-2.5, -2}, {-3.5, -4}, {2.75, 3}, {-0.4, 0}};
  for (const auto& [from, expected] : halves) {
    SCOPED_TRACE(from);
    EXPECT_EQ(CLng(from), expected);
    EXPECT_EQ(CLng(static_cast<float>(from)), expected);
    EXPECT_EQ(CLng(CStr(from)), expected);
    EXPECT_EQ(CLng(Variant::Currency(std::llround(from * 10000))), expected);
  }
  EXPECT_EQ(CCur("1.00005").ten_thousandths, 10000);
  EXPECT_EQ(CCur("1.00015").ten_thousandths, 10002);
  EXPECT_EQ(CCur("1.000050000000000000001").ten_thousandths, 10001);
  EXPECT_EQ(CCur(-1.00025).ten_thousandths, -10002);
}

TEST(Convert, EmptyNullObjectsAndBytesConvertOnlyToTheirOwnType) {
  const Variant nothing = Variant::Object(nullptr);
  const Variant thing = Variant::Object(std::make_shared<Thing>());
  const Variant bytes = ByteArray{'h', 'i'};
  for (VarType to :
       {VarType::Boolean, VarType::Byte, VarType::Integer, VarType::Long, VarType::Single,
        VarType::Double, VarType::Currency, VarType::Date, VarType::Decimal, VarType::String}) {
    SCOPED_TRACE(int(to));
    EXPECT_RAISES(94, ConvertTo(Variant::Null(), to));
    EXPECT_RAISES(13, ConvertTo(nothing, to));
    EXPECT_RAISES(13, ConvertTo(thing, to));
    EXPECT_RAISES(13, ConvertTo(Variant::Missing(), to));
    if (to == VarType::String) continue;  // bytes read as text, Empty as ""
    EXPECT_RAISES(13, ConvertTo(bytes, to));
    EXPECT_EQ(ConvertTo(Variant(), to), ConvertTo(std::int32_t{0}, to));
  }
  EXPECT_EQ(CStr(Variant()), "");
  EXPECT_EQ(CStr(bytes), "hi");
  for (const Variant& own : {Variant(), Variant::Null(), nothing, thing, bytes}) {
    EXPECT_EQ(ConvertTo(own, own.Type()), own);
    EXPECT_RAISES(13, ConvertTo(std::int32_t{1}, own.Type()));
    EXPECT_RAISES(13, ConvertTo(own, VarType::Error));
  }
  EXPECT_RAISES(13, ConvertTo(Variant::Missing(), VarType::Error));
}

TEST(Convert, WritesNumbersAndDatesAsTheRuntimeDoes) {
  const std::pair<Variant, std::string> cases[] = {
      {Variant::Byte(200), "200"},
      {std::int32_t{-5}, "-5"},
      {8.25f, "8.25"},
      {0.1f, "0.1"},
      {1e20f, "1E+20"},
      {-1.5e-7f, "-1.5E-07"},
      {1234567.0f, "1234567"},
      {12345678.0f, "1.2345678E+07"},
      {-0.0f, "0"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.30000000000000004"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E+15"},
      {0.00001, "0.00001"},
      {0.000001, "1E-06"},
      {1e100, "1E+100"},
      {-0.0, "0"},
      {Variant::Currency(15000), "1.5"},
      {Variant::Currency(12345), "1.2345"},
      {Variant::Currency(-5), "-0.0005"},
      {Variant::Currency(kMinCurrency), "-922337203685477.5808"},
      {Variant::Decimal(1e-10), "0.0000000001"},
      {Variant::Decimal(1e20), "100000000000000000000"},
      {Variant::Date(0), "1899-12-30"},
      {Variant::Date(45000.5), "2023-03-15 12:00:00"},
      {Variant::Date(-1.25), "1899-12-29 06:00:00"},
      {Variant::Date(2958465.9999999), "9999-12-31 23:59:59"},
      {Variant::Date(-657434), "0100-01-01"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(CStr(value), text);
  EXPECT_RAISES(6, CStr(Variant::Date(1e10)));
}

TEST(Convert, ReadsDatesAndWritesThemBackExactly) {
  const std::pair<std::string, double> cases[] = {
      {"2023-03-15", 45000}, {" 2023-3-5 ", 44990},          {"2023-03-15 12:00:00", 45000.5},
      {"12:00:00", 0.5},     {"1899-12-29 06:00:00", -1.25}, {"0100-01-01", -657434},
      {"45000", 45000},
  };
  for (const auto& [text, days] : cases) EXPECT_EQ(CDate(text).days, days) << text;
  for (const char* bad : {"2023-02-30", "2023-13-01", "0099-12-31", "2023-03-15 24:00:00",
                          "2023-03-15 1:2:3", "2023-03-15T12:00:00", "12:00"}) {
    EXPECT_RAISES(13, CDate(bad));
  }
  EXPECT_RAISES(6, CDate(1e7));
  EXPECT_RAISES(6, CDate(-657435.0));

  std::mt19937 random(7);
  std::uniform_real_distribution<double> anyDate(-657434.0, 2958465.0);
  for (int i = 0; i < 5000; ++i) {
    const double days = anyDate(random);
    const std::string text = CStr(Variant::Date(days));
    ASSERT_NEAR(CDate(text).days, days, 0.5 / 86400 + 1e-9) << text;
    ASSERT_EQ(CStr(CDate(text)), text);
  }
}

TEST(Convert, FloatingAndCurrencyTextReadsBackBitForBit) {
  std::mt19937_64 random(2024);
  for (int i = 0; i < 50000; ++i) {
    const std::uint64_t bits = random();
    const auto single = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    if (std::isfinite(single) && single != 0) {
      ASSERT_EQ(std::bit_cast<std::uint32_t>(CSng(CStr(single))), static_cast<std::uint32_t>(bits))
          << CStr(single);
    }
    const auto dbl = std::bit_cast<double>(bits);
    if (std::isfinite(dbl) && dbl != 0) {
      ASSERT_EQ(std::bit_cast<std::uint64_t>(CDbl(CStr(dbl))), bits) << CStr(dbl);
    }
  }
  for (float edge :
       {std::numeric_limits<float>::max(), std::numeric_limits<float>::min(),
        std::numeric_limits<float>::denorm_min(), -std::numeric_limits<float>::max()}) {
    EXPECT_EQ(CSng(CStr(edge)), edge) << CStr(edge);
  }
  for (std::int64_t count : {kMaxCurrency, std::int64_t{-1}, std::int64_t{123456789}}) {
    EXPECT_EQ(CCur(CStr(Variant::Currency(count))).ten_thousandths, count);
  }
}

}  // namespace
