#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "support/raises.h"
#include "support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using tavorin::host::ByteArray;
using tavorin::host::Recordset;
using tavorin::host::Variant;
using ::testing::ElementsAre;

std::vector<char> FileBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A scratch folder with databases that the tests build with plain SQL.
class Databases : public ::testing::Test {
 protected:
  void SetUp() override {
    database_ = (folder_ / "shop.db").string();
    Execute(database_,
            "BEGIN;"
            "CREATE TABLE people(id INTEGER, name TEXT, score REAL, photo BLOB, note);"
            "INSERT INTO people VALUES(1, 'Ada', 1.5, x'00FF10', NULL);"
            "INSERT INTO people VALUES(5000000000, 'B\xC3\xA9la', -2.0, x'', 'x');"
            "INSERT INTO people VALUES(-7, 'Cy', 3.25, NULL, 42);"
            "CREATE TABLE empty(id INTEGER, label TEXT);"
            "CREATE TABLE \"we\"\"ird\"(v TEXT); INSERT INTO \"we\"\"ird\" VALUES('quoted');"
            "CREATE TABLE Selections(v TEXT); INSERT INTO Selections VALUES('table');"
            "COMMIT;");
  }

  static void Execute(const std::string& path, const char* sql) {
    sqlite3* database = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &database), SQLITE_OK);
    char* message = nullptr;
    const int result = sqlite3_exec(database, sql, nullptr, nullptr, &message);
    const std::string error = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(database);
    ASSERT_EQ(result, SQLITE_OK) << error;
  }

  std::shared_ptr<Recordset> People() { return Recordset::Open(database_, "people"); }

  ScratchFolder scratch_;
  const fs::path& folder_ = scratch_.Path();
  std::string database_;
};

TEST_F(Databases, NavigatesWithBofAndEof) {
  const auto records = People();
  EXPECT_EQ(records->RecordCount(), 3);
  EXPECT_EQ(records->AbsolutePosition(), 0);
  EXPECT_FALSE(records->BOF());
  EXPECT_FALSE(records->IsEOF());
  EXPECT_EQ(records->Field("name"), Variant("Ada"));

  records->MoveNext();
  records->MoveNext();
  EXPECT_EQ(records->Field("NAME"), Variant("Cy"));
  records->MoveNext();
  EXPECT_TRUE(records->IsEOF());
  EXPECT_EQ(records->AbsolutePosition(), -1);
  EXPECT_RAISES(3021, records->Field("name"));
  EXPECT_RAISES(3021, records->MoveNext());
  EXPECT_TRUE(records->IsEOF());

  records->MovePrevious();
  EXPECT_EQ(records->AbsolutePosition(), 2);
  records->MoveFirst();
  records->MovePrevious();
  EXPECT_TRUE(records->BOF());
  EXPECT_FALSE(records->IsEOF());
  EXPECT_EQ(records->AbsolutePosition(), -1);
  EXPECT_RAISES(3021, records->MovePrevious());
  records->MoveNext();
  EXPECT_EQ(records->AbsolutePosition(), 0);
  records->MoveLast();
  EXPECT_EQ(records->AbsolutePosition(), 2);
}

TEST_F(Databases, AbsolutePositionMovesOnlyInsideTheRecords) {
  const auto records = People();
  records->AbsolutePosition(2);
  EXPECT_EQ(records->Field("id"), Variant(-7));
  for (const std::int32_t outside : {3, -1, 1000}) {
    EXPECT_RAISES(3001, records->AbsolutePosition(outside));
    EXPECT_EQ(records->AbsolutePosition(), 2);
  }
  records->MoveNext();
  records->AbsolutePosition(1);  // leaves EOF
  EXPECT_FALSE(records->IsEOF());
  EXPECT_EQ(records->AbsolutePosition(), 1);
}

TEST_F(Databases, EmptyTableHasNoCurrentRecord) {
  const auto records = Recordset::Open(database_, "empty");
  EXPECT_EQ(records->RecordCount(), 0);
  EXPECT_TRUE(records->BOF());
  EXPECT_TRUE(records->IsEOF());
  EXPECT_EQ(records->AbsolutePosition(), -1);
  EXPECT_THAT(records->FieldNames(), ElementsAre("id", "label"));
  EXPECT_RAISES(3021, records->MoveFirst());
  EXPECT_RAISES(3021, records->MoveLast());
  EXPECT_RAISES(3021, records->MoveNext());
  EXPECT_RAISES(3021, records->MovePrevious());
  EXPECT_RAISES(3001, records->AbsolutePosition(0));
  EXPECT_RAISES(3021, records->Field("label"));
  EXPECT_RAISES(3265, records->Field("nothing"));
}

TEST_F(Databases, ValuesKeepTheirTypes) {
  const auto records = People();
  EXPECT_EQ(records->Field("id"), Variant::Long(1));
  EXPECT_EQ(records->Field("score"), Variant::Double(1.5));
  EXPECT_EQ(records->Field("photo"), Variant(ByteArray{0x00, 0xFF, 0x10}));
  EXPECT_TRUE(records->Field("note").IsNull());
  records->MoveNext();
  EXPECT_EQ(records->Field("id"), Variant::Double(5000000000.0));
  EXPECT_EQ(records->Field("name"), Variant("B\xC3\xA9la"));
  EXPECT_EQ(records->Field("photo"), Variant(ByteArray{}));
  records->MoveNext();
  EXPECT_EQ(records->Field("note"), Variant::Long(42));
  EXPECT_TRUE(records->Field("photo").IsNull());
}

TEST_F(Databases, FieldsAreFoundWithoutCase) {
  const auto records = People();
  EXPECT_THAT(records->FieldNames(), ElementsAre("id", "name", "score", "photo", "note"));
  EXPECT_TRUE(records->HasField("Score"));
  EXPECT_FALSE(records->HasField("scores"));
  EXPECT_RAISES(3265, records->Field("scores"));
  records->MoveLast();
  records->MoveNext();
  EXPECT_RAISES(3265, records->Field("scores"));  // the field is looked up first
}

TEST_F(Databases, SelectStatementsRunAsGiven) {
  const auto records =
      Recordset::Open(database_, "  \n select name AS Who from people WHERE score > 0 ORDER BY name DESC;");
  EXPECT_THAT(records->FieldNames(), ElementsAre("Who"));
  EXPECT_EQ(records->RecordCount(), 2);
  EXPECT_EQ(records->Field("who"), Variant("Cy"));
}

TEST_F(Databases, TableNamesAreQuoted) {
  EXPECT_EQ(Recordset::Open(database_, "we\"ird")->Field("v"), Variant("quoted"));
  EXPECT_EQ(Recordset::Open(database_, "Selections")->Field("v"), Variant("table"));
  EXPECT_EQ(Recordset::Open(database_, " PEOPLE ")->RecordCount(), 3);
}

TEST_F(Databases, SourcesThatDoNotRunRaise3078) {
  for (const char* source : {"", "   ", "nosuch", "SELECT * FROM nosuch", "SELECT name FROM",
                             "people\"; DROP TABLE people; --", "DELETE FROM people",
                             "INSERT INTO empty VALUES(1, 'a')", "SELECT 1; DELETE FROM people",
                             "SELECT 1; SELECT 2"}) {
    SCOPED_TRACE(source);
    EXPECT_RAISES(3078, Recordset::Open(database_, source));
  }
  EXPECT_RAISES(3078, Recordset::Open(database_, std::string("peo\0ple", 7)));
  EXPECT_EQ(People()->RecordCount(), 3);

  const fs::path text = folder_ / "notes.db";
  std::ofstream(text) << "this is not a database, just some text long enough to be read";
  EXPECT_RAISES(3078, Recordset::Open(text.string(), "people"));
}

TEST_F(Databases, StatementsAfterTheSelectAreRefusedNotIgnored) {
  EXPECT_RAISES(3078, Recordset::Open(database_, "SELECT * FROM people; UPDATE people SET id = 0"));
  EXPECT_EQ(People()->Field("id"), Variant::Long(1));
}

TEST_F(Databases, MissingFilesRaise3024) {
  EXPECT_RAISES(3024, Recordset::Open((folder_ / "absent.db").string(), "people"));
  EXPECT_RAISES(3024, Recordset::Open(folder_.string(), "people"));
  EXPECT_RAISES(3024, Recordset::Open("", "people"));
  EXPECT_FALSE(fs::exists(folder_ / "absent.db"));  // never created
}

TEST_F(Databases, TheDatabaseFileIsLeftUntouched) {
  const std::vector<char> before = FileBytes(database_);
  {
    const auto records = People();
    records->MoveLast();
    records->AbsolutePosition(0);
    EXPECT_RAISES(3078, Recordset::Open(database_, "DELETE FROM people"));
  }
  EXPECT_EQ(FileBytes(database_), before);
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(folder_)) {
    files.push_back(entry.path().filename().string());
  }
  EXPECT_THAT(files, ElementsAre("shop.db"));  // no journal or lock files left
}

TEST_F(Databases, SubscribersHearEveryMove) {
  const auto records = People();
  std::vector<std::int32_t> heard;
  const int id = records->Subscribe([&] { heard.push_back(records->AbsolutePosition()); });
  records->MoveNext();
  records->MoveLast();
  records->MoveNext();
  records->AbsolutePosition(1);
  EXPECT_RAISES(3001, records->AbsolutePosition(9));
  records->MoveFirst();
  EXPECT_THAT(heard, ElementsAre(1, 2, -1, 1, 0));

  records->Unsubscribe(id);
  records->Unsubscribe(id + 100);  // unknown ids are ignored
  records->MoveNext();
  EXPECT_EQ(heard.size(), 5u);
}

TEST_F(Databases, SubscribersMayUnsubscribeDuringANotification) {
  const auto records = People();
  int selfCalls = 0;
  int otherCalls = 0;
  int otherId = 0;
  int selfId = 0;
  selfId = records->Subscribe([&] {
    ++selfCalls;
    records->Unsubscribe(selfId);
    records->Unsubscribe(otherId);
  });
  otherId = records->Subscribe([&] { ++otherCalls; });
  records->MoveNext();
  records->MoveNext();
  EXPECT_EQ(selfCalls, 1);
  EXPECT_EQ(otherCalls, 0);
}

TEST_F(Databases, AFailingSubscriberDoesNotSilenceTheOthers) {
  const auto records = People();
  int calls = 0;
  records->Subscribe([] { throw std::runtime_error("bound control failed"); });
  records->Subscribe([&] { ++calls; });
  EXPECT_THROW(records->MoveNext(), std::runtime_error);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(records->AbsolutePosition(), 1);  // the move took effect
}

TEST_F(Databases, ASubscriberMayReleaseTheRecordset) {
  auto records = People();
  Recordset* raw = records.get();
  int calls = 0;
  records->Subscribe([&] { records.reset(); });
  records->Subscribe([&] { ++calls; });
  raw->MoveNext();
  EXPECT_EQ(records, nullptr);
  EXPECT_EQ(calls, 1);
}

TEST_F(Databases, MembersByName) {
  const auto records = People();
  records->CallMethod("movenext");
  EXPECT_EQ(records->GetProperty("AbsolutePosition"), Variant::Long(1));
  EXPECT_EQ(records->GetProperty("recordcount"), Variant::Long(3));
  EXPECT_EQ(records->GetProperty("BOF"), Variant(false));
  records->CallMethod("MoveLast");
  records->CallMethod("MoveNext");
  EXPECT_EQ(records->GetProperty("EOF"), Variant(true));
  records->SetProperty("absoluteposition", Variant::Integer(0));
  EXPECT_EQ(records->AbsolutePosition(), 0);
  records->CallMethod("MovePrevious");
  records->CallMethod("MoveFirst");
  EXPECT_EQ(records->AbsolutePosition(), 0);

  EXPECT_RAISES(3001, records->SetProperty("AbsolutePosition", Variant::Long(7)));
  EXPECT_RAISES(383, records->SetProperty("RecordCount", Variant::Long(7)));
  EXPECT_RAISES(438, records->GetProperty("Fields"));
  EXPECT_RAISES(438, records->SetProperty("Bookmark", Variant::Long(1)));
  EXPECT_RAISES(438, records->CallMethod("Delete"));
  EXPECT_RAISES(5, records->CallMethod("MoveNext", {Variant::Long(2)}));
  EXPECT_EQ(records->TypeName(), "Recordset");
}

}  // namespace
