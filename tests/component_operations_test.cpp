// CopyControl, ControlToStream and StreamToControl as applications call them:
// the order of their checks, the errors they raise, and the hand-over to the
// property set of the control's class.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <tavorin/tavorin.h>

#include "support/raises.h"

namespace {

using tavorin::Tavorin;
using tavorin::host::ByteArray;
using tavorin::host::Control;
using tavorin::host::Form;
using tavorin::host::ObjectRef;
using tavorin::host::PropertyBag;
using tavorin::host::RuntimeError;
using tavorin::host::TextBox;
using tavorin::host::Variant;

// Stream flags as streams store them: version 1, signature 3, the
// custom-defaults bit 0x100 and the type code in the top byte.
constexpr std::int32_t kFlagsBase = 0x31;
constexpr std::int32_t kCustomDefaultsBit = 0x100;
constexpr std::int32_t kLabelCode = 2;
constexpr std::int32_t kTextBoxCode = 3;

ByteArray StreamWithFlags(std::int32_t flags) {
  PropertyBag bag;
  bag.WriteProperty("@SF#", Variant::Long(flags));
  return bag.Contents();
}

ByteArray HandMadeStream(std::int32_t typeCode, bool needsCustomDefaults = false) {
  return StreamWithFlags(kFlagsBase | (typeCode << 24) |
                         (needsCustomDefaults ? kCustomDefaultsBit : 0));
}

const ByteArray kRandomBytes = {0x4d, 0x5a, 0x90, 0x00, 0x03, 0x17, 0xff, 0x42, 0x08};

const char* DescriptionOf(int number) {
  switch (number) {
    case 700: return "Object is not a control";
    case 701: return "Control type mismatch";
    case 702: return "Unsupported control";
    case 703: return "Invalid Stream";
    case 704: return "Stream control type mismatch";
    case 705: return "Missing CustomDefaultsStream";
    case 706: return "Invalid CustomDefaultsStream";
    default: return "";
  }
}

// Every component error carries its number, its description, the help file,
// help context 1000 + number, and no source.
void ExpectComponentError(int number, const std::function<void()>& call) {
  try {
    call();
    ADD_FAILURE() << "raised nothing, expected " << number;
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), number) << error.Description();
    EXPECT_EQ(error.Description(), DescriptionOf(number));
    EXPECT_EQ(error.HelpFile(), "tavorn.hlp");
    EXPECT_EQ(error.HelpContext(), 1000 + number);
    EXPECT_EQ(error.Source(), "");
  }
}

class OperationsTest : public ::testing::Test {
 protected:
  OperationsTest() {
    ObjectRef(text1)->SetProperty("Text", "first words");
    ObjectRef(text1)->SetProperty("Left", 360);
    ObjectRef(text2)->SetProperty("Text", "second");
  }

  // Everything the component would change on a text box, as its stream.
  ByteArray StateOf(const std::shared_ptr<Control>& text) {
    return component.ControlToStream(text);
  }

  Tavorin component;
  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<Control> text1 = form->AddControl("TextBox", "Text1");
  std::shared_ptr<Control> text2 = form->AddControl("TextBox", "Text2");
  std::shared_ptr<Control> label = form->AddControl("Label", "Label1");
  std::shared_ptr<Control> hscroll = form->AddControl("HScrollBar", "HScroll1");
  std::shared_ptr<Control> vscroll = form->AddControl("VScrollBar", "VScroll1");
  // Controls of another library: one named like no class, one like TextBox.
  std::shared_ptr<Control> calendar1 = form->AddExternalControl("Calendar", "Calendar1");
  std::shared_ptr<Control> calendar2 = form->AddExternalControl("Calendar", "Calendar2");
  std::shared_ptr<Control> foreignText = form->AddExternalControl("TextBox", "Foreign1");
};

TEST_F(OperationsTest, CopyControlWithNothingOnEitherSide) {
  // A Nothing destination ends the call before the source is looked at.
  ObjectRef nothing;
  for (ObjectRef source : {ObjectRef(), ObjectRef(form), ObjectRef(text1)}) {
    component.CopyControl(source, nothing);
    EXPECT_EQ(nothing, nullptr);
  }
  // A Nothing source clears the caller's destination and leaves the control.
  const ByteArray before = StateOf(text2);
  ObjectRef source;
  ObjectRef destination = text2;
  component.CopyControl(source, destination);
  EXPECT_EQ(destination, nullptr);
  EXPECT_EQ(StateOf(text2), before);
}

TEST_F(OperationsTest, CopyControlRefusesMismatchedArguments) {
  const ByteArray before = StateOf(text2);
  const auto copy = [&](ObjectRef source, ObjectRef destination) {
    return [this, source, destination]() mutable { component.CopyControl(source, destination); };
  };
  ExpectComponentError(700, copy(form, text2));
  ExpectComponentError(700, copy(text1, form));
  ExpectComponentError(700, copy(form, form));
  // Not being a control counts before the classes are compared.
  ExpectComponentError(700, copy(label, form));
  ExpectComponentError(701, copy(text1, label));
  ExpectComponentError(701, copy(hscroll, vscroll));
  ExpectComponentError(701, copy(calendar1, text2));
  ExpectComponentError(702, copy(calendar1, calendar2));
  EXPECT_EQ(StateOf(text2), before);
}

TEST_F(OperationsTest, CopyControlCopiesThroughTheClassSet) {
  ObjectRef source = text1;
  ObjectRef destination = text2;
  component.CopyControl(source, destination);
  EXPECT_EQ(source, text1);
  EXPECT_EQ(destination, text2);
  EXPECT_EQ(std::static_pointer_cast<TextBox>(text2)->Text(), "first words");
  EXPECT_EQ(text2->Left(), 360);
}

TEST_F(OperationsTest, ControlToStreamOfNothingIsTheNothingStream) {
  for (const Variant& defaults : {Variant::Missing(), Variant(kRandomBytes), Variant("junk")}) {
    const ByteArray stream = component.ControlToStream(nullptr, defaults);
    EXPECT_TRUE(component.IsStream(stream));
    EXPECT_EQ(component.ControlTypeName(stream), "Nothing");
    EXPECT_EQ(component.ControlName(stream), "");
    EXPECT_FALSE(component.RequiresDefaultsStream(stream));
  }
}

TEST_F(OperationsTest, ControlToStreamChecksControlThenDefaultsThenClass) {
  const auto write = [&](ObjectRef source, Variant defaults = Variant::Missing()) {
    return [this, source, defaults] { component.ControlToStream(source, defaults); };
  };
  ExpectComponentError(700, write(form));
  ExpectComponentError(700, write(form, Variant(kRandomBytes)));
  ExpectComponentError(702, write(calendar1));
  // The defaults are checked before the class is looked up.
  ExpectComponentError(706, write(calendar1, Variant(kRandomBytes)));
  ExpectComponentError(704, write(calendar1, Variant(HandMadeStream(kTextBoxCode))));

  // Anything given that is no stream is refused, an empty array included.
  for (const Variant& notAStream :
       {Variant(kRandomBytes), Variant(ByteArray{}), Variant(), Variant::Null(),
        Variant("a string"), Variant(std::int32_t{7}), Variant(ObjectRef(text2)),
        Variant(StreamWithFlags(0x03000021))}) {
    ExpectComponentError(706, write(text1, notAStream));
  }
  ExpectComponentError(704, write(text1, Variant(HandMadeStream(kLabelCode))));
  ExpectComponentError(704, write(text1, Variant(component.ControlToStream(nullptr))));
  ExpectComponentError(704, write(text1, Variant(HandMadeStream(25))));
}

TEST_F(OperationsTest, ControlToStreamRefusesDefaultsThatNeedDefaults) {
  // Nothing written against such defaults could ever be read back, so they
  // are refused here as reading refuses them, before the class comparison.
  const ByteArray needingDefaults = component.ControlToStream(text2, Variant(StateOf(text2)));
  ASSERT_TRUE(component.RequiresDefaultsStream(needingDefaults));
  ExpectComponentError(706, [&] { component.ControlToStream(text1, Variant(needingDefaults)); });
  ExpectComponentError(706, [&] {
    component.ControlToStream(text1, Variant(HandMadeStream(kLabelCode, true)));
  });
}

TEST_F(OperationsTest, ControlToStreamWritesTheControl) {
  const ByteArray stream = component.ControlToStream(text1);
  EXPECT_EQ(component.ControlTypeName(stream), "TextBox");
  EXPECT_EQ(component.ControlName(stream), "Text1");
  EXPECT_FALSE(component.RequiresDefaultsStream(stream));

  const ByteArray against = component.ControlToStream(text1, Variant(StateOf(text2)));
  EXPECT_TRUE(component.RequiresDefaultsStream(against));

  component.WriteControlName(false);
  EXPECT_EQ(component.ControlName(component.ControlToStream(text1)), "");
}

TEST_F(OperationsTest, StreamToControlIgnoresAnEmptyStreamOrNothingDestination) {
  ObjectRef notAControl = form;
  component.StreamToControl(ByteArray{}, notAControl, Variant(kRandomBytes));
  EXPECT_EQ(notAControl, form);
  ObjectRef nothing;
  component.StreamToControl(kRandomBytes, nothing, Variant("junk"));
  EXPECT_EQ(nothing, nullptr);
}

TEST_F(OperationsTest, StreamToControlOfTheNothingStreamClearsTheVariable) {
  const ByteArray before = StateOf(text2);
  ObjectRef destination = text2;
  component.StreamToControl(component.ControlToStream(nullptr), destination,
                            Variant(kRandomBytes));
  EXPECT_EQ(destination, nullptr);
  EXPECT_EQ(StateOf(text2), before);
}

TEST_F(OperationsTest, StreamToControlChecksInOrder) {
  const ByteArray before = StateOf(text2);
  const ByteArray textStream = StateOf(text1);
  const ByteArray needingDefaults = component.ControlToStream(text1, Variant(before));
  const auto read = [&](ByteArray stream, ObjectRef destination,
                        Variant defaults = Variant::Missing()) {
    return [this, stream, destination, defaults]() mutable {
      component.StreamToControl(stream, destination, defaults);
    };
  };
  ExpectComponentError(700, read(kRandomBytes, form));
  ExpectComponentError(703, read(kRandomBytes, text2));
  ExpectComponentError(703, read(StreamWithFlags(0x03000021), text2));
  ExpectComponentError(703, read(PropertyBag().Contents(), text2));
  ExpectComponentError(704, read(textStream, label));
  ExpectComponentError(704, read(HandMadeStream(25), text2));
  // The class is compared before the defaults are asked for.
  ExpectComponentError(704, read(needingDefaults, label));
  ExpectComponentError(705, read(needingDefaults, text2));
  ExpectComponentError(706, read(needingDefaults, text2, Variant(kRandomBytes)));
  ExpectComponentError(706, read(textStream, text2, Variant("not bytes")));
  ExpectComponentError(706, read(textStream, text2, Variant(needingDefaults)));
  ExpectComponentError(704, read(textStream, text2, Variant(HandMadeStream(kLabelCode))));
  EXPECT_EQ(StateOf(text2), before);
}

TEST_F(OperationsTest, StreamToControlRestoresTheControl) {
  ObjectRef destination = text2;
  component.StreamToControl(StateOf(text1), destination);
  EXPECT_EQ(destination, text2);
  EXPECT_EQ(std::static_pointer_cast<TextBox>(text2)->Text(), "first words");

  // Written against custom defaults, read back with the same defaults.
  auto model = form->AddControl("TextBox", "Model");
  ObjectRef(model)->SetProperty("Text", "model text");
  const Variant defaults(StateOf(model));
  ObjectRef(text1)->SetProperty("Text", "model text");
  const ByteArray stream = component.ControlToStream(text1, defaults);
  ObjectRef(text2)->SetProperty("Text", "something else");
  component.StreamToControl(stream, destination, defaults);
  EXPECT_EQ(std::static_pointer_cast<TextBox>(text2)->Text(), "model text");
}

TEST_F(OperationsTest, DefaultsGivenForAPlainStreamFillWhatItLacks) {
  auto model = form->AddControl("TextBox", "Model");
  ObjectRef(model)->SetProperty("Text", "from the defaults");
  auto blank = form->AddControl("TextBox", "Blank");
  ObjectRef destination = text2;
  component.StreamToControl(StateOf(blank), destination, Variant(StateOf(model)));
  EXPECT_EQ(std::static_pointer_cast<TextBox>(text2)->Text(), "from the defaults");
}

TEST_F(OperationsTest, ForeignControlNamedLikeAClassIsATypeMismatch) {
  // Settings that would let every shared group touch the controls.
  component.SetContainer(true);
  component.SetTabIndex(true);
  ObjectRef(foreignText)->SetProperty("Left", 1234);
  ObjectRef(foreignText)->SetProperty("Width", 777);
  const auto placementOf = [](const std::shared_ptr<Control>& control) {
    return std::to_string(control->Left()) + "," + std::to_string(control->Top()) + "," +
           std::to_string(control->Width()) + "," + std::to_string(control->Height());
  };
  const std::string foreignBefore = placementOf(foreignText);
  const ByteArray text2Before = StateOf(text2);

  ObjectRef foreign = foreignText;
  ObjectRef real = text1;
  EXPECT_RAISES(13, component.CopyControl(real, foreign));
  EXPECT_EQ(placementOf(foreignText), foreignBefore);

  ObjectRef realDestination = text2;
  EXPECT_RAISES(13, component.CopyControl(foreign, realDestination));
  EXPECT_EQ(StateOf(text2), text2Before);

  EXPECT_RAISES(13, component.ControlToStream(foreign));
  EXPECT_RAISES(13, component.StreamToControl(StateOf(text1), foreign));
  EXPECT_EQ(placementOf(foreignText), foreignBefore);
  EXPECT_EQ(foreign, foreignText);
}

}  // namespace
