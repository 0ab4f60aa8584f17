// The stream queries on hand-built bags, on the Nothing stream and on bytes
// that are no stream at all.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <tavorin/tavorin.h>

#include "../src/stream/envelope.h"
#include "../src/stream/stream_flags.h"

namespace {

using tavorin::Tavorin;
using tavorin::host::ByteArray;
using tavorin::host::PropertyBag;
using tavorin::host::Variant;

ByteArray BagImage(const std::vector<std::pair<std::string, Variant>>& entries) {
  PropertyBag bag;
  for (const auto& [name, value] : entries) bag.WriteProperty(name, value);
  return bag.Contents();
}

ByteArray StreamWithFlags(std::int32_t flags, const std::string& name = "") {
  if (name.empty()) return BagImage({{"@SF#", flags}});
  return BagImage({{"@SF#", flags}, {"@CN#", name}});
}

struct FlagsCase {
  std::uint32_t flags;
  bool isStream;
  const char* typeName;
  bool requiresDefaults;
};

TEST(StreamQueries, AnswerFromTheFlagsAlone) {
  const FlagsCase cases[] = {
      {0x00000031, true, "Nothing", false},      // the Nothing stream
      {0x00000030, true, "Nothing", false},      // version 0 still counts
      {0x0000003F, true, "Nothing", false},      // and so does version 15
      {0x03000031, true, "TextBox", false},
      {0x03000131, true, "TextBox", true},
      {0x0E000031, true, "Shape", false},
      {0x0F000031, true, "DirListBox", false},
      {0x13000031, true, "Data", false},
      {0x14000031, true, "", false},             // one past the last class
      {0x19000031, true, "", false},             // type code 25
      {0xFF000131, true, "", true},              // type code 255, negative Long
      {0x03000021, false, "", false},            // signature 2
      {0x00000121, false, "", true},             // the bit counts without a valid signature
      {0x00000000, false, "", false},
  };
  const Tavorin component;
  for (const FlagsCase& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "flags 0x" << c.flags);
    const ByteArray stream = StreamWithFlags(static_cast<std::int32_t>(c.flags), "Text1");
    EXPECT_EQ(component.IsStream(stream), c.isStream);
    EXPECT_EQ(component.ControlTypeName(stream), c.typeName);
    EXPECT_EQ(component.ControlName(stream), c.isStream ? "Text1" : "");
    EXPECT_EQ(component.RequiresDefaultsStream(stream), c.requiresDefaults);
  }
}

TEST(StreamQueries, FlagsStoredAsOtherTypesAreConvertedToLong) {
  struct Case {
    Variant flags;
    bool isStream;
  };
  const Case cases[] = {
      {Variant::String("49"), true},
      {Variant::String("50331697"), true},
      {Variant::Integer(49), true},
      {Variant::Double(48.6), true},  // rounds to 49
      {Variant::Byte(0x31), true},
      {Variant::String("forty-nine"), false},
      {Variant::Double(1e12), false},  // beyond a Long
      {Variant::Boolean(true), false},  // -1: signature field 0xF0
      {Variant::Null(), false},
      {Variant::Object(nullptr), false},
  };
  const Tavorin component;
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.flags.Type()));
    const ByteArray stream = BagImage({{"@SF#", c.flags}});
    EXPECT_EQ(component.IsStream(stream), c.isStream);
  }
  EXPECT_EQ(component.ControlTypeName(BagImage({{"@SF#", "50331697"}})), "TextBox");
  EXPECT_TRUE(component.RequiresDefaultsStream(BagImage({{"@SF#", "305"}})));  // 0x131
}

TEST(StreamQueries, ABagWithoutFlagsIsNoStream) {
  const Tavorin component;
  const ByteArray stream = BagImage({{"@CN#", "Text1"}, {"01", 5}});
  EXPECT_FALSE(component.IsStream(stream));
  EXPECT_EQ(component.ControlTypeName(stream), "");
  EXPECT_EQ(component.ControlName(stream), "");
  EXPECT_FALSE(component.RequiresDefaultsStream(stream));
}

TEST(StreamQueries, ControlNameIsEmptyWhenTheStreamCarriesNone) {
  const Tavorin component;
  EXPECT_EQ(component.ControlName(StreamWithFlags(0x03000031)), "");
  EXPECT_EQ(component.ControlName(BagImage({{"@SF#", 0x03000031}, {"@CN#", Variant::Null()}})), "");
}

TEST(StreamQueries, TheNothingStreamHoldsOnlyItsFlags) {
  const ByteArray stream = tavorin::detail::NothingToStream();
  const Tavorin component;
  EXPECT_TRUE(component.IsStream(stream));
  EXPECT_EQ(component.ControlTypeName(stream), "Nothing");
  EXPECT_EQ(component.ControlName(stream), "");
  EXPECT_FALSE(component.RequiresDefaultsStream(stream));
  PropertyBag bag;
  bag.SetContents(stream);
  EXPECT_EQ(bag.Count(), 1u);
  EXPECT_EQ(bag.ReadProperty("@SF#"), Variant::Long(49));
}

// A custom defaults stream arrives as a variant: only a byte array can be one.
TEST(StreamQueries, OnlyAByteArrayVariantCanHoldAStream) {
  using tavorin::detail::ReadValidStream;
  const ByteArray textBox = StreamWithFlags(0x03000131);
  ASSERT_TRUE(ReadValidStream(Variant::Bytes(textBox)).has_value());
  EXPECT_EQ(ReadValidStream(Variant::Bytes(textBox))->typeCode, 3);
  EXPECT_TRUE(ReadValidStream(Variant::Bytes(textBox))->requiresDefaults);
  EXPECT_EQ(tavorin::detail::StreamFromVariant(Variant::Bytes(textBox)), textBox);
  for (const Variant& other : {Variant::Missing(), Variant(), Variant::String("stream"),
                               Variant::Long(0x31), Variant::Object(nullptr)}) {
    EXPECT_EQ(ReadValidStream(other), std::nullopt);
    EXPECT_TRUE(tavorin::detail::StreamFromVariant(other).empty());
  }
  EXPECT_EQ(ReadValidStream(Variant::Bytes({})), std::nullopt);
}

// Whatever the bytes, the queries answer and never raise.
TEST(StreamQueries, BytesThatAreNoBagNeverRaise) {
  const Tavorin component;
  const ByteArray valid = StreamWithFlags(0x03000031, "Text1");
  std::vector<ByteArray> inputs = {ByteArray{}, ByteArray(1, 0x31), ByteArray(4096, 0xFF)};
  for (std::size_t length = 0; length < valid.size(); ++length) {
    inputs.emplace_back(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(length));
  }
  for (std::size_t i = 0; i < valid.size(); ++i) {
    ByteArray damaged = valid;
    damaged[i] ^= 0x5A;
    inputs.push_back(damaged);
  }
  std::mt19937 random(20261206);
  for (int n = 0; n < 200; ++n) {
    ByteArray noise(random() % 300);
    for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
    inputs.push_back(noise);
  }
  for (const ByteArray& bytes : inputs) {
    SCOPED_TRACE(bytes.size());
    EXPECT_FALSE(component.IsStream(bytes));
    EXPECT_EQ(component.ControlTypeName(bytes), "");
    EXPECT_EQ(component.ControlName(bytes), "");
    EXPECT_FALSE(component.RequiresDefaultsStream(bytes));
  }
}

// The flags word itself: what every stream writer and reader relies on.
TEST(StreamFlags, EncodeKnownAnswers) {
  using tavorin::detail::EncodeStreamFlags;
  EXPECT_EQ(EncodeStreamFlags(), 0);
  EXPECT_EQ(EncodeStreamFlags({.version = 1, .signature = 48, .customDefaults = false, .typeCode = 3}),
            50331697);
  EXPECT_EQ(EncodeStreamFlags({.version = 1, .signature = 48, .customDefaults = true, .typeCode = 3}),
            50331953);
  EXPECT_EQ(EncodeStreamFlags({.version = 1, .signature = 48, .customDefaults = false, .typeCode = 0}),
            49);
  EXPECT_EQ(tavorin::detail::CurrentStreamFlags(3, true), 50331953);
  // Fields left out keep the base word's; its reserved bits do not survive.
  EXPECT_EQ(EncodeStreamFlags({.baseWord = 0x03000131, .customDefaults = false}), 0x03000031);
  EXPECT_EQ(EncodeStreamFlags({.baseWord = 0x03FFFF31, .typeCode = 5}), 0x05000131);
  // Version and signature are or-ed in as given, not masked to their field.
  EXPECT_EQ(EncodeStreamFlags({.version = 0x31}), 0x31);
  EXPECT_EQ(EncodeStreamFlags({.baseWord = 0x30, .signature = 3}), 0x03);
  // Type codes from 128 up land in the sign bit.
  EXPECT_EQ(EncodeStreamFlags({.typeCode = 200}), static_cast<std::int32_t>(0xC8000000u));
}

}  // namespace
