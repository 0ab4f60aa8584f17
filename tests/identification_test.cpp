// Which objects count as controls, and which class names the component
// recognises.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include <tavorin/tavorin.h>

#include "../src/component/component_errors.h"
#include "../src/component/identification.h"

namespace {

using tavorin::Tavorin;
using tavorin::detail::AsControl;
using tavorin::detail::IsControl;
using tavorin::detail::TypeCodeFromClassName;
using tavorin::detail::TypeNameFromCode;
namespace host = tavorin::host;

TEST(IsSupportedControl, AcceptsAnyCaseAndSurroundingSpaces) {
  struct Case {
    const char* name;
    bool supported;
  };
  const Case cases[] = {
      {"TextBox", true},        {"textbox", true},       {"TEXTBOX", true},
      {"  tExTbOx   ", true},   {"Nothing", true},       {" nothing ", true},
      {"Shape", true},          {"DirListBox", true},    {"data", true},
      {"HScrollBar", true},     {"vscrollbar", true},    {"Line", true},
      {"", false},              {"   ", false},          {"Text Box", false},
      {"Form", false},          {"UserControl", false},  {"TextBox2", false},
      {"\tTextBox", false},     {"TextBox\n", false},    {"Text\0Box", false},
  };
  const Tavorin component;
  for (const Case& c : cases) {
    EXPECT_EQ(component.IsSupportedControl(c.name), c.supported) << '"' << c.name << '"';
  }
  EXPECT_FALSE(component.IsSupportedControl(std::string("TextBox\0", 8)));
}

TEST(TypeCodes, NameEveryClassAndNothingElse) {
  for (std::int32_t code = 1; code <= 19; ++code) {
    const std::string_view name = TypeNameFromCode(code);
    ASSERT_FALSE(name.empty()) << code;
    EXPECT_EQ(TypeCodeFromClassName(name), code) << name;
  }
  EXPECT_EQ(TypeNameFromCode(0), "Nothing");
  EXPECT_EQ(TypeNameFromCode(14), "Shape");
  EXPECT_EQ(TypeNameFromCode(15), "DirListBox");
  for (const std::int32_t code : {20, 25, 255, -1, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(TypeNameFromCode(code), "") << code;
  }
  // Class names compare exactly; "Nothing" names no class.
  for (const char* name : {"textbox", "TextBox ", "Nothing", "Form", ""}) {
    EXPECT_EQ(TypeCodeFromClassName(name), std::nullopt) << name;
  }
}

// An object of the runtime that is no control, whatever name it reports.
class Impostor : public host::Object {
 public:
  std::string TypeName() const override { return "TextBox"; }
};

TEST(IsControl, OnlyControlsCount) {
  EXPECT_FALSE(IsControl(nullptr));
  EXPECT_FALSE(IsControl(std::make_shared<Impostor>()));
  EXPECT_FALSE(IsControl(host::Picture::Blank(2, 2)));
  EXPECT_FALSE(IsControl(std::make_shared<host::DataFormat>()));
}

// Applications tell the component's errors apart by these numbers and texts.
TEST(ComponentErrors, CarryTheirTextHelpFileAndContextButNoSource) {
  using tavorin::detail::ComponentError;
  const std::pair<ComponentError, const char*> table[] = {
      {ComponentError::kNotAControl, "Object is not a control"},
      {ComponentError::kControlTypeMismatch, "Control type mismatch"},
      {ComponentError::kUnsupportedControl, "Unsupported control"},
      {ComponentError::kInvalidStream, "Invalid Stream"},
      {ComponentError::kStreamControlTypeMismatch, "Stream control type mismatch"},
      {ComponentError::kMissingCustomDefaultsStream, "Missing CustomDefaultsStream"},
      {ComponentError::kInvalidCustomDefaultsStream, "Invalid CustomDefaultsStream"},
  };
  int number = 700;
  for (const auto& [error, description] : table) {
    try {
      tavorin::detail::RaiseComponentError(error);
      ADD_FAILURE() << "raised nothing";
    } catch (const host::RuntimeError& raised) {
      EXPECT_EQ(raised.Number(), number);
      EXPECT_EQ(raised.Description(), description);
      EXPECT_STREQ(raised.what(), description);
      EXPECT_EQ(raised.HelpFile(), "tavorn.hlp");
      EXPECT_EQ(raised.HelpContext(), 1000 + number);
      EXPECT_EQ(raised.Source(), "");
    }
    ++number;
  }
}

}  // namespace
