// Which objects count as controls and which class names the component
// recognises.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include <tavorin/tavorin.h>

#include "catalogue/control_type.h"
#include "component/identification.h"
#include "support/scratch_folder.h"
#include "support/sqlite_database.h"

namespace {

using tavorin::detail::ControlType;
using tavorin::detail::ControlTypeFromClassName;
using tavorin::detail::TypeNameFromCode;
namespace host = tavorin::host;

TEST(IsSupportedControl, AcceptsAnyCaseAndSurroundingSpaces) {
  const std::pair<std::string, bool> cases[] = {
      {"TextBox", true},
      {"textbox", true},
      {"  tExTbOx   ", true},
      {"Nothing", true},
      {" nothing ", true},
      {"data", true},
      {"vscrollbar", true},
      {"", false},
      {"   ", false},
      {"Text Box", false},
      {"Form", false},
      {"UserControl", false},
      {"TextBox2", false},
      {"\tTextBox", false},
      {"TextBox\n", false},
      {std::string("Text\0Box", 8), false},
      {std::string("TextBox\0", 8), false},
  };
  const tavorin::Tavorin component;
  for (const auto& [name, supported] : cases)
    EXPECT_EQ(component.IsSupportedControl(name), supported) << '"' << name << '"';
}

TEST(TypeCodes, NameEveryClassAndNothingElse) {
  for (std::int32_t code = 1; code <= 19; ++code) {
    const std::string_view name = TypeNameFromCode(code);
    ASSERT_FALSE(name.empty()) << code;
    EXPECT_EQ(ControlTypeFromClassName(name), static_cast<ControlType>(code)) << name;
  }
  EXPECT_EQ(TypeNameFromCode(0), "Nothing");
  EXPECT_EQ(TypeNameFromCode(14), "Shape");
  EXPECT_EQ(TypeNameFromCode(15), "DirListBox");
  for (const std::int32_t code : {20, 25, 255, -1, INT32_MIN, INT32_MAX})
    EXPECT_EQ(TypeNameFromCode(code), "") << code;
  // Class names compare exactly; "Nothing" names no class.
  for (const char* name : {"textbox", "TextBox ", "Nothing", "Form", ""}) {
    EXPECT_EQ(ControlTypeFromClassName(name), std::nullopt) << name;
  }
}

// An object of the runtime that is no control, whatever name it reports.
class Impostor : public host::Object {
 public:
  std::string TypeName() const override { return "TextBox"; }
};

TEST(IsControl, ControlsOfEveryKindCountAndNothingElse) {
  const auto form = host::Form::Create("Form1");
  const auto textBox = form->AddControl("TextBox", "Text1");
  const auto external = form->AddExternalControl("MSFlexGrid", "Grid1");
  for (const host::ObjectRef& control :
       {host::ObjectRef(textBox), host::ObjectRef(external),
        host::ObjectRef(form->AddControl("Label", "Label1", std::int16_t{0})),
        host::ObjectRef(form->AddExternalControl("TextBox", "Text2"))}) {
    EXPECT_TRUE(tavorin::detail::IsControl(control));
    EXPECT_EQ(tavorin::detail::AsControl(control), control);  // the same control, not a copy
  }
  EXPECT_EQ(tavorin::detail::ControlClassName(*textBox), "TextBox");
  EXPECT_EQ(tavorin::detail::ControlClassName(*external), "MSFlexGrid");

  const ScratchFolder scratch;
  const std::string database = (scratch.Path() / "one.db").string();
  ASSERT_TRUE(MakeDatabase(database, "CREATE TABLE t(x); INSERT INTO t VALUES(1);"));
  const host::ObjectRef others[] = {nullptr,
                                    form,
                                    std::make_shared<Impostor>(),
                                    host::Picture::Blank(2, 2),
                                    std::make_shared<host::DataFormat>(),
                                    host::Recordset::Open(database, "t")};
  for (const host::ObjectRef& other : others) {
    EXPECT_FALSE(tavorin::detail::IsControl(other)) << (other ? other->TypeName() : "Nothing");
  }
}

}  // namespace
