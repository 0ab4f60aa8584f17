// The stream queries and the explanation of a stream, on real streams,
// hand-built bags, the Nothing stream and bytes that are no stream at all.
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

using namespace tavorin::host;
using tavorin::DescribeStream;
using tavorin::StreamInfo;

constexpr std::int32_t kTextBoxFlags = 0x03000031;

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

// The queries and the explanation agree on what the flags say; the version is
// reported but does not decide whether the bytes are a stream.
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
    const StreamInfo info = DescribeStream(stream);
    EXPECT_EQ(info.isStream, c.isStream);
    if (c.isStream) {
      EXPECT_EQ(info.className, c.typeName);
      EXPECT_EQ(info.requiresDefaults, c.requiresDefaults);
      EXPECT_EQ(info.version, static_cast<int>(c.flags & 0xF));
    }
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
  EXPECT_EQ(tavorin::detail::NothingToStream(), StreamWithFlags(Variant::Long(49)));
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

// Whatever the bytes, the queries and the explanation answer and never raise.
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
    EXPECT_FALSE(DescribeStream(bytes).isStream);
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

std::vector<std::string> Meanings(const StreamInfo& info) {
  std::vector<std::string> meanings;
  for (const auto& entry : info.entries) meanings.push_back(entry.meaning);
  return meanings;
}

TEST(DescribeStream, NamesATextBoxStreamsEntriesInStoredOrder) {
  auto form = Form::Create("Form1");
  auto text = form->AddControl("TextBox", "Text1");
  text->SetProperty("Text", "hello world");
  text->SetProperty("Tag", "greeting");
  text->SetProperty("SelStart", 6);
  text->SetProperty("SelLength", 5);
  text->SetProperty("DataField", "Title");

  const StreamInfo info = DescribeStream(tavorin::Tavorin().ControlToStream(text));

  ASSERT_TRUE(info.isStream) << info.reason;
  EXPECT_EQ(info.reason, "");
  EXPECT_EQ(info.className, "TextBox");
  EXPECT_EQ(info.controlName, "Text1");
  EXPECT_FALSE(info.requiresDefaults);
  EXPECT_EQ(info.version, 1);
  EXPECT_EQ(Meanings(info), (std::vector<std::string>{"stream flags", "control name", "Text", "Tag",
                                                      "selection start", "selection length",
                                                      "data format", "data field"}));
  EXPECT_EQ(info.entries[0].key, "@SF#");
  EXPECT_EQ(info.entries[0].value, Variant::Long(kTextBoxFlags));
  EXPECT_EQ(info.entries[2].key, "47");
  EXPECT_EQ(info.entries[2].value, Variant("hello world"));
  EXPECT_EQ(info.entries[4].value, Variant::Long(6));
}

TEST(DescribeStream, GivesNoMeaningToKeysOfAClassItDoesNotKnow) {
  const StreamInfo unknown =
      DescribeStream(BagImage({{"@SF#", Variant::Long(0x19000031)}, {"47", Variant("x")}}));
  EXPECT_EQ(Meanings(unknown), (std::vector<std::string>{"stream flags", "unknown key"}));
}

TEST(DescribeStream, CataloguedKeysMeanWhatTheStreamsClassSaysTheyMean) {
  // "41" is Left of a PictureBox but Top of a TextBox.
  const ByteArray pictureBox = BagImage({{"@SF#", Variant::Long(0x01000031)}, {"41", 5.0f}});
  const ByteArray textBox = BagImage({{"@SF#", Variant::Long(kTextBoxFlags)}, {"41", 5.0f}});
  EXPECT_EQ(DescribeStream(pictureBox).entries[1].meaning, "Left");
  EXPECT_EQ(DescribeStream(textBox).entries[1].meaning, "Top");
}

TEST(DescribeStream, ItemKeysBelongToTheListClassesOnly) {
  const std::vector<std::pair<std::string, Variant>> items = {
      {"I0", Variant("first")}, {"D12", Variant::Long(7)},    {"S3", true},
      {"I03", Variant("x")},    {"I", Variant("x")},          {"I-1", Variant("x")},
      {"I32767", Variant("x")}, {"BCL", Variant::Integer(13)}};
  auto describe = [&](std::int32_t flags) {
    auto entries = items;
    entries.insert(entries.begin(), {"@SF#", Variant::Long(flags)});
    return Meanings(DescribeStream(BagImage(entries)));
  };
  const std::string unknown = "unknown key";
  EXPECT_EQ(
      describe(0x09000031),  // ListBox
      (std::vector<std::string>{"stream flags", "item 0 text", "item 12 data", "item 3 selected",
                                unknown, unknown, unknown, unknown, "list count"}));
  EXPECT_EQ(describe(0x08000031),  // ComboBox: no item selection
            (std::vector<std::string>{"stream flags", "item 0 text", "item 12 data", unknown,
                                      unknown, unknown, unknown, unknown, "list count"}));
  EXPECT_EQ(describe(kTextBoxFlags)[1], unknown);
}

TEST(DescribeStream, GivesAReasonForBytesThatAreNoStream) {
  const struct {
    const char* what;
    ByteArray bytes;
    const char* reason;
  } cases[] = {
      {"empty", {}, "empty file"},
      {"text", {'h', 'e', 'l', 'l', 'o'}, "not a property bag image: Invalid file format"},
      {"a bag without flags", BagImage({{"47", Variant("x")}}), "no stream flags"},
      {"flags that are text", BagImage({{"@SF#", Variant("flags")}}),
       "stream flags are not a number"},
      {"signature 2", BagImage({{"@SF#", Variant::Long(0x03000021)}}), "wrong signature"},
  };
  for (const auto& c : cases) {
    const StreamInfo info = DescribeStream(c.bytes);
    EXPECT_FALSE(info.isStream) << c.what;
    EXPECT_EQ(info.reason, c.reason) << c.what;
  }
  // A bag image that is no stream can still be looked into.
  EXPECT_EQ(Meanings(DescribeStream(BagImage({{"47", Variant("x")}}))),
            std::vector<std::string>{"unknown key"});
}

// A flipped bit may leave a stream; the explanation agrees with the query.
TEST(DescribeStream, AgreesWithIsStreamOnDamagedStreams) {
  const ByteArray stream = BagImage({{"@SF#", Variant::Long(kTextBoxFlags)},
                                     {"@CN#", Variant("Text1")},
                                     {"47", Variant("hello")},
                                     {"SS", Variant::Long(2)}});
  std::mt19937 random(20261206);
  for (int round = 0; round < 2000; ++round) {
    ByteArray damaged = stream;
    damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
    EXPECT_EQ(DescribeStream(damaged).isStream, kComponent.IsStream(damaged));
  }
}

TEST(CataloguedProperties, ListsAClassesPropertiesInRestoreOrder) {
  const std::vector<std::string> textBox = tavorin::CataloguedProperties("TextBox");
  ASSERT_EQ(textBox.size(), 36u);
  EXPECT_EQ(textBox.front(), "Text");
  EXPECT_EQ(textBox.back(), "Visible");
  EXPECT_EQ(tavorin::CataloguedProperties("HScrollBar"),
            tavorin::CataloguedProperties("VScrollBar"));
  EXPECT_TRUE(tavorin::CataloguedProperties("textbox").empty());
  EXPECT_TRUE(tavorin::CataloguedProperties("Nothing").empty());
}

}  // namespace
