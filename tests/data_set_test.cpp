// The Data control set: the current record travels with the control, the
// recordset is rebuilt from the restored properties before it is moved, and
// the controls bound to it follow.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include <tavorin/tavorin.h>

#include "support/component_calls.h"
#include "support/scratch_folder.h"
#include "support/sqlite_database.h"

namespace {

using namespace tavorin::host;
using namespace tavorin::testing;

constexpr std::int32_t kPastTheLast = 5;

class DataSet : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeDatabase(database,
                             "CREATE TABLE Customers(Name TEXT);"
                             "INSERT INTO Customers VALUES ('Ada'), ('Grace'),"
                             " ('Edsger'), ('Barbara'), ('Alan');"));
    bound->SetProperty("DataField", "Name");
    bound->SetProperty("DataSource", Variant::Object(destination));
  }

  // Opens `data` on the customers, standing on `position` (kPastTheLast:
  // past the last record, on none).
  void Open(Control& data, std::int32_t position, const std::string& source = "Customers") {
    data.SetProperty("DatabaseName", database);
    data.SetProperty("RecordSource", source);
    data.CallMethod("Refresh");
    if (position == kPastTheLast) {
      RecordsOf(data)->MoveLast();
      RecordsOf(data)->MoveNext();
    } else {
      RecordsOf(data)->AbsolutePosition(position);
    }
  }

  // The source onto the destination: copied, or written and read.
  void Transfer(bool copied) {
    if (copied) {
      Copy(Settings{}, *source, *destination);
    } else {
      Read(Settings{}, Write(Settings{}, *source), *destination);
    }
  }

  static std::shared_ptr<Recordset> RecordsOf(const Control& data) {
    return std::dynamic_pointer_cast<Recordset>(data.GetProperty("Recordset").AsObject());
  }

  static std::int32_t PositionOf(const Control& data) {
    return RecordsOf(data)->AbsolutePosition();
  }

  ScratchFolder scratch;
  const std::string database = (scratch.Path() / "shop.db").string();
  std::shared_ptr<Form> form = Form::Create("Form1");
  std::shared_ptr<Control> source = form->AddControl("Data", "Data1");
  std::shared_ptr<Control> destination = form->AddControl("Data", "Data2");
  std::shared_ptr<Control> bound = form->AddControl("TextBox", "Text1");
};

TEST_F(DataSet, ComesBackOnTheSourcesRecordWithItsBoundControls) {
  const struct {
    std::int32_t position;
    const char* shown;
  } cases[] = {{0, "Ada"}, {3, "Barbara"}, {4, "Alan"}, {kPastTheLast, ""}};
  for (const auto& c : cases) {
    Open(*source, c.position);
    const std::int32_t expected = c.position == kPastTheLast ? -1 : c.position;
    for (const bool copied : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "record " << c.position << (copied ? ", copied" : ""));
      // Standing elsewhere on another source: only a rebuilt recordset
      // can reach the stored record.
      Open(*destination, 1, "SELECT Name FROM Customers LIMIT 2");
      Transfer(copied);
      EXPECT_EQ(RecordsOf(*destination)->RecordCount(), 5);
      EXPECT_EQ(PositionOf(*destination), expected);
      EXPECT_EQ(bound->GetProperty("Text"), Variant(c.shown));
    }
  }
}

TEST_F(DataSet, MissingDatabaseCostsOnlyTheRefresh) {
  Open(*source, 3);
  source->SetProperty("DatabaseName", (scratch.Path() / "gone.db").string());
  source->SetProperty("Caption", "Customers");
  for (const bool copied : {false, true}) {
    SCOPED_TRACE(copied ? "copied" : "read");
    Open(*destination, 1);
    const auto before = RecordsOf(*destination);
    Transfer(copied);
    EXPECT_EQ(destination->GetProperty("Caption"), Variant("Customers"));
    EXPECT_EQ(destination->GetProperty("DatabaseName"), source->GetProperty("DatabaseName"));
    // The recordset it had stays, moved to the record all the same.
    EXPECT_EQ(RecordsOf(*destination), before);
    EXPECT_EQ(PositionOf(*destination), 3);
  }
}

TEST_F(DataSet, StreamOfAnotherFormatNeitherRefreshesNorMoves) {
  Open(*source, 3);
  Open(*destination, 1);
  const auto before = RecordsOf(*destination);
  const auto stream = WithStored(Write(Settings{}, *source), "@SF#", Variant::Long(0x13000032));
  Read(Settings{}, stream, *destination);
  EXPECT_EQ(RecordsOf(*destination), before);
  EXPECT_EQ(PositionOf(*destination), 1);
  EXPECT_EQ(bound->GetProperty("Text"), Variant("Grace"));
}

}  // namespace
