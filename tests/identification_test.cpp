// Which objects count as controls, and which class names the component
// recognises.
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
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

std::shared_ptr<host::Recordset> OneRowRecordset() {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("tavorin-ident-" + std::to_string(::getpid()) + ".db"))
          .string();
  sqlite3* db = nullptr;
  sqlite3_open(path.c_str(), &db);
  sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES(1);", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  auto recordset = host::Recordset::Open(path, "t");
  std::filesystem::remove(path);
  return recordset;
}

TEST(IsControl, ControlsOfEveryKindCountAndNothingElse) {
  const auto form = host::Form::Create("Form1");
  const auto textBox = form->AddControl("TextBox", "Text1");
  const auto arrayed = form->AddControl("Label", "Label1", std::int16_t{0});
  const auto external = form->AddExternalControl("MSFlexGrid", "Grid1");
  const auto lookalike = form->AddExternalControl("TextBox", "Text2");
  for (const host::ObjectRef& control : {host::ObjectRef(textBox), host::ObjectRef(arrayed),
                                         host::ObjectRef(external), host::ObjectRef(lookalike)}) {
    EXPECT_TRUE(IsControl(control));
    EXPECT_EQ(AsControl(control), control);  // the same control, not a copy
  }
  EXPECT_EQ(tavorin::detail::ControlClassName(*textBox), "TextBox");
  EXPECT_EQ(tavorin::detail::ControlClassName(*external), "MSFlexGrid");

  const host::ObjectRef others[] = {nullptr,
                                    form,
                                    std::make_shared<Impostor>(),
                                    host::Picture::Blank(2, 2),
                                    std::make_shared<host::DataFormat>(),
                                    OneRowRecordset()};
  for (const host::ObjectRef& other : others) {
    EXPECT_FALSE(IsControl(other)) << (other ? other->TypeName() : "Nothing");
  }
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
