// CopyControl, ControlToStream and StreamToControl as applications call them:
// the order of their checks, their errors, and the hand-over to the class set.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include <tavorin/tavorin.h>

#include "support/raises.h"

namespace {

using namespace tavorin::host;
const Variant kMissing = Variant::Missing();

// A bag holding only the stream flags; 0x31 is version 1 with signature 3.
ByteArray StreamWithFlags(std::int32_t flags) {
  PropertyBag bag;
  bag.WriteProperty("@SF#", Variant::Long(flags));
  return bag.Contents();
}
const ByteArray kLabelStream = StreamWithFlags(0x02000031);
const ByteArray kWrongSignature = StreamWithFlags(0x03000021);
const ByteArray kRandomBytes = {0x4d, 0x5a, 0x90, 0x00, 0x03, 0x17, 0xff, 0x42, 0x08};

const char* const kDescriptions[] = {"Object is not a control",      "Control type mismatch",
                                     "Unsupported control",          "Invalid Stream",
                                     "Stream control type mismatch", "Missing CustomDefaultsStream",
                                     "Invalid CustomDefaultsStream"};

// Applications' code and their saved logs hold these very numbers.
static_assert(tavorin::kNotAControl == 700 && tavorin::kControlTypeMismatch == 701 &&
              tavorin::kUnsupportedControl == 702 && tavorin::kInvalidStream == 703 &&
              tavorin::kStreamControlTypeMismatch == 704 &&
              tavorin::kMissingCustomDefaultsStream == 705 &&
              tavorin::kInvalidCustomDefaultsStream == 706);

// Every component error carries its number, description and help topic.
template <typename Call>
void ExpectComponentError(int number, Call call) {
  try {
    call();
    ADD_FAILURE() << "raised nothing, expected " << number;
  } catch (const RuntimeError& error) {
    ASSERT_EQ(error.Number(), number) << error.Description();
    EXPECT_EQ(error.Description(), kDescriptions[number - 700]);
    EXPECT_STREQ(error.what(), kDescriptions[number - 700]);
    EXPECT_EQ(error.HelpFile(), "tavorn.hlp");
    EXPECT_EQ(error.HelpContext(), 1000 + number);
    EXPECT_EQ(error.Source(), "");
  }
}

class Operations : public ::testing::Test {
 protected:
  Operations() { text1->SetProperty("Text", "first words"); }
  std::string TextOf(const ObjectRef& text) { return CStr(text->GetProperty("Text")); }
  // Everything the component would change on a text box, as its stream.
  ByteArray State(const ObjectRef& text) { return component.ControlToStream(text); }

  tavorin::Tavorin component;
  std::shared_ptr<Form> form = Form::Create("Form1");
  ObjectRef text1 = form->AddControl("TextBox", "Text1");
  ObjectRef text2 = form->AddControl("TextBox", "Text2");
  ObjectRef label = form->AddControl("Label", "Label1");
  ObjectRef hscroll = form->AddControl("HScrollBar", "HScroll1");
  ObjectRef vscroll = form->AddControl("VScrollBar", "VScroll1");
  // Controls of another library: one named like no class, one like TextBox.
  ObjectRef calendar1 = form->AddExternalControl("Calendar", "Calendar1");
  ObjectRef calendar2 = form->AddExternalControl("Calendar", "Calendar2");
  ObjectRef foreignText = form->AddExternalControl("TextBox", "Foreign1");
};

TEST_F(Operations, CopyControl) {
  ObjectRef notAControl = form, nothing;
  component.CopyControl(notAControl, nothing);  // a Nothing destination ends the call
  const ByteArray before = State(text2);
  struct Case {
    ObjectRef source, destination;
    int number;
  };
  for (Case c :
       {Case{form, text2, 700}, Case{text1, form, 700}, Case{label, form, 700},
        Case{text1, label, 701}, Case{hscroll, vscroll, 701}, Case{calendar1, calendar2, 702}}) {
    ExpectComponentError(c.number, [&] { component.CopyControl(c.source, c.destination); });
  }
  EXPECT_EQ(State(text2), before);

  ObjectRef source = text1, destination = text2;
  component.CopyControl(source, destination);
  EXPECT_EQ(destination, text2);
  EXPECT_EQ(TextOf(text2), "first words");
  ObjectRef noSource;
  component.CopyControl(noSource, destination);
  EXPECT_EQ(destination, nullptr);
  EXPECT_EQ(TextOf(text2), "first words");
}

TEST_F(Operations, ControlToStream) {
  const ByteArray nothingStream = component.ControlToStream(nullptr, Variant(kRandomBytes));
  EXPECT_EQ(component.ControlTypeName(nothingStream), "Nothing");
  // Custom defaults that need custom defaults themselves would give a stream
  // that no read accepts: refused before the class comparison.
  const ByteArray needsDefaults = component.ControlToStream(text2, Variant(State(text2)));
  ASSERT_TRUE(component.RequiresDefaultsStream(needsDefaults));
  struct Case {
    ObjectRef source;
    Variant defaults;
    int number;
  };
  for (const Case& c :
       {Case{form, Variant(kRandomBytes), 700}, Case{calendar1, kMissing, 702},
        Case{calendar1, Variant(kRandomBytes), 706}, Case{calendar1, Variant(State(text1)), 704},
        Case{text1, Variant(ByteArray{}), 706}, Case{text1, Variant(), 706},
        Case{text1, Variant("text"), 706}, Case{text1, Variant(text2), 706},
        Case{text1, Variant(kWrongSignature), 706}, Case{text1, Variant(kLabelStream), 704},
        Case{text1, Variant(nothingStream), 704}, Case{text1, Variant(needsDefaults), 706},
        Case{text1, Variant(StreamWithFlags(0x02000131)), 706}}) {
    ExpectComponentError(c.number, [&] { component.ControlToStream(c.source, c.defaults); });
  }
  EXPECT_EQ(component.ControlName(State(text1)), "Text1");
  component.WriteControlName(false);
  EXPECT_EQ(component.ControlName(State(text1)), "");
}

TEST_F(Operations, StreamToControl) {
  ObjectRef notAControl = form, nothing;
  component.StreamToControl(ByteArray{}, notAControl, Variant(kRandomBytes));
  component.StreamToControl(kRandomBytes, nothing, Variant("junk"));

  const ByteArray before = State(text2);
  const ByteArray needsDefaults = component.ControlToStream(text1, Variant(before));
  struct Case {
    ByteArray stream;
    ObjectRef destination;
    Variant defaults;
    int number;
  };
  for (Case c :
       {Case{kRandomBytes, form, kMissing, 700}, Case{kRandomBytes, text2, kMissing, 703},
        Case{kWrongSignature, text2, kMissing, 703}, Case{State(text1), label, kMissing, 704},
        Case{StreamWithFlags(0x19000031), text2, kMissing, 704},
        Case{needsDefaults, label, kMissing, 704}, Case{needsDefaults, text2, kMissing, 705},
        Case{needsDefaults, text2, Variant(kRandomBytes), 706},
        Case{State(text1), text2, Variant(needsDefaults), 706},
        Case{State(text1), text2, Variant(kLabelStream), 704}}) {
    ExpectComponentError(c.number,
                         [&] { component.StreamToControl(c.stream, c.destination, c.defaults); });
  }
  EXPECT_EQ(State(text2), before);

  ObjectRef destination = text2;
  component.StreamToControl(component.ControlToStream(nullptr), destination);
  EXPECT_EQ(destination, nullptr);
  EXPECT_EQ(State(text2), before);

  destination = text2;
  component.StreamToControl(needsDefaults, destination, Variant(before));
  EXPECT_EQ(TextOf(text2), "first words");
  // Defaults given for a stream that needs none fill in what it lacks.
  auto empty = form->AddControl("TextBox", "Empty");
  text2->SetProperty("Text", "changed");
  component.StreamToControl(State(empty), destination, Variant(State(text1)));
  EXPECT_EQ(TextOf(text2), "first words");
}

TEST_F(Operations, ForeignControlNamedLikeAClassIsATypeMismatchTouchingNothing) {
  component.SetContainer(true);
  component.SetTabIndex(true);
  foreignText->SetProperty("Left", 1234);
  const auto placement = [](const ObjectRef& c) {
    return CStr(c->GetProperty("Left")) + "," + CStr(c->GetProperty("Top")) + "," +
           CStr(c->GetProperty("Width")) + "," + CStr(c->GetProperty("Height"));
  };
  const std::string foreignBefore = placement(foreignText);
  const ByteArray before = State(text2);
  ObjectRef foreign = foreignText, real = text1, realDestination = text2;
  EXPECT_RAISES(13, component.CopyControl(real, foreign));
  EXPECT_RAISES(13, component.CopyControl(foreign, realDestination));
  EXPECT_RAISES(13, component.ControlToStream(foreign));
  EXPECT_RAISES(13, component.StreamToControl(State(text1), foreign));
  EXPECT_EQ(placement(foreignText), foreignBefore);
  EXPECT_EQ(State(text2), before);
}

}  // namespace
