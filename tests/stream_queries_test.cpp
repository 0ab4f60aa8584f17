// The stream queries on hand-built bags, on the Nothing stream and on bytes
// that are no stream at all.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <tavorin/tavorin.h>

#include "stream/envelope.h"
#include "stream/stream_flags.h"

namespace {

using tavorin::host::ByteArray;
using tavorin::host::PropertyBag;
using tavorin::host::Variant;

const tavorin::Tavorin kComponent;

ByteArray BagImage(const std::vector<std::pair<std::string, Variant>>& entries) {
  PropertyBag bag;
  for (const auto& [name, value] : entries) bag.WriteProperty(name, value);
  return bag.Contents();
}

ByteArray StreamWithFlags(const Variant& flags, const std::string& name = "") {
  if (name.empty()) return BagImage({{"@SF#", flags}});
  return BagImage({{"@SF#", flags}, {"@CN#", name}});
}

TEST(StreamQueries, AnswerFromTheFlagsAlone) {
  struct FlagsCase {
    std::uint32_t flags;
    bool isStream;
    const char* typeName;
    bool requiresDefaults;
  };
  const FlagsCase cases[] = {
      {0x00000031, true, "Nothing", false},  // the Nothing stream
      {0x00000030, true, "Nothing", false},  // version 0 still counts
      {0x0000003F, true, "Nothing", false},  // and so does version 15
      {0x03000031, true, "TextBox", false},
      {0x03000131, true, "TextBox", true},
      {0x0E000031, true, "Shape", false},
      {0x0F000031, true, "DirListBox", false},
      {0x13000031, true, "Data", false},
      {0x14000031, true, "", false},   // one past the last class
      {0x19000031, true, "", false},   // type code 25
      {0xFF000131, true, "", true},    // type code 255, negative Long
      {0x03000021, false, "", false},  // signature 2
      {0x00000121, false, "", true},   // the bit counts without a valid signature
      {0x00000000, false, "", false},
  };
  for (const FlagsCase& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "flags 0x" << c.flags);
    const ByteArray stream = StreamWithFlags(static_cast<std::int32_t>(c.flags), "Text1");
    EXPECT_EQ(kComponent.IsStream(stream), c.isStream);
    EXPECT_EQ(kComponent.ControlTypeName(stream), c.typeName);
    EXPECT_EQ(kComponent.ControlName(stream), c.isStream ? "Text1" : "");
    EXPECT_EQ(kComponent.RequiresDefaultsStream(stream), c.requiresDefaults);
  }
  EXPECT_EQ(kComponent.ControlName(StreamWithFlags(0x03000031)), "");
  EXPECT_EQ(kComponent.ControlName(BagImage({{"@SF#", 0x03000031}, {"@CN#", Variant::Null()}})),
            "");
}

TEST(StreamQueries, FlagsStoredAsOtherTypesAreConvertedToLong) {
  const std::pair<Variant, bool> cases[] = {
      {Variant::String("49"), true},   {Variant::String("50331697"), true},
      {Variant::Integer(49), true},    {Variant::Double(48.6), true},  // rounds to 49
      {Variant::Byte(0x31), true},     {Variant::String("forty-nine"), false},
      {Variant::Double(1e12), false},   // beyond a Long
      {Variant::Boolean(true), false},  // -1: signature field 0xF0
      {Variant::Null(), false},        {Variant::Object(nullptr), false},
  };
  for (const auto& [flags, isStream] : cases) {
    SCOPED_TRACE(static_cast<int>(flags.Type()));
    EXPECT_EQ(kComponent.IsStream(StreamWithFlags(flags)), isStream);
  }
  EXPECT_EQ(kComponent.ControlTypeName(StreamWithFlags("50331697")), "TextBox");
  EXPECT_TRUE(kComponent.RequiresDefaultsStream(StreamWithFlags("305")));  // 0x131
}

TEST(StreamQueries, TheNothingStreamHoldsOnlyItsFlags) {
  const ByteArray stream = tavorin::detail::NothingToStream();
  EXPECT_TRUE(kComponent.IsStream(stream));
  EXPECT_EQ(kComponent.ControlTypeName(stream), "Nothing");
  EXPECT_EQ(kComponent.ControlName(stream), "");
  EXPECT_FALSE(kComponent.RequiresDefaultsStream(stream));
  EXPECT_EQ(stream, StreamWithFlags(Variant::Long(49)));
}

// A custom defaults stream arrives as a variant: only a byte array can be one.
TEST(StreamQueries, OnlyAByteArrayVariantCanHoldAStream) {
  using tavorin::detail::LoadValidStream;
  using tavorin::detail::StreamFromVariant;
  const ByteArray textBox = StreamWithFlags(0x03000131);
  const auto loaded = LoadValidStream(Variant::Bytes(textBox));
  ASSERT_TRUE(loaded.has_value());
  EXPECT_EQ(loaded->flags.typeCode, 3);
  EXPECT_TRUE(loaded->flags.requiresDefaults);
  EXPECT_EQ(loaded->bag->Contents(), textBox);
  EXPECT_EQ(StreamFromVariant(Variant::Bytes(textBox)), textBox);
  for (const Variant& other : {Variant::Missing(), Variant(), Variant::String("stream"),
                               Variant::Long(0x31), Variant::Object(nullptr)}) {
    EXPECT_FALSE(LoadValidStream(other).has_value());
    EXPECT_TRUE(StreamFromVariant(other).empty());
  }
  EXPECT_FALSE(LoadValidStream(Variant::Bytes({})).has_value());
}

// Whatever the bytes, the queries answer and never raise.
TEST(StreamQueries, BagsWithoutFlagsAndBytesThatAreNoBagAreNoStream) {
  const ByteArray valid = StreamWithFlags(0x03000031, "Text1");
  std::vector<ByteArray> inputs = {BagImage({{"@CN#", "Text1"}, {"01", 5}}), ByteArray{},
                                   ByteArray(1, 0x31), ByteArray(4096, 0xFF)};
  for (std::size_t i = 0; i < valid.size(); ++i) {
    inputs.emplace_back(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(i));
    inputs.push_back(valid);
    inputs.back()[i] ^= 0x5A;
  }
  std::mt19937 random(20261206);
  for (int n = 0; n < 200; ++n) {
    ByteArray noise(random() % 300);
    for (auto& byte : noise) byte = static_cast<std::uint8_t>(random());
    inputs.push_back(noise);
  }
  for (const ByteArray& bytes : inputs) {
    SCOPED_TRACE(bytes.size());
    EXPECT_FALSE(kComponent.IsStream(bytes));
    EXPECT_EQ(kComponent.ControlTypeName(bytes), "");
    EXPECT_EQ(kComponent.ControlName(bytes), "");
    EXPECT_FALSE(kComponent.RequiresDefaultsStream(bytes));
  }
}

// The flags word itself: what every stream writer and reader relies on.
TEST(StreamFlags, EncodeKnownAnswers) {
  using tavorin::detail::EncodeStreamFlags;
  EXPECT_EQ(EncodeStreamFlags(), 0);
  EXPECT_EQ(
      EncodeStreamFlags({.version = 1, .signature = 48, .customDefaults = false, .typeCode = 3}),
      50331697);
  EXPECT_EQ(
      EncodeStreamFlags({.version = 1, .signature = 48, .customDefaults = true, .typeCode = 3}),
      50331953);
  EXPECT_EQ(
      EncodeStreamFlags({.version = 1, .signature = 48, .customDefaults = false, .typeCode = 0}),
      49);
  EXPECT_EQ(tavorin::detail::CurrentStreamFlags(tavorin::detail::ControlType::TextBox, true),
            50331953);
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
