#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "../src/catalogue/defaults_catalogue.h"

using tavorin::detail::BuildDefaultsCatalogue;
using tavorin::detail::CatalogueEntry;
using tavorin::detail::DefaultsCatalogue;
using tavorin::host::RuntimeError;
using tavorin::host::Variant;
using tavorin::host::VarType;

namespace {

struct ClassTable {
  std::int16_t typeCode;
  const char* className;
  std::size_t entryCount;
};

constexpr ClassTable kClasses[] = {
    {1, "PictureBox", 48},   {2, "Label", 33},        {3, "TextBox", 36},
    {4, "Frame", 26},        {5, "CommandButton", 30}, {6, "CheckBox", 30},
    {7, "OptionButton", 30}, {8, "ComboBox", 28},     {9, "ListBox", 28},
    {10, "HScrollBar", 19},  {11, "VScrollBar", 19},  {12, "Timer", 3},
    {13, "DriveListBox", 26}, {14, "Shape", 15},      {15, "DirListBox", 28},
    {16, "FileListBox", 34}, {17, "Line", 10},        {18, "Image", 16},
    {19, "Data", 35},
};

constexpr std::int16_t kAsInteger = 2;
constexpr std::int16_t kAsLong = 3;
constexpr std::int16_t kAsSingle = 4;
constexpr std::int16_t kAsString = 8;
constexpr std::int16_t kAsBoolean = 11;

bool IsScrollBar(std::int16_t typeCode) { return typeCode == 10 || typeCode == 11; }

Variant SystemColour(std::uint32_t bits) { return Variant::Long(std::bit_cast<std::int32_t>(bits)); }

const CatalogueEntry& EntryOf(const DefaultsCatalogue& catalogue, const char* propertyName) {
  const CatalogueEntry* entry = catalogue.Find(propertyName);
  if (entry == nullptr) throw std::runtime_error(std::string("no entry ") + propertyName);
  return *entry;
}

void ExpectSameEntries(const DefaultsCatalogue& a, const DefaultsCatalogue& b) {
  ASSERT_EQ(a.Count(), b.Count());
  for (std::size_t position = 1; position <= a.Count(); ++position) {
    EXPECT_EQ(a.At(position).propertyName, b.At(position).propertyName);
    EXPECT_EQ(a.At(position).keyCode, b.At(position).keyCode);
    EXPECT_EQ(a.At(position).defaultValue, b.At(position).defaultValue);
    EXPECT_EQ(a.At(position).valueType, b.At(position).valueType);
  }
}

std::vector<std::string> LastNames(const DefaultsCatalogue& catalogue, std::size_t count) {
  std::vector<std::string> names;
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
  if (IsScrollBar(typeCode)) return kind == VarType::String;
  switch (entry.valueType) {
    case kAsInteger: return kind == VarType::Integer;
    case kAsLong: return kind == VarType::Long || kind == VarType::Integer;
    case kAsSingle: return kind == VarType::Integer || kind == VarType::Double;
    case kAsString: return kind == VarType::String;
    case kAsBoolean: return kind == VarType::Boolean;
    default: return false;
  }
}

TEST(DefaultsCatalogue, EveryClassHasItsEntryCountWithWellFormedEntries) {
  for (const ClassTable& table : kClasses) {
    SCOPED_TRACE(table.className);
    const DefaultsCatalogue catalogue = BuildDefaultsCatalogue(table.typeCode);
    ASSERT_EQ(catalogue.Count(), table.entryCount);

    std::set<std::string_view> names;
    std::set<std::string_view> keys;
    for (const CatalogueEntry& entry : catalogue) {
      SCOPED_TRACE(std::string(entry.propertyName));
      EXPECT_TRUE(names.insert(entry.propertyName).second) << "duplicate name";
      EXPECT_TRUE(keys.insert(entry.keyCode).second) << "duplicate key";
      ASSERT_EQ(entry.keyCode.size(), 2u);
      EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(entry.keyCode[0])) &&
                  std::isdigit(static_cast<unsigned char>(entry.keyCode[1])));
      EXPECT_TRUE(DefaultKindFits(table.typeCode, entry));
    }
  }
}

TEST(DefaultsCatalogue, LookupsAgreeWithPositionsForEveryEntry) {
  for (const ClassTable& table : kClasses) {
    SCOPED_TRACE(table.className);
    const DefaultsCatalogue catalogue = BuildDefaultsCatalogue(table.typeCode);
    std::size_t position = 1;
    for (const CatalogueEntry& entry : catalogue) {
      EXPECT_EQ(&catalogue.At(position), &entry);
      EXPECT_EQ(catalogue.Find(entry.propertyName), &entry);
      EXPECT_EQ(catalogue.FindByKey(entry.keyCode), &entry);
      ++position;
    }
  }
}

TEST(DefaultsCatalogue, TextBoxStartsWithTextAndEndsWithVisible) {
  const DefaultsCatalogue textBox = BuildDefaultsCatalogue(3);
  const CatalogueEntry& first = textBox.At(1);
  EXPECT_EQ(first.propertyName, "Text");
  EXPECT_EQ(first.keyCode, "47");
  EXPECT_EQ(first.defaultValue, Variant::String(""));
  EXPECT_EQ(first.valueType, kAsString);
  EXPECT_EQ(textBox.At(36).propertyName, "Visible");
  EXPECT_EQ(textBox.At(36).keyCode, "45");
}

TEST(DefaultsCatalogue, KeyCodesArePrivateToTheirClass) {
  EXPECT_EQ(BuildDefaultsCatalogue(1).FindByKey("41")->propertyName, "Left");
  EXPECT_EQ(BuildDefaultsCatalogue(3).FindByKey("41")->propertyName, "Top");

  // Only the picture box uses "00".
  for (const ClassTable& table : kClasses) {
    const bool usesZeroKey = BuildDefaultsCatalogue(table.typeCode).FindByKey("00") != nullptr;
    EXPECT_EQ(usesZeroKey, table.typeCode == 1) << table.className;
  }
  EXPECT_EQ(BuildDefaultsCatalogue(1).FindByKey("00")->propertyName, "OLEDropMode");
}

TEST(DefaultsCatalogue, ColourDefaultsAreLongBitPatterns) {
  const DefaultsCatalogue pictureBox = BuildDefaultsCatalogue(1);
  EXPECT_EQ(EntryOf(pictureBox, "BackColor").defaultValue, SystemColour(0x8000000F));
  EXPECT_EQ(EntryOf(pictureBox, "ForeColor").defaultValue, SystemColour(0x80000012));
  EXPECT_EQ(EntryOf(pictureBox, "BackColor").valueType, kAsLong);
  EXPECT_EQ(EntryOf(pictureBox, "FillColor").defaultValue, Variant::Integer(0));

  const DefaultsCatalogue textBox = BuildDefaultsCatalogue(3);
  EXPECT_EQ(EntryOf(textBox, "BackColor").defaultValue, SystemColour(0x80000005));
  EXPECT_EQ(EntryOf(textBox, "ForeColor").defaultValue, SystemColour(0x80000008));
  EXPECT_EQ(EntryOf(BuildDefaultsCatalogue(5), "MaskColor").defaultValue,
            Variant::Long(0xC0C0C0));
}

TEST(DefaultsCatalogue, FontSizeIsTheDouble825StoredAsSingle) {
  int classesWithFonts = 0;
  for (const ClassTable& table : kClasses) {
    const CatalogueEntry* fontSize = BuildDefaultsCatalogue(table.typeCode).Find("FontSize");
    if (fontSize == nullptr) continue;
    ++classesWithFonts;
    EXPECT_EQ(fontSize->defaultValue, Variant::Double(8.25)) << table.className;
    EXPECT_EQ(fontSize->valueType, kAsSingle) << table.className;
  }
  EXPECT_EQ(classesWithFonts, 13);
}

TEST(DefaultsCatalogue, SizesDefaultToIntegersStoredAsSingles) {
  const CatalogueEntry& height = EntryOf(BuildDefaultsCatalogue(8), "Height");
  EXPECT_EQ(height.defaultValue, Variant::Integer(315));
  EXPECT_EQ(height.valueType, kAsSingle);
  EXPECT_EQ(EntryOf(BuildDefaultsCatalogue(9), "Height").defaultValue, Variant::Integer(255));
  EXPECT_EQ(EntryOf(BuildDefaultsCatalogue(9), "ListIndex").defaultValue, Variant::Integer(-1));
}

TEST(DefaultsCatalogue, ScrollBarsShareOneTableOfTextDefaults) {
  const DefaultsCatalogue horizontal = BuildDefaultsCatalogue(10);
  ExpectSameEntries(horizontal, BuildDefaultsCatalogue(11));
  const CatalogueEntry& max = EntryOf(horizontal, "Max");
  EXPECT_EQ(max.defaultValue, Variant::String("32767"));
  EXPECT_EQ(max.valueType, kAsInteger);
  EXPECT_EQ(EntryOf(horizontal, "Enabled").defaultValue, Variant::String("TRUE"));
  EXPECT_EQ(EntryOf(horizontal, "RightToLeft").defaultValue, Variant::String("FALSE"));
  EXPECT_EQ(EntryOf(horizontal, "Tag").defaultValue, Variant::String(""));
}

TEST(DefaultsCatalogue, ReadOrderPutsVisibleLateAndValueAfterIt) {
  using Names = std::vector<std::string>;
  EXPECT_EQ(LastNames(BuildDefaultsCatalogue(5), 2), (Names{"Visible", "Value"}));
  EXPECT_EQ(LastNames(BuildDefaultsCatalogue(6), 2), (Names{"Visible", "Value"}));
  EXPECT_EQ(LastNames(BuildDefaultsCatalogue(7), 3), (Names{"Visible", "Value", "TabStop"}));
  EXPECT_EQ(LastNames(BuildDefaultsCatalogue(10), 2), (Names{"Value", "Visible"}));
  EXPECT_EQ(LastNames(BuildDefaultsCatalogue(1), 4),
            (Names{"Visible", "CurrentX", "CurrentY", "ScaleMode"}));
  EXPECT_EQ(LastNames(BuildDefaultsCatalogue(12), 3), (Names{"Interval", "Tag", "Enabled"}));
  for (std::int16_t typeCode : {2, 3, 4, 8, 9, 13, 14, 15, 16, 17, 18, 19}) {
    EXPECT_EQ(LastNames(BuildDefaultsCatalogue(typeCode), 1), Names{"Visible"}) << typeCode;
  }
}

TEST(DefaultsCatalogue, ClassesWithoutSomePlacementEntries) {
  const DefaultsCatalogue line = BuildDefaultsCatalogue(17);
  for (const char* name : {"Left", "Top", "Width", "Height"}) {
    EXPECT_EQ(line.Find(name), nullptr) << name;
  }
  EXPECT_NE(line.Find("X1"), nullptr);
  EXPECT_EQ(BuildDefaultsCatalogue(13).Find("Height"), nullptr);
  EXPECT_NE(BuildDefaultsCatalogue(13).Find("Width"), nullptr);
}

TEST(DefaultsCatalogue, PathDefaultsKeepTheirCase) {
  EXPECT_EQ(EntryOf(BuildDefaultsCatalogue(13), "Drive").defaultValue, Variant::String("c:\\"));
  EXPECT_EQ(EntryOf(BuildDefaultsCatalogue(15), "Path").defaultValue, Variant::String("C:\\"));
  EXPECT_EQ(EntryOf(BuildDefaultsCatalogue(16), "Path").defaultValue, Variant::String("C:\\"));
  EXPECT_EQ(EntryOf(BuildDefaultsCatalogue(16), "Pattern").defaultValue, Variant::String("*.*"));
}

TEST(DefaultsCatalogue, FindIsExactAndCaseSensitive) {
  const DefaultsCatalogue textBox = BuildDefaultsCatalogue(3);
  EXPECT_EQ(textBox.Find("visible"), nullptr);
  EXPECT_EQ(textBox.Find("Visible "), nullptr);
  EXPECT_EQ(textBox.Find(""), nullptr);
  EXPECT_EQ(textBox.Find("Caption"), nullptr);
  EXPECT_EQ(textBox.FindByKey("4"), nullptr);
  EXPECT_EQ(textBox.FindByKey("047"), nullptr);
  EXPECT_EQ(textBox.FindByKey("99"), nullptr);
}

TEST(DefaultsCatalogue, PositionsOutsideOneToCountRaiseSubscriptOutOfRange) {
  const DefaultsCatalogue timer = BuildDefaultsCatalogue(12);
  for (std::size_t position : {std::size_t{0}, std::size_t{4}, SIZE_MAX}) {
    try {
      timer.At(position);
      ADD_FAILURE() << "position " << position << " was accepted";
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.Number(), 9);
    }
  }
}

TEST(DefaultsCatalogue, UnknownTypeCodesGiveAnEmptyCatalogue) {
  for (std::int16_t typeCode : {0, 20, -1, 255, 32767, -32768}) {
    SCOPED_TRACE(typeCode);
    const DefaultsCatalogue catalogue = BuildDefaultsCatalogue(typeCode);
    EXPECT_EQ(catalogue.Count(), 0u);
    EXPECT_EQ(catalogue.begin(), catalogue.end());
    EXPECT_EQ(catalogue.Find("Visible"), nullptr);
    EXPECT_EQ(catalogue.FindByKey("45"), nullptr);
    EXPECT_THROW(catalogue.At(1), RuntimeError);
  }
  EXPECT_EQ(DefaultsCatalogue().Count(), 0u);
}

TEST(DefaultsCatalogue, RepeatedRequestsGiveEqualCatalogues) {
  const DefaultsCatalogue first = BuildDefaultsCatalogue(19);
  ExpectSameEntries(first, BuildDefaultsCatalogue(19));
  EXPECT_EQ(EntryOf(first, "Connect").defaultValue, Variant::String("Access 2000;"));
  EXPECT_EQ(EntryOf(first, "Caption").defaultValue, Variant::String("Data1"));
}

}  // namespace
