// The Data control over an SQLite database, and controls bound to it.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "support/raises.h"
#include "support/scratch_folder.h"
#include "support/sqlite_database.h"

namespace tavorin::host {
namespace {

class HostDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeDatabase(path,
                             "CREATE TABLE members(name TEXT, active INTEGER);"
                             "INSERT INTO members VALUES('Ada', 1);"
                             "INSERT INTO members VALUES('Bo', 0);"
                             "INSERT INTO members VALUES(NULL, NULL);"));
    data->SetProperty("DatabaseName", Variant(path));
    data->SetProperty("RecordSource", Variant("members"));
  }

  std::shared_ptr<Control> Bound(const char* className, const char* field) {
    auto control = form->AddControl(className, std::string(className) + "1");
    control->SetProperty("DataSource", Variant(ObjectRef(data)));
    control->SetProperty("DataField", Variant(field));
    return control;
  }

  ScratchFolder scratch;
  std::string path = (scratch.Path() / "club.db").string();
  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<Data> data = std::dynamic_pointer_cast<Data>(form->AddControl("Data", "Data1"));
};

TEST_F(HostDataTest, RefreshOpensTheRecordsetOnTheFirstRecord) {
  EXPECT_EQ(data->Recordset(), nullptr);
  EXPECT_TRUE(data->GetProperty("Recordset").IsNothing());
  data->CallMethod("Refresh");
  const std::shared_ptr<Recordset> records = data->Recordset();
  ASSERT_NE(records, nullptr);
  EXPECT_EQ(records->RecordCount(), 3);
  EXPECT_EQ(records->AbsolutePosition(), 0);
  EXPECT_EQ(data->GetProperty("Recordset").AsObject(), ObjectRef(records));
  data->Refresh();
  EXPECT_NE(data->Recordset(), records) << "each refresh reads the source again";
}

TEST_F(HostDataTest, BoundControlsShowTheCurrentRecordAndFollowIt) {
  auto text = Bound("TextBox", "name");
  EXPECT_EQ(CStr(text->GetProperty("Text")), "") << "bound before the refresh";
  data->Refresh();
  auto label = Bound("Label", "NAME");
  auto check = Bound("CheckBox", "active");
  EXPECT_EQ(CStr(text->GetProperty("Text")), "Ada");
  EXPECT_EQ(CStr(label->GetProperty("Caption")), "Ada");
  EXPECT_EQ(CInt(check->GetProperty("Value")), 1);
  data->Recordset()->MoveNext();
  EXPECT_EQ(CStr(text->GetProperty("Text")), "Bo");
  EXPECT_EQ(CInt(check->GetProperty("Value")), 0);
  data->Recordset()->SetProperty("AbsolutePosition", 2);
  EXPECT_EQ(CStr(text->GetProperty("Text")), "") << "Null shows as empty";
  data->Refresh();
  EXPECT_EQ(CStr(text->GetProperty("Text")), "Ada") << "the new recordset's first record";
  text->SetProperty("DataSource", Variant(ObjectRef()));
  data->Recordset()->MoveNext();
  EXPECT_EQ(CStr(text->GetProperty("Text")), "Ada") << "an unbound control stays as it is";
  EXPECT_EQ(CStr(label->GetProperty("Caption")), "Bo");
}

TEST_F(HostDataTest, ABoundTextBoxKeepsItsSelectionWhenRestoredOrCopied) {
  data->Refresh();
  auto source = Bound("TextBox", "name");
  source->SetProperty("SelStart", Variant::Long(1));
  source->SetProperty("SelLength", Variant::Long(2));
  Tavorin component;
  const ByteArray stream = component.ControlToStream(source);
  const struct {
    const char* how;
    std::function<void(ObjectRef&)> transfer;
  } cases[] = {
      {"restored", [&](ObjectRef& box) { component.StreamToControl(stream, box); }},
      {"copied",
       [&](ObjectRef& box) {
         ObjectRef from = source;
         component.CopyControl(from, box);
       }},
  };
  for (const auto& c : cases) {
    const std::shared_ptr<Control> box = form->AddControl("TextBox", c.how);
    ObjectRef destination = box;
    c.transfer(destination);
    EXPECT_EQ(box->GetProperty("DataSource").AsObject(), ObjectRef(data)) << c.how;
    EXPECT_EQ(CStr(box->GetProperty("Text")), "Ada") << c.how;
    EXPECT_EQ(CLng(box->GetProperty("SelStart")), 1) << c.how;
    EXPECT_EQ(CLng(box->GetProperty("SelLength")), 2) << c.how;
  }
}

TEST_F(HostDataTest, AFieldTheRecordsetLacksRaises545) {
  data->Refresh();
  auto text = Bound("TextBox", "name");
  EXPECT_RAISES(errors::kUnableToBind, text->SetProperty("DataField", Variant("age")));
  EXPECT_EQ(CStr(text->GetProperty("DataField")), "name");
  auto unbound = form->AddControl("TextBox", "Text2");
  unbound->SetProperty("DataField", Variant("age"));
  EXPECT_RAISES(errors::kUnableToBind,
                unbound->SetProperty("DataSource", Variant(ObjectRef(data))));
  EXPECT_TRUE(unbound->GetProperty("DataSource").IsNothing());
}

// A failed refresh keeps the old recordset and what its bound controls show.
TEST_F(HostDataTest, RefreshRaises3024ForAMissingFileAnd3078ForABadSourceOrLimits) {
  data->Refresh();
  const std::shared_ptr<Recordset> records = data->Recordset();
  auto text = Bound("TextBox", "name");
  records->MoveNext();
  {
    const ScopedRecordsetLimits twoRows({std::chrono::milliseconds(1000), 2, 1 << 20});
    EXPECT_RAISES(errors::kCannotFindInputTable, data->Refresh());
  }
  data->SetProperty("RecordSource", Variant("SELECT nothing FROM nowhere"));
  EXPECT_RAISES(errors::kCannotFindInputTable, data->Refresh());
  data->SetProperty("DatabaseName", Variant((scratch.Path() / "absent.db").string()));
  EXPECT_RAISES(errors::kCouldNotFindFile, data->CallMethod("Refresh"));
  EXPECT_EQ(data->Recordset(), records);
  EXPECT_EQ(CStr(text->GetProperty("Text")), "Bo");
}

TEST_F(HostDataTest, ARecordsetOutlivingItsControlNoLongerUpdatesIt) {
  data->Refresh();
  auto text = Bound("TextBox", "name");
  const std::shared_ptr<Recordset> records = data->Recordset();
  form.reset();
  data.reset();
  text.reset();
  EXPECT_NO_THROW(records->MoveNext());
}

}  // namespace
}  // namespace tavorin::host
