// What every property set promises, checked for each row of the registry: a
// class joins by being a row.
// - Round trip: whatever state a control is in, writing it, restoring the
//   stream onto a control of the same name on a form built the same way and
//   writing that one gives the same bytes, against the built-in defaults and
//   against custom defaults, under every combination of the five settings.
//   Lists come empty, short or hundreds of items long, the file controls on
//   a small folder tree mapped as a drive.
// - A copy, onto a control left in another state or onto itself, and a
//   restore over a control left in another state read as the source.
// - A stream restored onto a form laid out in other units lands converted.
// - A stream holds no key of a group the class does not use, and every key it
//   holds has a meaning when the stream is explained.
// - A value the control refuses costs only that value.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "catalogue/defaults_catalogue.h"
#include "classes/property_set.h"
#include "groups/common_properties.h"
#include "groups/shared_keys.h"
#include "support/bitmaps.h"
#include "support/component_calls.h"
#include "support/scratch_folder.h"
#include "support/sqlite_database.h"

namespace {

using tavorin::detail::ClassNameOf;
using tavorin::detail::ControlType;
using tavorin::detail::ItemColumn;
using tavorin::detail::OwnKey;
using tavorin::detail::PropertySet;
using tavorin::detail::SharedGroup;
using tavorin::host::Control;
using tavorin::host::Form;
using tavorin::host::ObjectRef;
using tavorin::host::Variant;
using tavorin::host::VarType;
using tavorin::testing::Read;
using tavorin::testing::Settings;
using tavorin::testing::Write;

// Fewer states in unoptimised (debug and sanitizer) builds, where each round
// trip costs many times more.
#ifdef NDEBUG
constexpr int kStates = 120;
#else
constexpr int kStates = 16;
#endif

// The file controls' drive: folders and files for every form of the suite.
constexpr char kTreeDrive = 't';
const std::array<const char*, 11> kTreeFiles = {
    "a.txt",      "B.TXT",      "c.log",      ".hidden.txt",    "docs/notes.txt", "docs/plan.TXT",
    "docs/x.log", "docs/y.log", "docs/z.txt", "docs/old/1.txt", "empty/.keep"};

class FolderTree : public ::testing::Environment {
 public:
  void SetUp() override {
    for (const char* file : kTreeFiles) {
      const auto path = folder_.Path() / file;
      std::filesystem::create_directories(path.parent_path());
      std::ofstream(path) << file;
    }
    tavorin::host::MapDrive(kTreeDrive, folder_.Path().string());
  }
  void TearDown() override { tavorin::host::UnmapDrive(kTreeDrive); }

 private:
  ScratchFolder folder_;
};

[[maybe_unused]] const auto* const kFolderTree =
    ::testing::AddGlobalTestEnvironment(new FolderTree);

// Values drawn for what names a place in the tree rather than any text.
const std::map<std::string, std::vector<Variant>> kChoices = {
    {"Drive", {"c:", "t:"}},
    {"Path", {"t:\\", "t:\\docs", "t:\\docs\\old", "t:\\empty"}},
    {"Pattern", {"*.*", "*.txt", "*.LOG;?.*", "*.none"}},
};

// The number of items a list holds; 0 for a control that is no list.
int EntryCount(const Control& control) {
  try {
    return tavorin::host::CInt(control.GetProperty("ListCount"));
  } catch (const tavorin::host::RuntimeError&) {
    return 0;
  }
}

// Where the control may sit: on the form, in one of two frames of a control
// array, or in a PictureBox with pixel units.
enum class Place { Form, Frame0, Frame1, Picture };

// The database every Data control under test reads: a few records, so that
// a control can stand on one of them, before the first or past the last.
constexpr int kRecords = 3;
const std::string& Database() {
  static const ScratchFolder folder;
  static const std::string path = [] {
    const std::string file = (folder.Path() / "records.db").string();
    EXPECT_TRUE(MakeDatabase(file,
                             "CREATE TABLE Records(Name TEXT);"
                             "INSERT INTO Records VALUES('one'), ('two'), ('three');"));
    return file;
  }();
  return path;
}

void OpenDatabase(Control& data) {
  data.SetProperty("DatabaseName", Database());
  data.SetProperty("RecordSource", "Records");
  data.CallMethod("Refresh");
}

// A form as every state builds it: containers, data controls, two text boxes
// in the tab order, and the control under test, "Subject1", whose
// MultiSelect (where it has one) is chosen with the form, before any item. A
// Data control under test starts on the first record of the database, so that
// a restore must rebuild and move its recordset.
struct Layout {
  std::shared_ptr<Form> form;
  std::shared_ptr<Control> frame0, frame1, picture, data1, data2a, data2b, subject;

  Layout(const PropertySet& set, std::int16_t formScaleMode, Place place, int multiSelect = 0)
      : form(Form::Create("Form1")) {
    form->ScaleMode(formScaleMode);
    frame0 = form->AddControl("Frame", "Frame1", std::int16_t{0});
    frame1 = form->AddControl("Frame", "Frame1", std::int16_t{1});
    picture = form->AddControl("PictureBox", "Picture1");
    picture->SetProperty("ScaleMode", 3);
    data1 = form->AddControl("Data", "Data1");
    data2a = form->AddControl("Data", "Data2", std::int16_t{0});
    data2b = form->AddControl("Data", "Data2", std::int16_t{1});
    form->AddControl("TextBox", "Before");
    subject = AddSubject(set, "Subject1", place, multiSelect);
    form->AddControl("TextBox", "After");
  }

  // The same form with another control of the class, `name`, as its subject.
  Layout WithSubject(const PropertySet& set, const std::string& name, Place place,
                     int multiSelect) const {
    Layout other = *this;
    other.subject = other.AddSubject(set, name, place, multiSelect);
    return other;
  }

  std::vector<ObjectRef> DataSources() const { return {nullptr, data1, data2a, data2b}; }

 private:
  std::shared_ptr<Control> AddSubject(const PropertySet& set, const std::string& name, Place place,
                                      int multiSelect) {
    const std::array<ObjectRef, 4> places = {nullptr, frame0, frame1, picture};
    auto control = form->AddControl(std::string(ClassNameOf(set.type)), name, std::nullopt,
                                    places[static_cast<std::size_t>(place)]);
    if (set.type == ControlType::Data) OpenDatabase(*control);
    try {
      if (multiSelect != 0) control->SetProperty("MultiSelect", multiSelect);
    } catch (const tavorin::host::RuntimeError&) {  // classes without a MultiSelect
    }
    return control;
  }
};

// Tries an assignment a few times: a value the control refuses (out of its
// range) leaves it as it was.
template <typename MakeValue>
void TrySet(Control& control, const std::string& property, MakeValue makeValue) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    try {
      control.SetProperty(property, makeValue());
      return;
    } catch (const tavorin::host::RuntimeError&) {
    }
  }
}

// One random state of a control, drawn afresh for each layout from a seed.
class RandomState {
 public:
  RandomState(const PropertySet& set, std::uint32_t seed) : set_(set), random_(seed) {}

  void ApplyTo(Layout& layout) {
    Control& subject = *layout.subject;
    subject_ = &subject;
    try {
      subject.SetProperty("TabIndex", Pick(0, 2));
    } catch (const tavorin::host::RuntimeError&) {  // classes without a tab index
    }
    // A list the program fills has its items before ListIndex can choose
    // one; a list the control fills from its folder has them only after.
    const bool takesItems = FillList(subject);
    if (takesItems) DrawItemColumns(subject);
    for (const auto& entry : tavorin::detail::BuildDefaultsCatalogue(set_.type)) {
      const std::string name(entry.propertyName);
      TrySet(subject, name, [&] { return ValueFor(name, static_cast<VarType>(entry.valueType)); });
    }
    for (const OwnKey& own : set_.ownKeys) {
      if (own.property.empty()) continue;
      const std::string name(own.property);
      TrySet(subject, name, [&] { return ValueFor(name, own.storedAs); });
    }
    if (!takesItems) DrawItemColumns(subject);
    // Scrolled last, after choosing: nothing since moved the list's top.
    TrySet(subject, "TopIndex", [&] { return ValueFor("TopIndex", VarType::Integer); });
    if (set_.switches.write.icons) {
      subject.SetProperty("DragIcon", RandomPicture());
      subject.SetProperty("MouseIcon", RandomPicture());
    }
    if (set_.dataBinding) {
      const auto sources = layout.DataSources();
      subject.SetProperty("DataSource", Variant::Object(sources[Pick(0, 3)]));
      subject.SetProperty("DataField", RandomText(6));
      subject.SetProperty("DataMember", RandomText(6));
      if (Pick(0, 1) == 1) {
        auto format = std::make_shared<tavorin::host::DataFormat>();
        format->Format(RandomText(4));
        format->Type(static_cast<std::int16_t>(Pick(0, 3)));
        subject.SetProperty("DataFormat", Variant::Object(format));
      }
      subject.SetProperty("DataChanged", Pick(0, 1) == 1);
    }
    if (set_.type == ControlType::Data) StandOnRandomRecord(subject);
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  // Opened afresh on the database and standing on a record, before the
  // first or past the last; or left with its random properties and the
  // layout's recordset.
  void StandOnRandomRecord(Control& data) {
    const int position = Pick(-2, kRecords);
    if (position == -2) return;
    OpenDatabase(data);
    const ObjectRef records = data.GetProperty("Recordset").AsObject();
    if (position == -1) {
      records->CallMethod("MovePrevious");
    } else if (position == kRecords) {
      records->CallMethod("MoveLast");
      records->CallMethod("MoveNext");
    } else {
      records->SetProperty("AbsolutePosition", position);
    }
  }

  // Blank items in one of a few sizes, then the change made last, which
  // decides NewIndex: an append, an insert at the top or in the middle, or
  // a removal (NewIndex -1). False for a control that takes no items.
  bool FillList(Control& list) {
    try {
      list.CallMethod("Clear");
    } catch (const tavorin::host::RuntimeError&) {
      return false;
    }
    const std::array<std::pair<int, int>, 4> sizes = {{{0, 0}, {1, 1}, {2, 12}, {200, 400}}};
    const auto [fewest, most] = sizes[Pick(0, 3)];
    for (int i = Pick(fewest, most); i > 0; --i) list.CallMethod("AddItem", {Variant("")});
    const int count = EntryCount(list);
    switch (Pick(0, 3)) {
      case 0:
        list.CallMethod("AddItem", {Variant(""), Variant(0)});
        break;
      case 1:
        list.CallMethod("AddItem", {Variant(""), Variant(count / 2)});
        break;
      case 2:
        if (count > 0) list.CallMethod("RemoveItem", {Variant(Pick(0, count - 1))});
        break;
      default:
        break;
    }
    return true;
  }

  void DrawItemColumns(Control& list) {
    const int count = EntryCount(list);
    for (int index = 0; index < count; ++index) {
      for (const ItemColumn& column : set_.itemColumns) {
        list.CallMethod(column.member, {Variant(index), ValueFor("", column.storedAs)});
      }
    }
  }

  std::string RandomText(int maxLength) {
    static const std::array<std::string, 8> kPieces = {"a", "Z", " ", "7", "é", "€", "\t", "xyz"};
    std::string text;
    for (int i = Pick(0, maxLength); i > 0; --i) text += kPieces[Pick(0, 7)];
    return text;
  }

  Variant RandomPicture() {
    const int choice = Pick(0, 3);
    return choice == 0 ? Variant::Object(nullptr)
                       : Variant::Object(tavorin::testing::SmallPicture(choice));
  }

  Variant ValueFor(const std::string& name, VarType type) {
    if (const auto choices = kChoices.find(name); choices != kChoices.end()) {
      return choices->second[Pick(0, static_cast<int>(choices->second.size()) - 1)];
    }
    const int entries = EntryCount(*subject_);
    if (name == "ListIndex") return Variant(Pick(-1, entries - 1));
    if (name == "TopIndex") return Variant(Pick(0, entries));
    // Text left as it is keeps a ComboBox's chosen item.
    if (name == "Text" && Pick(0, 3) == 0) return subject_->GetProperty(name);
    if (name == "Width" || name == "Height") return Variant::Single(Pick(0, 20000) / 4.0F);
    if (name == "Left" || name == "Top") return Variant::Single(Pick(-20000, 20000) / 4.0F);
    if (name == "PasswordChar") return Variant(Pick(0, 1) == 1 ? "*" : "");
    if (name == "FontSize") return Variant::Single(Pick(4, 400) / 4.0F);
    switch (type) {
      case VarType::Boolean:
        return Variant::Boolean(Pick(0, 1) == 1);
      case VarType::Integer:
        return Variant::Integer(static_cast<std::int16_t>(Pick(0, 3)));
      case VarType::Long:
        return Pick(0, 1) == 1 ? Variant::Long(Pick(0, 100))
                               : Variant::Long(static_cast<std::int32_t>(random_()));
      case VarType::String:
        return Variant(RandomText(12));
      case VarType::Object:
        return RandomPicture();
      default:
        return Variant::Single(Pick(-400, 400) / 4.0F);
    }
  }

  const PropertySet& set_;
  std::mt19937 random_;
  const Control* subject_ = nullptr;
};

// What a reader must have restored: every catalogued property as it is
// stored, the own keys' values (a list with no items stores its count
// alone), every item's columns, and the data source by name.
std::vector<Variant> Fingerprint(const PropertySet& set, Control& control) {
  std::vector<Variant> values;
  for (const auto& entry : tavorin::detail::BuildDefaultsCatalogue(set.type)) {
    values.push_back(tavorin::detail::ConvertToValueType(control.GetProperty(entry.propertyName),
                                                         entry.valueType));
  }
  const int entries = EntryCount(control);
  for (const OwnKey& own : set.ownKeys) {
    if (own.property.empty() || own.storedAs == VarType::Object) continue;
    if (!set.itemColumns.empty() && entries == 0) continue;
    values.push_back(control.GetProperty(own.property));
  }
  for (int index = 0; index < entries; ++index) {
    for (const ItemColumn& column : set.itemColumns) {
      values.push_back(control.CallMethod(column.member, {Variant(index)}));
    }
  }
  if (set.dataBinding) {
    const auto source =
        std::dynamic_pointer_cast<Control>(control.GetProperty("DataSource").AsObject());
    values.push_back(source ? Variant(source->Name()) : Variant());
  }
  return values;
}

Settings SettingsFrom(unsigned combination) {
  Settings settings;
  settings.setContainer = (combination & 1U) != 0;
  settings.setTabIndex = (combination & 2U) != 0;
  settings.sizeAccommodation = (combination & 4U) != 0;
  settings.writeControlName = (combination & 8U) != 0;
  settings.pictureOrImage = static_cast<std::int16_t>((combination >> 4) & 1U);
  return settings;
}

const Settings kEverySetting{.setContainer = true, .setTabIndex = true};

class PropertySetContract : public ::testing::TestWithParam<PropertySet> {};

TEST_P(PropertySetContract, EveryStateRestoresToTheSameBytes) {
  const PropertySet& set = GetParam();
  std::mt19937 random(20260606);
  const std::array<std::int16_t, 5> formScaleModes = {1, 3, 4, 5, 6};
  for (int state = 0; state < kStates; ++state) {
    const std::int16_t formScaleMode = formScaleModes[random() % formScaleModes.size()];
    const auto place = static_cast<Place>(random() % 4);
    const auto multiSelect = static_cast<int>(random() % 3);
    const std::uint32_t seed = random();

    Layout source(set, formScaleMode, place, multiSelect);
    RandomState(set, seed).ApplyTo(source);
    const auto expected = Fingerprint(set, *source.subject);
    Layout model(set, formScaleMode, place, multiSelect);
    RandomState(set, random()).ApplyTo(model);

    for (unsigned combination = 0; combination < 32; ++combination) {
      const Settings settings = SettingsFrom(combination);
      for (const bool useCustomDefaults : {false, true}) {
        const Variant custom = useCustomDefaults ? Variant::Bytes(Write(settings, *model.subject))
                                                 : Variant::Missing();
        const auto stream = Write(settings, *source.subject, custom);

        // Restored with SetContainer on, the copy starts on the form and
        // must find its container by name (where its class carries one).
        const bool findsContainer = settings.setContainer && set.switches.read.container;
        Layout target(set, formScaleMode, findsContainer ? Place::Form : place, multiSelect);
        Read(settings, stream, *target.subject, custom);
        const auto where = ::testing::Message() << "state " << state << ", settings " << combination
                                                << (useCustomDefaults ? ", custom defaults" : "");
        ASSERT_EQ(Write(settings, *target.subject, custom), stream) << where;
        ASSERT_EQ(Fingerprint(set, *target.subject), expected) << where;
      }
    }
  }
}

// A copy, and a restore over a control left in another state, keep nothing
// of what the destination held. The copy stays on the source's form, where
// its data controls are, and leaves the name and tab index alone; it starts
// on the form where the class's copy brings it into the source's container.
TEST_P(PropertySetContract, CopiesAndRestoresLeaveNothingOfTheDestination) {
  const PropertySet& set = GetParam();
  const Settings copying{.setContainer = true, .writeControlName = false};
  // Among these states a list copied after its last change removed an item.
  std::mt19937 random(18);
  for (int state = 0; state < 12; ++state) {
    const auto place = static_cast<Place>(state % 4);
    const int multiSelect = state % 3;
    const std::uint32_t seed = random(), otherSeed = random();
    for (const bool filled : {false, true}) {
      const auto where = ::testing::Message() << "state " << state << (filled ? ", filled" : "");
      Layout source(set, 1, place, multiSelect);
      RandomState(set, seed).ApplyTo(source);
      Layout copied = source.WithSubject(
          set, "Copy", set.switches.copy.container ? Place::Form : place, multiSelect);
      if (filled) RandomState(set, otherSeed).ApplyTo(copied);
      // Taken only now: an option button turned on beside the source has
      // turned the source off.
      const auto expected = Fingerprint(set, *source.subject);
      const auto copiedStream = Write(copying, *source.subject);
      const auto stream = Write(kEverySetting, *source.subject);
      tavorin::testing::Copy(kEverySetting, *source.subject, *source.subject);
      EXPECT_EQ(Fingerprint(set, *source.subject), expected) << where << ", onto itself";
      tavorin::testing::Copy(copying, *source.subject, *copied.subject);
      EXPECT_EQ(copied.subject->Container(), source.subject->Container()) << where;
      EXPECT_EQ(Fingerprint(set, *copied.subject), expected) << where << ", copied";
      EXPECT_EQ(Write(copying, *copied.subject), copiedStream) << where << ", copied";

      // Onto a fresh control, the round trip's.
      if (!filled) continue;
      Layout restored(set, 1, place, multiSelect);
      RandomState(set, otherSeed).ApplyTo(restored);
      Read(kEverySetting, stream, *restored.subject);
      EXPECT_EQ(Fingerprint(set, *restored.subject), expected) << where << ", restored";
      EXPECT_EQ(Write(kEverySetting, *restored.subject), stream) << where << ", restored";
    }
  }
}

// What a class measures in its container's units: its placement, or a
// line's end points.
constexpr std::array kAcross{"Left", "Width", "X1", "X2"};
constexpr std::array kDown{"Top", "Height", "Y1", "Y2"};

TEST_P(PropertySetContract, RestoredOntoAFormInOtherUnitsLandsConverted) {
  const PropertySet& set = GetParam();
  const auto catalogue = tavorin::detail::BuildDefaultsCatalogue(set.type);
  const auto measured = [&](const char* name) { return catalogue.Find(name) != nullptr; };
  if (std::none_of(kAcross.begin(), kAcross.end(), measured)) GTEST_SKIP();
  std::mt19937 random(7);
  // Characters are 120 twips across and 240 down: a value converted along
  // the wrong axis shows there.
  const std::array<std::pair<std::int16_t, std::int16_t>, 4> units = {
      {{1, 4}, {4, 1}, {3, 4}, {6, 2}}};
  for (const auto& [from, to] : units) {
    Layout source(set, from, Place::Form);
    RandomState(set, random()).ApplyTo(source);
    Layout target(set, to, Place::Form);
    Read(Settings{}, Write(Settings{}, *source.subject), *target.subject);
    const auto value = [](const Control& control, const char* name) {
      return tavorin::host::CSng(control.GetProperty(name));
    };
    for (const char* across : kAcross) {
      if (!measured(across)) continue;
      EXPECT_FLOAT_EQ(value(*target.subject, across),
                      tavorin::host::ScaleX(value(*source.subject, across), from, to))
          << across << " from " << from << " to " << to;
    }
    for (const char* down : kDown) {
      if (!measured(down)) continue;
      EXPECT_FLOAT_EQ(value(*target.subject, down),
                      tavorin::host::ScaleY(value(*source.subject, down), from, to))
          << down << " from " << from << " to " << to;
    }
  }
}

// Whether the set lets the group write into a stream.
bool WritesGroup(const PropertySet& set, SharedGroup group) {
  switch (group) {
    case SharedGroup::Envelope:
      return true;
    case SharedGroup::Container:
      return set.switches.write.container;
    case SharedGroup::TabIndex:
      return set.switches.write.tabIndex;
    case SharedGroup::Placement:
      return set.switches.write.placement;
    case SharedGroup::Icons:
      return set.switches.write.icons;
    case SharedGroup::DataBinding:
      return set.dataBinding;
  }
  return false;
}

// Every member a shared group carries, set where the host has it, so that the
// set's switches alone decide what a stream holds.
void GiveEveryGroupSomething(Layout& layout) {
  const std::array<std::pair<const char*, Variant>, 5> members = {{
      {"DragIcon", Variant::Object(tavorin::testing::SmallPicture(5))},
      {"MouseIcon", Variant::Object(tavorin::testing::SmallPicture(6))},
      {"DataSource", Variant::Object(layout.data2b)},
      {"DataField", Variant("Name")},
      {"DataChanged", Variant(true)},
  }};
  for (const auto& [name, value] : members) {
    try {
      layout.subject->SetProperty(name, value);
    } catch (const tavorin::host::RuntimeError&) {  // a class without the member
    }
  }
}

TEST_P(PropertySetContract, StreamsHoldOnlyTheirGroupsKeysAndEveryKeyHasAMeaning) {
  const PropertySet& set = GetParam();
  std::mt19937 random(11);
  for (int state = 0; state < 8; ++state) {
    Layout layout(set, 3, static_cast<Place>(state % 4));
    RandomState(set, random()).ApplyTo(layout);
    GiveEveryGroupSomething(layout);
    Layout plain(set, 1, Place::Form);
    for (const Variant& custom :
         {Variant::Missing(), Variant::Bytes(Write(kEverySetting, *plain.subject))}) {
      const tavorin::StreamInfo info =
          tavorin::DescribeStream(Write(kEverySetting, *layout.subject, custom));
      ASSERT_TRUE(info.isStream);
      for (const tavorin::StreamEntryInfo& entry : info.entries) {
        EXPECT_NE(entry.meaning, "unknown key") << entry.key;
        if (const auto* shared = tavorin::detail::FindSharedKey(entry.key)) {
          EXPECT_TRUE(WritesGroup(set, shared->group)) << entry.key;
        }
      }
    }
  }
}

// What a file control lists follows these: refused, the control lists what
// it listed before, and its positions in that list are whatever fits there.
bool FillsTheList(std::string_view property) {
  for (const char* source :
       {"Drive", "Path", "Pattern", "Normal", "ReadOnly", "Archive", "Hidden", "System"}) {
    if (property == source) return true;
  }
  return false;
}

bool IsPosition(std::string_view property) {
  return property == "TopIndex" || property == "ListIndex";
}

TEST_P(PropertySetContract, AValueTheControlRefusesCostsOnlyThatValue) {
  const PropertySet& set = GetParam();
  const auto catalogue = tavorin::detail::BuildDefaultsCatalogue(set.type);
  std::mt19937 random(13);
  Layout source(set, 1, Place::Form);
  RandomState(set, random()).ApplyTo(source);
  const auto stream = Write(Settings{}, *source.subject);
  const auto expected = Fingerprint(set, *source.subject);
  // No catalogued property of any class takes a picture.
  const Variant refused = Variant::Object(tavorin::testing::SmallPicture(3));
  std::size_t position = 0;
  for (const auto& entry : catalogue) {
    SCOPED_TRACE(std::string(entry.propertyName));
    Layout target(set, 1, Place::Form);
    Read(Settings{}, tavorin::testing::WithStored(stream, std::string(entry.keyCode), refused),
         *target.subject);
    const auto restored = Fingerprint(set, *target.subject);
    for (std::size_t other = 0; other < catalogue.Count(); ++other) {
      const std::string_view name = catalogue.At(other + 1).propertyName;
      if (other == position || (FillsTheList(entry.propertyName) && IsPosition(name))) continue;
      if (restored[other] == expected[other]) continue;
      // Only a value that the control itself now refuses may be missing: a
      // scroll bar's Value outside the bounds it was left with.
      EXPECT_THROW(target.subject->SetProperty(name, expected[other]), tavorin::host::RuntimeError)
          << name << " was lost";
    }
    ++position;
  }
}

}  // namespace

namespace tavorin::detail {
// Test names and failure messages show a set by its class.
void PrintTo(const PropertySet& set, std::ostream* out) { *out << ClassNameOf(set.type); }
}  // namespace tavorin::detail

namespace {

INSTANTIATE_TEST_SUITE_P(EveryClass, PropertySetContract,
                         ::testing::ValuesIn(tavorin::detail::PropertySets().begin(),
                                             tavorin::detail::PropertySets().end()),
                         [](const ::testing::TestParamInfo<PropertySet>& info) {
                           return std::string(ClassNameOf(info.param.type));
                         });

}  // namespace
