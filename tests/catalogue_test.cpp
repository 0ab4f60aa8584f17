// The defaults catalogue of every class: entry counts, well-formed and
// consistent entries, known defaults, read order and refused positions.
#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "catalogue/defaults_catalogue.h"
#include "support/raises.h"

using tavorin::detail::CatalogueEntry;
using tavorin::detail::DefaultsCatalogue;
using tavorin::host::Variant;
using tavorin::host::VarType;
using Names = std::vector<std::string>;

namespace {

constexpr std::pair<std::int16_t, std::size_t> kEntryCounts[] = {
    {1, 48},  {2, 33},  {3, 36},  {4, 26},  {5, 30},  {6, 30},  {7, 30},
    {8, 28},  {9, 28},  {10, 19}, {11, 19}, {12, 3},  {13, 26}, {14, 15},
    {15, 28}, {16, 34}, {17, 10}, {18, 16}, {19, 35},
};

constexpr std::int16_t kAsInteger = 2;
constexpr std::int16_t kAsLong = 3;
constexpr std::int16_t kAsSingle = 4;
constexpr std::int16_t kAsString = 8;
constexpr std::int16_t kAsBoolean = 11;

// By the type code a stream stores: the codes are part of the format.
DefaultsCatalogue CatalogueOf(std::int16_t typeCode) {
  return tavorin::detail::BuildDefaultsCatalogue(
      static_cast<tavorin::detail::ControlType>(typeCode));
}

Variant DefaultOf(std::int16_t typeCode, const char* propertyName) {
  const DefaultsCatalogue catalogue = CatalogueOf(typeCode);
  const CatalogueEntry* entry = catalogue.Find(propertyName);
  if (entry == nullptr) throw std::runtime_error(std::string("no entry ") + propertyName);
  return entry->defaultValue;
}

Names LastNames(const DefaultsCatalogue& catalogue, std::size_t count) {
  Names names;
  for (std::size_t position = catalogue.Count() - count + 1; position <= catalogue.Count();
       ++position) {
    names.emplace_back(catalogue.At(position).propertyName);
  }
  return names;
}

// The kinds of default a value type admits: sizes are stored as Singles but
// default to whole numbers (FontSize to the Double 8.25), Longs may default to
// a plain Integer 0; the scroll bars keep every default as text.
bool DefaultKindFits(std::int16_t typeCode, const CatalogueEntry& entry) {
  const VarType kind = entry.defaultValue.Type();
  if (typeCode == 10 || typeCode == 11) return kind == VarType::String;
  switch (entry.valueType) {
    case kAsInteger:
      return kind == VarType::Integer;
    case kAsLong:
      return kind == VarType::Long || kind == VarType::Integer;
    case kAsSingle:
      return kind == VarType::Integer || kind == VarType::Double;
    case kAsString:
      return kind == VarType::String;
    case kAsBoolean:
      return kind == VarType::Boolean;
    default:
      return false;
  }
}

TEST(DefaultsCatalogue, EveryClassHasItsEntryCountWithWellFormedEntriesFoundEveryWay) {
  int classesWithFonts = 0;
  for (const auto& [typeCode, entryCount] : kEntryCounts) {
    SCOPED_TRACE(typeCode);
    const DefaultsCatalogue catalogue = CatalogueOf(typeCode);
    ASSERT_EQ(catalogue.Count(), entryCount);
    std::set<std::string_view> names, keys;
    std::size_t position = 1;
    for (const CatalogueEntry& entry : catalogue) {
      SCOPED_TRACE(std::string(entry.propertyName));
      EXPECT_TRUE(names.insert(entry.propertyName).second) << "duplicate name";
      EXPECT_TRUE(keys.insert(entry.keyCode).second) << "duplicate key";
      ASSERT_EQ(entry.keyCode.size(), 2u);
      EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(entry.keyCode[0])) &&
                  std::isdigit(static_cast<unsigned char>(entry.keyCode[1])));
      EXPECT_TRUE(DefaultKindFits(typeCode, entry));
      EXPECT_EQ(&catalogue.At(position++), &entry);
      EXPECT_EQ(catalogue.Find(entry.propertyName), &entry);
      EXPECT_EQ(catalogue.FindByKey(entry.keyCode), &entry);
    }
    EXPECT_EQ(catalogue.FindByKey("00") != nullptr, typeCode == 1)
        << "only the picture box uses 00";
    if (const CatalogueEntry* fontSize = catalogue.Find("FontSize")) {
      ++classesWithFonts;
      EXPECT_EQ(fontSize->defaultValue, Variant::Double(8.25));
      EXPECT_EQ(fontSize->valueType, kAsSingle);
    }
  }
  EXPECT_EQ(classesWithFonts, 13);
}

TEST(DefaultsCatalogue, KnownEntries) {
  const DefaultsCatalogue textBox = CatalogueOf(3);
  EXPECT_EQ(textBox.At(1).propertyName, "Text");
  EXPECT_EQ(textBox.At(1).keyCode, "47");
  EXPECT_EQ(textBox.At(1).valueType, kAsString);
  EXPECT_EQ(textBox.At(36).keyCode, "45");
  EXPECT_EQ(CatalogueOf(1).FindByKey("41")->propertyName, "Left");  // keys are private to a class
  EXPECT_EQ(textBox.FindByKey("41")->propertyName, "Top");
  EXPECT_EQ(CatalogueOf(1).FindByKey("00")->propertyName, "OLEDropMode");
  EXPECT_EQ(CatalogueOf(1).Find("BackColor")->valueType, kAsLong);
  EXPECT_EQ(CatalogueOf(8).Find("Height")->valueType, kAsSingle);
  EXPECT_EQ(CatalogueOf(10).Find("Max")->valueType, kAsInteger);

  const auto colour = [](std::uint32_t bits) {
    return Variant::Long(std::bit_cast<std::int32_t>(bits));
  };
  const std::tuple<std::int16_t, const char*, Variant> defaults[] = {
      {3, "Text", Variant::String("")},
      {1, "BackColor", colour(0x8000000F)},
      {1, "ForeColor", colour(0x80000012)},
      {1, "FillColor", Variant::Integer(0)},
      {3, "BackColor", colour(0x80000005)},
      {3, "ForeColor", colour(0x80000008)},
      {5, "MaskColor", Variant::Long(0xC0C0C0)},
      {8, "Height", Variant::Integer(315)},
      {9, "Height", Variant::Integer(255)},
      {9, "ListIndex", Variant::Integer(-1)},
      {10, "Max", Variant::String("32767")},
      {10, "Enabled", Variant::String("TRUE")},
      {10, "RightToLeft", Variant::String("FALSE")},
      {10, "Tag", Variant::String("")},
      {13, "Drive", Variant::String("c:\\")},
      {15, "Path", Variant::String("C:\\")},
      {16, "Path", Variant::String("C:\\")},
      {16, "Pattern", Variant::String("*.*")},
      {19, "Connect", Variant::String("Access 2000;")},
      {19, "Caption", Variant::String("Data1")},
  };
  for (const auto& [typeCode, name, expected] : defaults)
    EXPECT_EQ(DefaultOf(typeCode, name), expected) << name;
}

TEST(DefaultsCatalogue, ReadOrderPutsVisibleLateAndValueAfterIt) {
  EXPECT_EQ(LastNames(CatalogueOf(5), 2), (Names{"Visible", "Value"}));
  EXPECT_EQ(LastNames(CatalogueOf(6), 2), (Names{"Visible", "Value"}));
  EXPECT_EQ(LastNames(CatalogueOf(7), 3), (Names{"Visible", "Value", "TabStop"}));
  EXPECT_EQ(LastNames(CatalogueOf(10), 2), (Names{"Value", "Visible"}));
  EXPECT_EQ(LastNames(CatalogueOf(1), 4), (Names{"Visible", "CurrentX", "CurrentY", "ScaleMode"}));
  EXPECT_EQ(LastNames(CatalogueOf(12), 3), (Names{"Interval", "Tag", "Enabled"}));
  for (std::int16_t typeCode : {2, 3, 4, 8, 9, 13, 14, 15, 16, 17, 18, 19}) {
    EXPECT_EQ(LastNames(CatalogueOf(typeCode), 1), Names{"Visible"}) << typeCode;
  }
}

TEST(DefaultsCatalogue, FindIsExact) {
  const DefaultsCatalogue textBox = CatalogueOf(3);
  for (const char* name : {"visible", "Visible ", "", "Caption"})
    EXPECT_EQ(textBox.Find(name), nullptr) << name;
  for (const char* key : {"4", "047", "99"}) EXPECT_EQ(textBox.FindByKey(key), nullptr) << key;
}

TEST(DefaultsCatalogue, PositionsOutsideOneToCountAndUnknownTypeCodesHoldNothing) {
  const DefaultsCatalogue timer = CatalogueOf(12);
  for (std::size_t position : {std::size_t{0}, std::size_t{4}, SIZE_MAX})
    EXPECT_RAISES(9, timer.At(position));
  for (std::int16_t typeCode : {0, 20, -1, 255, 32767, -32768}) {
    SCOPED_TRACE(typeCode);
    const DefaultsCatalogue catalogue = CatalogueOf(typeCode);
    EXPECT_EQ(catalogue.Count(), 0u);
    EXPECT_EQ(catalogue.begin(), catalogue.end());
    EXPECT_EQ(catalogue.Find("Visible"), nullptr);
    EXPECT_EQ(catalogue.FindByKey("45"), nullptr);
    EXPECT_RAISES(9, catalogue.At(1));
  }
  EXPECT_EQ(DefaultsCatalogue().Count(), 0u);
}

}  // namespace
