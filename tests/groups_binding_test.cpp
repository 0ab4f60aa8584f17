// Data binding: the data source travels by name (and index) and is resolved on
// the destination's form; field, member, format and changed state travel as
// values against their defaults.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include <tavorin/tavorin.h>

#include "support/component_calls.h"

namespace {

using namespace tavorin::host;
using namespace tavorin::testing;

std::shared_ptr<DataFormat> Format(const std::string& format) {
  auto dataFormat = std::make_shared<DataFormat>();
  dataFormat->Format(format);
  return dataFormat;
}

// Two forms built alike, each with a plain data control "Data1" and a data
// control array "Data2" (elements 0 and 1).
class Binding : public ::testing::Test {
 protected:
  struct Layout {
    std::shared_ptr<Form> form;
    std::shared_ptr<Control> data1, data2a, data2b, text;
  };

  static Layout Build(const std::string& name) {
    Layout layout;
    layout.form = Form::Create(name);
    layout.data1 = layout.form->AddControl("Data", "Data1");
    layout.data2a = layout.form->AddControl("Data", "Data2", std::int16_t{0});
    layout.data2b = layout.form->AddControl("Data", "Data2", std::int16_t{1});
    layout.text = layout.form->AddControl("TextBox", "Text1");
    return layout;
  }

  Layout source = Build("Form1");
  Layout target = Build("Form2");
  Settings settings;
};

// Resolving them on another form is left to the round-trip test.
TEST_F(Binding, DataSourceIsStoredByNameAndIndex) {
  source.text->SetProperty("DataField", "Name");
  for (const auto& [bound, name, index] :
       {std::tuple{source.data1, "Data1", Variant()},
        std::tuple{source.data2b, "Data2", Variant::Integer(1)}}) {
    source.text->SetProperty("DataSource", Variant::Object(bound));
    const auto stream = Write(settings, *source.text);
    EXPECT_EQ(Stored(stream, "DsN"), Variant(name));
    EXPECT_EQ(Stored(stream, "DsI"), index);
    EXPECT_EQ(Stored(stream, "DFd"), Variant("Name"));
  }
}

TEST_F(Binding, UnboundStreamUnbindsTheDestination) {
  const auto stream = Write(settings, *source.text);
  for (const char* key : {"DsN", "DtM", "DFd", "DtC"}) EXPECT_FALSE(Holds(stream, key)) << key;
  EXPECT_TRUE(Holds(stream, "DtF")) << "the data format is always stored";

  target.text->SetProperty("DataSource", Variant::Object(target.data1));
  target.text->SetProperty("DataField", "Old");
  Read(settings, stream, *target.text);
  EXPECT_TRUE(target.text->GetProperty("DataSource").IsNothing());
  EXPECT_EQ(target.text->GetProperty("DataField"), Variant(""));
}

TEST_F(Binding, MissingDataSourceLeavesTheDestinationUnbound) {
  source.text->SetProperty("DataSource", Variant::Object(source.data1));
  const auto stream = Write(settings, *source.text);
  auto bare = Form::Create("Form3");
  auto text = bare->AddControl("TextBox", "Text1");
  Read(settings, stream, *text);
  EXPECT_TRUE(text->GetProperty("DataSource").IsNothing());
}

TEST_F(Binding, FormatIsLeftOutOnlyWhenCustomDefaultsHoldAnEqualOne) {
  // Custom defaults without "DtF" hold nothing to match, not even Nothing.
  PropertyBag bare;
  bare.WriteProperty("@SF#", Variant::Long(0x03000031));
  EXPECT_TRUE(Holds(Write(settings, *source.text, Variant::Bytes(bare.Contents())), "DtF"));

  auto model = source.form->AddControl("TextBox", "Model");
  model->SetProperty("DataFormat", Variant::Object(Format("0.00")));
  model->SetProperty("DataField", "Name");
  const auto custom = Variant::Bytes(Write(settings, *model));

  source.text->SetProperty("DataFormat", Variant::Object(Format("0.00")));
  source.text->SetProperty("DataField", "Name");
  const auto stream = Write(settings, *source.text, custom);
  EXPECT_FALSE(Holds(stream, "DtF"));
  EXPECT_FALSE(Holds(stream, "DFd"));
}

TEST_F(Binding, CopyBindsToTheSameDataControl) {
  auto destination = source.form->AddControl("TextBox", "Text2");
  destination->SetProperty("DataSource", Variant::Object(source.data2a));
  source.text->SetProperty("DataSource", Variant::Object(source.data1));
  source.text->SetProperty("DataField", "Name");

  Copy(settings, *source.text, *destination);
  EXPECT_EQ(destination->GetProperty("DataSource").AsObject(), ObjectRef(source.data1));
  EXPECT_EQ(destination->GetProperty("DataField"), Variant("Name"));
}

TEST_F(Binding, CopyOntoItselfChangesNothing) {
  source.text->SetProperty("DataSource", Variant::Object(source.data1));
  source.text->SetProperty("DataField", "Name");
  source.text->SetProperty("Text", "Ada Lovelace");
  source.text->SetProperty("SelStart", 4);
  source.text->SetProperty("SelLength", 8);

  Copy(Settings{.setContainer = true, .setTabIndex = true}, *source.text, *source.text);
  EXPECT_EQ(source.text->GetProperty("DataSource").AsObject(), ObjectRef(source.data1));
  EXPECT_EQ(source.text->GetProperty("DataField"), Variant("Name"));
  EXPECT_EQ(source.text->GetProperty("SelStart"), Variant::Long(4));
  EXPECT_EQ(source.text->GetProperty("SelLength"), Variant::Long(8));
}

}  // namespace
