// Member names by the host's rule: only the ASCII letters compare without
// case, whatever the length of the name; every other byte is itself.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "support/raises.h"

namespace tavorin::host {
namespace {

std::string Transformed(std::string name, char (*change)(char)) {
  std::transform(name.begin(), name.end(), name.begin(), change);
  return name;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

class MemberNamesTest : public ::testing::Test {
 protected:
  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<Control> text = form->AddControl("TextBox", "Text1");
};

void ExpectFoundInAnyCaseAndNearMissesNot(const Control& control, const std::string& name) {
  SCOPED_TRACE(name);
  const Variant value = control.GetProperty(name);
  EXPECT_EQ(control.GetProperty(Transformed(name, Upper)), value);
  EXPECT_EQ(control.GetProperty(Transformed(name, Lower)), value);
  EXPECT_RAISES(errors::kNoSuchMember, control.GetProperty(name + "s"));
  EXPECT_RAISES(errors::kNoSuchMember, control.GetProperty(name.substr(1)));
  EXPECT_RAISES(errors::kNoSuchMember, control.GetProperty(name + std::string(1, '\0')));
  // The same length, and every byte but one the same.
  for (std::size_t i = 0; i < name.size(); ++i) {
    std::string nearMiss = name;
    nearMiss[i] = '#';
    SCOPED_TRACE(nearMiss);
    EXPECT_RAISES(errors::kNoSuchMember, control.GetProperty(nearMiss));
  }
}

TEST_F(MemberNamesTest, EveryPropertyIsFoundInAnyCaseAndNearMissesAreNot) {
  // Names of every length from 3 to 17 characters.
  for (const std::string name :
       {"Tag", "Text", "Width", "Height", "Enabled", "FontBold", "MaxLength", "DataMember",
        "BorderStyle", "MousePointer", "HelpContextID", "FontStrikethru", "WhatsThisHelpID",
        "CausesValidation"}) {
    ExpectFoundInAnyCaseAndNearMissesNot(*text, name);
  }
  ExpectFoundInAnyCaseAndNearMissesNot(*form->AddControl("Data", "Data1"), "DefaultCursorType");
}

TEST_F(MemberNamesTest, OnlyAsciiLettersFold) {
  text->SetProperty("Tag", Variant("kept"));
  // Bytes beside the letters, and bytes whose low seven bits are a letter.
  for (const char* name :
       {"T@g", "T`g", "T[g", "T{g", "T\xC1g", "T\xE1g", "T\x81g", "TAG\xA0", "Ta", "T", ""}) {
    SCOPED_TRACE(name);
    EXPECT_RAISES(errors::kNoSuchMember, text->GetProperty(name));
  }
  EXPECT_EQ(text->GetProperty("tAG"), Variant("kept"));
  // Long names, and a method found in any case.
  EXPECT_RAISES(errors::kNoSuchMember, text->GetProperty(std::string(100, 'x')));
  EXPECT_RAISES(errors::kNoSuchMember, text->GetProperty("WhatsThisHelpIDWhatsThisHelpID"));
  EXPECT_RAISES(errors::kInvalidProcedureCall, text->GetProperty("mOVE"));
  text->CallMethod("mOVE", {Variant::Single(5)});
  EXPECT_EQ(text->GetProperty("LEFT"), Variant::Single(5));
}

}  // namespace
}  // namespace tavorin::host
