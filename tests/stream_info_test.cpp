// Explaining streams: the entries of real streams in stored order with their
// meanings, what a stream's flags say, and a reason for every kind of bytes
// that are no stream.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

namespace {

using tavorin::DescribeStream;
using tavorin::StreamInfo;
using namespace tavorin::host;

constexpr std::int32_t kTextBoxFlags = 0x03000031;

std::vector<std::string> Meanings(const StreamInfo& info) {
  std::vector<std::string> meanings;
  for (const auto& entry : info.entries) meanings.push_back(entry.meaning);
  return meanings;
}

ByteArray BagImage(const std::vector<std::pair<std::string, Variant>>& entries) {
  PropertyBag bag;
  for (const auto& [key, value] : entries) bag.WriteProperty(key, value);
  return bag.Contents();
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

TEST(DescribeStream, TellsTheNothingStreamAndTheFlagsFields) {
  const StreamInfo nothing = DescribeStream(BagImage({{"@SF#", Variant::Long(0x31)}}));
  EXPECT_TRUE(nothing.isStream);
  EXPECT_EQ(nothing.className, "Nothing");
  EXPECT_EQ(nothing.controlName, "");
  EXPECT_EQ(Meanings(nothing), std::vector<std::string>{"stream flags"});

  const StreamInfo custom = DescribeStream(BagImage({{"@SF#", Variant::Long(0x03000131)}}));
  EXPECT_TRUE(custom.requiresDefaults);

  // The version is reported but does not decide whether the bytes are a stream.
  const StreamInfo version0 = DescribeStream(BagImage({{"@SF#", Variant::Long(0x03000030)}}));
  EXPECT_TRUE(version0.isStream);
  EXPECT_EQ(version0.version, 0);

  // A type code that names no class: a stream all the same, of no known class.
  const StreamInfo unknown =
      DescribeStream(BagImage({{"@SF#", Variant::Long(0x19000031)}, {"47", Variant("x")}}));
  EXPECT_TRUE(unknown.isStream);
  EXPECT_EQ(unknown.className, "");
  EXPECT_EQ(unknown.entries[1].meaning, "unknown key");
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

TEST(DescribeStream, NeverRaisesOnDamagedStreams) {
  const ByteArray stream = BagImage({{"@SF#", Variant::Long(kTextBoxFlags)},
                                     {"@CN#", Variant("Text1")},
                                     {"47", Variant("hello")},
                                     {"SS", Variant::Long(2)}});
  tavorin::Tavorin component;
  for (std::size_t length = 0; length < stream.size(); ++length) {
    const ByteArray cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_FALSE(DescribeStream(cut).isStream) << "cut to " << length;
  }
  std::mt19937 random(20261206);
  for (int round = 0; round < 2000; ++round) {
    ByteArray damaged = stream;
    damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
    const StreamInfo info = DescribeStream(damaged);
    EXPECT_EQ(info.isStream, component.IsStream(damaged));
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
