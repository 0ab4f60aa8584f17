// The property bag's image: its exact bytes, and refusal of every kind of
// damaged or forged image.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>

#include <tavorin/tavorin.h>

#include "host/crc32c.h"

using namespace tavorin::host;
using tavorin::host::detail::Crc32c;
using tavorin::host::detail::Crc32cFromTables;

namespace {

// The error number `action` raises, 0 when it raises none.
int ErrorNumber(const std::function<void()>& action) {
  try {
    action();
  } catch (const RuntimeError& error) {
    return error.Number();
  }
  return 0;
}

ByteArray Bytes(std::initializer_list<int> values) {
  return ByteArray(values.begin(), values.end());
}

// `image` with its last four bytes replaced by the CRC-32C of the rest, so
// that damage before them is what the reader must notice.
ByteArray Sealed(ByteArray image, bool replaceChecksum = false) {
  if (replaceChecksum) image.resize(image.size() - 4);
  const std::uint32_t crc = Crc32c(image);
  for (int i = 0; i < 4; ++i) image.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
  return image;
}

// A sealed image with the given entry count and entry bytes.
ByteArray SealedImage(int count, const ByteArray& entries) {
  ByteArray image = Bytes({'T', 'V', 'P', 'B', 1, count});
  image.insert(image.end(), entries.begin(), entries.end());
  return Sealed(image);
}

ByteArray ImageOf(const std::function<void(PropertyBag&)>& writes) {
  PropertyBag bag;
  writes(bag);
  return bag.Contents();
}

// A bag with one value of most types and a persisted object.
ByteArray SampleImage() {
  return ImageOf([](PropertyBag& bag) {
    auto format = std::make_shared<DataFormat>();
    format->Format("0.00");
    format->Type(1);
    bag.WriteProperty("@SF#", 0x03000031);
    bag.WriteProperty("Tx", "héllo");
    bag.WriteProperty("SS", Variant::Integer(-2));
    bag.WriteProperty("Wd", Variant::Single(1.5f));
    bag.WriteProperty("Cy", Variant::Currency(-12345));
    bag.WriteProperty("On", true);
    bag.WriteProperty("By", Variant::Bytes({1, 2, 3}));
    bag.WriteProperty("DtF", format);
    bag.WriteProperty("Pc", Variant::Object(nullptr));
  });
}

// Refusing `image` raises 321 and leaves the bag with its one value "kept".
void ExpectRefusedAndKept(PropertyBag& bag, const ByteArray& image) {
  ASSERT_EQ(ErrorNumber([&] { bag.SetContents(image); }), errors::kInvalidFileFormat);
  ASSERT_EQ(bag.Count(), 1u);
  ASSERT_FALSE(bag.ReadProperty("kept").IsEmpty());
}

// Both ways of computing the CRC, the processor's instruction where there is
// one and the tables everywhere else, give the same known answers.
TEST(Crc32c, KnownAnswers) {
  using Function = std::uint32_t (*)(std::span<const std::uint8_t>, std::uint32_t);
  for (const Function crc32c : {Function{&Crc32c}, Function{&Crc32cFromTables}}) {
    const std::string digits = "123456789";
    const ByteArray bytes(digits.begin(), digits.end());
    EXPECT_EQ(crc32c(bytes, 0), 0xE3069283u);
    EXPECT_EQ(crc32c({}, 0), 0u);
    EXPECT_EQ(crc32c(ByteArray(32, 0), 0), 0x8A9136AAu);
    EXPECT_EQ(crc32c(ByteArray(32, 0xFF), 0), 0x62A8AB43u);
    // Continuing a CRC over a split input gives the CRC of the whole; the odd
    // lengths reach the byte-at-a-time tails.
    EXPECT_EQ(crc32c(std::span(bytes).subspan(3), crc32c(std::span(bytes).first(3), 0)),
              0xE3069283u);
  }
}

TEST(BagImage, PinsTheBytesOfASmallBag) {
  const ByteArray image = ImageOf([](PropertyBag& bag) {
    bag.WriteProperty("A", 1);
    bag.WriteProperty("B", "hi");
    bag.WriteProperty("C", true);
  });
  EXPECT_EQ(image, Bytes({'T',  'V',  'P',  'B',  0x01, 0x03,  // signature, version, count
                          0x03, 0x01, 'A',  0x02,              // Long 1, zigzag
                          0x08, 0x01, 'B',  0x02, 'h',  'i',   // String
                          0x0C, 0x01, 'C',                     // True
                          0x74, 0x35, 0xFE, 0x97}));           // CRC-32C
  EXPECT_EQ(PropertyBag().Contents(), Bytes({'T', 'V', 'P', 'B', 1, 0, 0xC4, 0xEE, 0xA9, 0xDA}));
}

TEST(BagImage, PinsTheEncodingOfEveryType) {
  const ByteArray longText(200, 'x');
  ByteArray longTextEntry = Bytes({0x08, 1, 'v', 0xC8, 0x01});  // a two-byte length
  longTextEntry.insert(longTextEntry.end(), longText.begin(), longText.end());
  const std::pair<Variant, ByteArray> cases[] = {
      // value, entry: tag, name "v", payload
      {Variant(), Bytes({0x00, 1, 'v'})},
      {Variant::Null(), Bytes({0x01, 1, 'v'})},
      {Variant::Integer(-2), Bytes({0x02, 1, 'v', 0xFE, 0xFF})},
      {Variant::Long(-1), Bytes({0x03, 1, 'v', 0x01})},
      {Variant::Long(std::numeric_limits<std::int32_t>::min()),
       Bytes({0x03, 1, 'v', 0xFF, 0xFF, 0xFF, 0xFF, 0x0F})},
      {Variant::Long(300), Bytes({0x03, 1, 'v', 0xD8, 0x04})},
      {Variant::Single(1.0f), Bytes({0x04, 1, 'v', 0x00, 0x00, 0x80, 0x3F})},
      {Variant::Double(-2.0), Bytes({0x05, 1, 'v', 0, 0, 0, 0, 0, 0, 0x00, 0xC0})},
      {Variant::Currency(-1),
       Bytes({0x06, 1, 'v', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
      {Variant::Date(1.0), Bytes({0x07, 1, 'v', 0, 0, 0, 0, 0, 0, 0xF0, 0x3F})},
      {Variant::String(""), Bytes({0x08, 1, 'v', 0x00})},
      {Variant::String(std::string(200, 'x')), longTextEntry},
      {Variant::Object(nullptr), Bytes({0x09, 1, 'v'})},
      {Variant::Boolean(false), Bytes({0x0B, 1, 'v'})},
      {Variant::Boolean(true), Bytes({0x0C, 1, 'v'})},
      {Variant::Decimal(0.5), Bytes({0x0E, 1, 'v', 0, 0, 0, 0, 0, 0, 0xE0, 0x3F})},
      {Variant::Byte(0xAB), Bytes({0x11, 1, 'v', 0xAB})},
      {Variant::Bytes({7, 8}), Bytes({0x12, 1, 'v', 0x02, 7, 8})},
      {std::make_shared<DataFormat>(),
       Bytes({0x0A, 1,   'v', 13,  'S', 't', 'd', 'D', 'a', 't', 'a',
              'F',  'o', 'r', 'm', 'a', 't', 3,   0,   0,   0})},
  };
  for (const auto& [value, entry] : cases) {
    SCOPED_TRACE(static_cast<int>(value.Type()));
    EXPECT_EQ(ImageOf([&](PropertyBag& bag) { bag.WriteProperty("v", value); }),
              SealedImage(1, entry));
  }
}

// A bag large enough for its name index to grow many times, with names
// written again: the image is built here byte by byte, so that neither how
// the bag keeps its entries nor how it packs the replaced ones changes what
// it writes, and an image written so reads back value for value.
TEST(BagImage, PinsTheImageOfALargeBagWithNamesWrittenAgain) {
  constexpr int kItems = 5000;
  const auto entry = [](int tag, const std::string& name, const ByteArray& payload) {
    ByteArray bytes = Bytes({tag, static_cast<int>(name.size())});
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
  };
  const auto text = [](int item) { return "Item " + std::to_string(item); };
  const ByteArray format =
      Bytes({13, 'S', 't', 'd', 'D', 'a', 't', 'a', 'F', 'o', 'r', 'm', 'a', 't', 3, 0, 0, 0});
  PropertyBag bag;
  bag.WriteProperty("obj", Variant::Bytes({1, 2, 3}));
  for (int item = 0; item < kItems; ++item) {
    bag.WriteProperty("I" + std::to_string(item), text(item));
    bag.WriteProperty("D" + std::to_string(item), item % 50);
  }
  // Later values of a name, of other sizes: the text of every third item
  // grows by a letter, the data of every seventh turns into a Boolean, and
  // the first name takes an object.
  for (int item = 0; item < kItems; item += 3) {
    bag.WriteProperty("I" + std::to_string(item), text(item) + "!");
  }
  for (int item = 0; item < kItems; item += 7) bag.WriteProperty("D" + std::to_string(item), true);
  bag.WriteProperty("obj", std::make_shared<DataFormat>());

  ByteArray expected = entry(0x0A, "obj", format);
  for (int item = 0; item < kItems; ++item) {
    const std::string itemText = text(item) + (item % 3 == 0 ? "!" : "");
    ByteArray textPayload = Bytes({static_cast<int>(itemText.size())});
    textPayload.insert(textPayload.end(), itemText.begin(), itemText.end());
    const ByteArray textEntry = entry(0x08, "I" + std::to_string(item), textPayload);
    const ByteArray dataEntry = item % 7 == 0 ? entry(0x0C, "D" + std::to_string(item), {})
                                              : entry(0x03, "D" + std::to_string(item),
                                                      Bytes({(item % 50) * 2}));  // zigzag
    expected.insert(expected.end(), textEntry.begin(), textEntry.end());
    expected.insert(expected.end(), dataEntry.begin(), dataEntry.end());
  }
  ByteArray image = Bytes({'T', 'V', 'P', 'B', 1});
  std::size_t count = 2 * kItems + 1;  // a varint
  for (; count >= 0x80; count >>= 7) image.push_back(static_cast<std::uint8_t>(count | 0x80));
  image.push_back(static_cast<std::uint8_t>(count));
  image.insert(image.end(), expected.begin(), expected.end());
  image = Sealed(image);
  ASSERT_EQ(bag.Contents(), image);

  PropertyBag loaded;
  loaded.SetContents(image);
  ASSERT_EQ(loaded.Count(), 2u * kItems + 1);
  EXPECT_EQ(loaded.ReadProperty("obj").AsObject()->TypeName(), "StdDataFormat");
  for (int item = kItems - 1; item >= 0; --item) {
    ASSERT_EQ(loaded.ReadProperty("I" + std::to_string(item)),
              Variant(text(item) + (item % 3 == 0 ? "!" : "")));
    ASSERT_EQ(loaded.ReadProperty("D" + std::to_string(item)),
              item % 7 == 0 ? Variant(true) : Variant(item % 50));
  }
  EXPECT_EQ(loaded.Contents(), image);
}

TEST(BagImage, RefusesForgedImagesWithExactErrorAndKeepsItsContent) {
  const std::pair<const char*, ByteArray> cases[] = {
      {"empty", {}},
      {"header only", Bytes({'T', 'V', 'P', 'B', 1, 0})},
      {"wrong signature", Sealed(Bytes({'T', 'V', 'P', 'X', 1, 0}))},
      {"unknown version", Sealed(Bytes({'T', 'V', 'P', 'B', 2, 0}))},
      {"version zero", Sealed(Bytes({'T', 'V', 'P', 'B', 0, 0}))},
      {"missing count", Sealed(Bytes({'T', 'V', 'P', 'B', 1}))},
      {"count beyond the entries", SealedImage(2, Bytes({0x00, 1, 'a'}))},
      {"count too large for the bytes", SealedImage(100, Bytes({0x00, 1, 'a'}))},
      {"huge count", Sealed(Bytes({'T', 'V', 'P', 'B', 1, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}))},
      {"trailing bytes", SealedImage(1, Bytes({0x00, 1, 'a', 0x00}))},
      {"unknown tag", SealedImage(1, Bytes({0x0D, 1, 'a'}))},
      {"the Missing type is no tag", SealedImage(1, Bytes({0x10, 1, 'a'}))},
      {"name past the end", SealedImage(1, Bytes({0x00, 5, 'a'}))},
      {"string past the end", SealedImage(1, Bytes({0x08, 1, 'a', 9, 'x'}))},
      {"huge string length", SealedImage(1, Bytes({0x08, 1, 'a', 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}))},
      {"byte array past the end", SealedImage(1, Bytes({0x12, 1, 'a', 3, 1}))},
      {"integer cut short", SealedImage(1, Bytes({0x02, 1, 'a', 1}))},
      {"double cut short", SealedImage(1, Bytes({0x05, 1, 'a', 1, 2, 3}))},
      {"long beyond 32 bits", SealedImage(1, Bytes({0x03, 1, 'a', 0x80, 0x80, 0x80, 0x80, 0x10}))},
      {"overlong varint", SealedImage(1, Bytes({0x03, 1, 'a', 0x82, 0x00}))},
      {"eleven-byte varint", SealedImage(1, Bytes({0x03, 1, 'a', 0x80, 0x80, 0x80, 0x80, 0x80, 0x80,
                                                   0x80, 0x80, 0x80, 0x80, 0x00}))},
      {"varint cut short", SealedImage(1, Bytes({0x03, 1, 'a', 0x80}))},
      {"name given twice", SealedImage(2, Bytes({0x00, 1, 'a', 0x01, 1, 'a'}))},
      {"object of an unknown type", SealedImage(1, Bytes({0x0A, 1, 'a', 3, 'F', 'o', 'o', 0}))},
      {"object state its loader refuses",
       SealedImage(1, Bytes({0x0A, 1, 'a', 13, 'S', 't', 'd', 'D', 'a', 't', 'a', 'F', 'o', 'r',
                             'm', 'a', 't', 1, 0}))},
      {"object state with trailing bytes",
       SealedImage(1, Bytes({0x0A, 1,   'a', 13,  'S', 't', 'd', 'D', 'a', 't', 'a',
                             'F',  'o', 'r', 'm', 'a', 't', 4,   0,   0,   0,   9}))},
  };
  PropertyBag bag;
  bag.WriteProperty("kept", 7);
  for (const auto& [what, image] : cases) {
    SCOPED_TRACE(what);
    ExpectRefusedAndKept(bag, image);
  }
  EXPECT_EQ(bag.ReadProperty("kept"), Variant(7));
  try {
    bag.SetContents(Bytes({1, 2, 3}));
    ADD_FAILURE() << "no error raised";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Description(), "Invalid file format");
  }
}

TEST(BagImage, EveryDamagedByteAndEveryCutIsRefused) {
  const ByteArray valid = SampleImage();
  PropertyBag bag;
  bag.WriteProperty("kept", "yes");
  for (std::size_t position = 0; position < valid.size(); ++position) {
    for (const std::uint8_t flip : {0x01, 0x80, 0xFF}) {
      SCOPED_TRACE(testing::Message() << "byte " << position << " ^ " << int(flip));
      ByteArray damaged = valid;
      damaged[position] ^= flip;
      ExpectRefusedAndKept(bag, damaged);  // a CRC-32C finds every change confined to one byte
    }
    SCOPED_TRACE(testing::Message() << "cut to " << position);
    const ByteArray cut(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(position));
    ExpectRefusedAndKept(bag, cut);
    // Cut and sealed again: the structure alone must give the cut away.
    if (position >= 6 && position != valid.size() - 4) ExpectRefusedAndKept(bag, Sealed(cut));
  }
  EXPECT_EQ(bag.ReadProperty("kept"), Variant("yes"));
}

TEST(BagImage, DamageBehindAValidChecksumIsRefusedOrLoadsExactly) {
  const ByteArray valid = SampleImage();
  for (std::size_t position = 0; position + 4 < valid.size(); ++position) {
    for (const std::uint8_t flip : {0x01, 0x02, 0x10, 0x80, 0xFF}) {
      SCOPED_TRACE(testing::Message() << "byte " << position << " ^ " << int(flip));
      ByteArray damaged = valid;
      damaged[position] ^= flip;
      damaged = Sealed(damaged, true);
      PropertyBag bag;
      bag.WriteProperty("kept", 1);
      if (ErrorNumber([&] { bag.SetContents(damaged); }) != 0) {
        ExpectRefusedAndKept(bag, damaged);
        continue;
      }
      // Damage that still makes an image (a changed letter or number) loads,
      // reads back without error, and encodes to the very same bytes.
      ASSERT_EQ(bag.Contents(), damaged);
      for (const std::string& name : bag.Names())
        ASSERT_EQ(ErrorNumber([&] { bag.ReadProperty(name); }), 0);
    }
  }
}

}  // namespace
