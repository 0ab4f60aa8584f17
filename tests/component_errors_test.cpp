// The component's own errors as an application meets them: each public
// ComponentError constant is the number of the error that the matching misuse
// raises, with its fixed text, help file and help context.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <tavorin/tavorin.h>

namespace {

using tavorin::ComponentError;
using tavorin::host::ByteArray;
using tavorin::host::ObjectRef;
using tavorin::host::Variant;

// Applications' code and their saved logs hold these very numbers.
static_assert(tavorin::kNotAControl == 700 && tavorin::kControlTypeMismatch == 701 &&
              tavorin::kUnsupportedControl == 702 && tavorin::kInvalidStream == 703 &&
              tavorin::kStreamControlTypeMismatch == 704 &&
              tavorin::kMissingCustomDefaultsStream == 705 &&
              tavorin::kInvalidCustomDefaultsStream == 706);

TEST(ComponentErrors, EachConstantNamesTheErrorItsMisuseRaises) {
  tavorin::Tavorin component;
  const auto form = tavorin::host::Form::Create("Form1");
  ObjectRef formRef = form;
  ObjectRef text1 = form->AddControl("TextBox", "Text1");
  ObjectRef text2 = form->AddControl("TextBox", "Text2");
  ObjectRef label = form->AddControl("Label", "Label1");
  ObjectRef grid1 = form->AddExternalControl("MSFlexGrid", "Grid1");
  ObjectRef grid2 = form->AddExternalControl("MSFlexGrid", "Grid2");
  const ByteArray textStream = component.ControlToStream(text1);
  const ByteArray needsDefaults =
      component.ControlToStream(text1, Variant(component.ControlToStream(text2)));

  struct Case {
    ComponentError error;
    const char* description;
    std::function<void()> misuse;
  };
  const Case cases[] = {
      {tavorin::kNotAControl, "Object is not a control",
       [&] { component.CopyControl(formRef, text2); }},
      {tavorin::kControlTypeMismatch, "Control type mismatch",
       [&] { component.CopyControl(text1, label); }},
      {tavorin::kUnsupportedControl, "Unsupported control",
       [&] { component.CopyControl(grid1, grid2); }},
      {tavorin::kInvalidStream, "Invalid Stream",
       [&] {
         component.StreamToControl(ByteArray{0x4d, 0x5a, 0x90}, text2);
       }},
      {tavorin::kStreamControlTypeMismatch, "Stream control type mismatch",
       [&] { component.StreamToControl(textStream, label); }},
      {tavorin::kMissingCustomDefaultsStream, "Missing CustomDefaultsStream",
       [&] { component.StreamToControl(needsDefaults, text2); }},
      {tavorin::kInvalidCustomDefaultsStream, "Invalid CustomDefaultsStream",
       [&] { component.ControlToStream(text1, Variant("no stream")); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.description);
    try {
      c.misuse();
      ADD_FAILURE() << "raised nothing";
    } catch (const tavorin::host::RuntimeError& raised) {
      EXPECT_EQ(raised.Number(), c.error);
      EXPECT_EQ(raised.Description(), c.description);
      EXPECT_STREQ(raised.what(), c.description);
      EXPECT_EQ(raised.HelpFile(), "tavorn.hlp");
      EXPECT_EQ(raised.HelpContext(), 1000 + c.error);
      EXPECT_EQ(raised.Source(), "");
    }
  }
}

}  // namespace
