// The round-trip guarantee: whatever state a TextBox is in, writing it,
// restoring the stream onto a text box of the same name on a form built the
// same way and writing that one gives the same bytes, against the built-in
// defaults and against custom defaults, under every combination of the five
// settings.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "../src/catalogue/defaults_catalogue.h"
#include "../src/groups/common_properties.h"
#include "support/bitmaps.h"
#include "support/component_calls.h"

namespace {

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
constexpr int kStates = 300;
#else
constexpr int kStates = 40;
#endif
constexpr std::int16_t kTextBox = 3;

// Where a text box may sit: on the form, in one of two frames of a control
// array, or in a PictureBox with pixel units.
enum class Place { Form, Frame0, Frame1, Picture };

// A form as every state builds it: containers, data controls, two other text
// boxes in the tab order, and the text box under test.
struct Layout {
  std::shared_ptr<Form> form;
  std::shared_ptr<Control> frame0, frame1, picture, data1, data2a, data2b, text;

  Layout(std::int16_t formScaleMode, Place place) : form(Form::Create("Form1")) {
    form->ScaleMode(formScaleMode);
    frame0 = form->AddControl("Frame", "Frame1", std::int16_t{0});
    frame1 = form->AddControl("Frame", "Frame1", std::int16_t{1});
    picture = form->AddControl("PictureBox", "Picture1");
    picture->SetProperty("ScaleMode", 3);
    data1 = form->AddControl("Data", "Data1");
    data2a = form->AddControl("Data", "Data2", std::int16_t{0});
    data2b = form->AddControl("Data", "Data2", std::int16_t{1});
    form->AddControl("TextBox", "Before");
    const std::array<ObjectRef, 4> places = {nullptr, frame0, frame1, picture};
    text = form->AddControl("TextBox", "Text1", std::nullopt,
                            places[static_cast<std::size_t>(place)]);
    form->AddControl("TextBox", "After");
  }

  std::vector<ObjectRef> DataSources() const { return {nullptr, data1, data2a, data2b}; }
};

// One random state of a text box, drawn once and applied to any layout.
class RandomState {
 public:
  explicit RandomState(std::mt19937& random) : random_(random) {}

  void ApplyTo(Layout& layout) {
    Control& text = *layout.text;
    for (const auto& entry : tavorin::detail::BuildDefaultsCatalogue(kTextBox)) {
      const std::string name(entry.propertyName);
      // Values the control refuses (out of its range) leave it as it was.
      for (int attempt = 0; attempt < 3; ++attempt) {
        try {
          text.SetProperty(name, ValueFor(name, entry.valueType));
          break;
        } catch (const tavorin::host::RuntimeError&) {
        }
      }
    }
    // The text box clamps the selection to its text.
    text.SetProperty("SelStart", Pick(0, 20));
    text.SetProperty("SelLength", Pick(0, 20));
    text.SetProperty("DragIcon", RandomPicture());
    text.SetProperty("MouseIcon", RandomPicture());

    const auto sources = layout.DataSources();
    text.SetProperty("DataSource", Variant::Object(sources[Pick(0, 3)]));
    text.SetProperty("DataField", RandomText(6));
    text.SetProperty("DataMember", RandomText(6));
    if (Pick(0, 1) == 1) {
      auto format = std::make_shared<tavorin::host::DataFormat>();
      format->Format(RandomText(4));
      format->Type(static_cast<std::int16_t>(Pick(0, 3)));
      text.SetProperty("DataFormat", Variant::Object(format));
    }
    text.SetProperty("DataChanged", Pick(0, 1) == 1);
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

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

  Variant ValueFor(const std::string& name, std::int16_t valueType) {
    if (name == "Width" || name == "Height") return Variant::Single(Pick(0, 20000) / 4.0F);
    if (name == "Left" || name == "Top") return Variant::Single(Pick(-20000, 20000) / 4.0F);
    if (name == "PasswordChar") return Variant(Pick(0, 1) == 1 ? "*" : "");
    if (name == "FontSize") return Variant::Single(Pick(4, 400) / 4.0F);
    switch (static_cast<VarType>(valueType)) {
      case VarType::Boolean: return Variant::Boolean(Pick(0, 1) == 1);
      case VarType::Integer: return Variant::Integer(static_cast<std::int16_t>(Pick(0, 3)));
      case VarType::Long:
        return Pick(0, 1) == 1 ? Variant::Long(Pick(0, 100))
                               : Variant::Long(static_cast<std::int32_t>(random_()));
      case VarType::String: return Variant(RandomText(12));
      default: return Variant::Single(Pick(-400, 400) / 4.0F);
    }
  }

  std::mt19937& random_;
};

// What a reader must have restored: every catalogued property as it is
// stored, the selection, and the data source by name.
std::vector<Variant> Fingerprint(const Control& text) {
  std::vector<Variant> values;
  for (const auto& entry : tavorin::detail::BuildDefaultsCatalogue(kTextBox)) {
    values.push_back(tavorin::detail::ConvertToValueType(
        text.GetProperty(std::string(entry.propertyName)), entry.valueType));
  }
  values.push_back(text.GetProperty("SelStart"));
  values.push_back(text.GetProperty("SelLength"));
  const auto source =
      std::dynamic_pointer_cast<Control>(text.GetProperty("DataSource").AsObject());
  values.push_back(source ? Variant(source->Name()) : Variant());
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

TEST(TextBoxRoundTrip, EveryStateRestoresToTheSameBytes) {
  std::mt19937 random(20260606);
  const std::array<std::int16_t, 4> formScaleModes = {1, 3, 5, 6};
  int compared = 0;
  for (int state = 0; state < kStates; ++state) {
    const std::int16_t formScaleMode = formScaleModes[random() % formScaleModes.size()];
    const auto place = static_cast<Place>(random() % 4);

    Layout source(formScaleMode, place);
    source.text->TabIndex(static_cast<std::int16_t>(random() % 3));
    RandomState(random).ApplyTo(source);
    const auto expected = Fingerprint(*source.text);

    Layout model(formScaleMode, place);
    RandomState(random).ApplyTo(model);

    for (unsigned combination = 0; combination < 32; ++combination) {
      const Settings settings = SettingsFrom(combination);
      for (const bool useCustomDefaults : {false, true}) {
        const Variant custom = useCustomDefaults ? Variant::Bytes(Write(settings, *model.text))
                                                 : Variant::Missing();
        const auto stream = Write(settings, *source.text, custom);

        // Restored with SetContainer on, the copy starts on the form and
        // must find its container by name.
        Layout target(formScaleMode, settings.setContainer ? Place::Form : place);
        Read(settings, stream, *target.text, custom);
        const auto again = Write(settings, *target.text, custom);

        const auto where = ::testing::Message()
                           << "state " << state << ", settings " << combination
                           << (useCustomDefaults ? ", custom defaults" : "");
        ASSERT_EQ(again, stream) << where;
        ASSERT_EQ(Fingerprint(*target.text), expected) << where;
        ++compared;
      }
    }
  }
  EXPECT_EQ(compared, kStates * 32 * 2);
}

}  // namespace
