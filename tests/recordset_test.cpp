// Recordsets over databases built with plain SQL: navigation, typed values,
// refused sources, the file left untouched, and move notifications.
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tavorin/tavorin.h>

#include "support/files.h"
#include "support/raises.h"
#include "support/scratch_folder.h"
#include "support/sqlite_database.h"

namespace {

using tavorin::host::ByteArray;
using tavorin::host::Recordset;
using tavorin::host::Variant;
using ::testing::ElementsAre;

class Databases : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MakeDatabase(
        database_,
        "CREATE TABLE people(id INTEGER, name TEXT, score REAL, photo BLOB, note);"
        "INSERT INTO people VALUES(1, 'Ada', 1.5, x'00FF10', NULL);"
        "INSERT INTO people VALUES(5000000000, 'B\xC3\xA9la', -2.0, x'', 'x');"
        "INSERT INTO people VALUES(-7, 'Cy', 3.25, NULL, 42);"
        "CREATE TABLE empty(id INTEGER, label TEXT);"
        "CREATE TABLE \"we\"\"ird\"(v TEXT); INSERT INTO \"we\"\"ird\" VALUES('quoted');"
        "CREATE TABLE Selections(v TEXT); INSERT INTO Selections VALUES('table');"));
  }

  std::shared_ptr<Recordset> People() { return Recordset::Open(database_, "people"); }

  ScratchFolder scratch_;
  const std::string database_ = (scratch_.Path() / "shop.db").string();
};

TEST_F(Databases, NavigatesWithBofAndEofInsideTheRecords) {
  const auto records = People();
  EXPECT_EQ(records->RecordCount(), 3);
  EXPECT_EQ(records->AbsolutePosition(), 0);
  EXPECT_FALSE(records->BOF() || records->IsEOF());
  records->MoveNext();
  records->MoveNext();
  EXPECT_EQ(records->Field("NAME"), Variant("Cy"));
  records->MoveNext();
  EXPECT_TRUE(records->IsEOF());
  EXPECT_EQ(records->AbsolutePosition(), -1);
  EXPECT_RAISES(3021, records->Field("name"));
  EXPECT_RAISES(3021, records->MoveNext());
  records->MovePrevious();
  EXPECT_EQ(records->AbsolutePosition(), 2);
  records->MoveFirst();
  records->MovePrevious();
  EXPECT_TRUE(records->BOF());
  EXPECT_FALSE(records->IsEOF());
  EXPECT_RAISES(3021, records->MovePrevious());
  records->MoveNext();
  EXPECT_EQ(records->AbsolutePosition(), 0);
  records->MoveLast();
  EXPECT_EQ(records->AbsolutePosition(), 2);

  for (const std::int32_t outside : {3, -1, 1000}) {
    EXPECT_RAISES(3001, records->AbsolutePosition(outside));
    EXPECT_EQ(records->AbsolutePosition(), 2);
  }
  records->MoveNext();
  records->AbsolutePosition(1);  // leaves EOF
  EXPECT_FALSE(records->IsEOF());
  EXPECT_EQ(records->Field("id"), Variant::Double(5000000000.0));
}

TEST_F(Databases, EmptyTableHasNoCurrentRecord) {
  const auto records = Recordset::Open(database_, "empty");
  EXPECT_EQ(records->RecordCount(), 0);
  EXPECT_TRUE(records->BOF() && records->IsEOF());
  EXPECT_EQ(records->AbsolutePosition(), -1);
  EXPECT_THAT(records->FieldNames(), ElementsAre("id", "label"));
  EXPECT_RAISES(3021, records->MoveFirst());
  EXPECT_RAISES(3021, records->MoveLast());
  EXPECT_RAISES(3021, records->MoveNext());
  EXPECT_RAISES(3021, records->MovePrevious());
  EXPECT_RAISES(3001, records->AbsolutePosition(0));
  EXPECT_RAISES(3021, records->Field("label"));
  EXPECT_RAISES(3265, records->Field("nothing"));  // the field is looked up first
}

TEST_F(Databases, ValuesKeepTheirTypesAndFieldsAreFoundWithoutCase) {
  const auto records = People();
  EXPECT_THAT(records->FieldNames(), ElementsAre("id", "name", "score", "photo", "note"));
  EXPECT_TRUE(records->HasField("Score"));
  EXPECT_FALSE(records->HasField("scores"));
  EXPECT_RAISES(3265, records->Field("scores"));
  EXPECT_EQ(records->Field("id"), Variant::Long(1));
  EXPECT_EQ(records->Field("score"), Variant::Double(1.5));
  EXPECT_EQ(records->Field("photo"), Variant(ByteArray{0x00, 0xFF, 0x10}));
  EXPECT_TRUE(records->Field("note").IsNull());
  records->MoveNext();
  EXPECT_EQ(records->Field("name"), Variant("B\xC3\xA9la"));
  EXPECT_EQ(records->Field("photo"), Variant(ByteArray{}));
  records->MoveNext();
  EXPECT_EQ(records->Field("note"), Variant::Long(42));
  EXPECT_TRUE(records->Field("photo").IsNull());
}

TEST_F(Databases, OpensSelectsAndQuotedTableNames) {
  const auto who = Recordset::Open(
      database_, "  \n select name AS Who from people WHERE score > 0 ORDER BY name DESC;");
  EXPECT_THAT(who->FieldNames(), ElementsAre("Who"));
  EXPECT_EQ(who->RecordCount(), 2);
  EXPECT_EQ(who->Field("who"), Variant("Cy"));
  EXPECT_EQ(Recordset::Open(database_, "we\"ird")->Field("v"), Variant("quoted"));
  EXPECT_EQ(Recordset::Open(database_, "Selections")->Field("v"), Variant("table"));
  EXPECT_EQ(Recordset::Open(database_, " PEOPLE ")->RecordCount(), 3);
}

TEST_F(Databases, RefusedSourcesAndFilesLeaveTheDatabaseUntouched) {
  const ByteArray before = tavorin::testing::ReadFile(database_);
  for (const char* source :
       {"", "   ", "nosuch", "SELECT * FROM nosuch", "SELECT name FROM",
        "people\"; DROP TABLE people; --", "DELETE FROM people", "INSERT INTO empty VALUES(1, 'a')",
        "SELECT 1; DELETE FROM people", "SELECT 1; SELECT 2",
        "SELECT * FROM people; UPDATE people SET id = 0"}) {
    SCOPED_TRACE(source);
    EXPECT_RAISES(3078, Recordset::Open(database_, source));
  }
  EXPECT_RAISES(3078, Recordset::Open(database_, std::string("peo\0ple", 7)));
  {
    const auto records = People();
    records->MoveLast();
    records->AbsolutePosition(0);
  }
  EXPECT_EQ(tavorin::testing::ReadFile(database_), before);
  EXPECT_THAT(tavorin::testing::Listing(scratch_.Path()),
              ElementsAre("shop.db"));  // no journal left

  EXPECT_RAISES(3024, Recordset::Open((scratch_.Path() / "absent.db").string(), "people"));
  EXPECT_RAISES(3024, Recordset::Open(scratch_.Path().string(), "people"));
  EXPECT_RAISES(3024, Recordset::Open("", "people"));
  const std::string text = (scratch_.Path() / "notes.db").string();
  tavorin::testing::WriteFile(text, ByteArray(64, 'x'));
  EXPECT_RAISES(3078, Recordset::Open(text, "people"));
  EXPECT_THAT(tavorin::testing::Listing(scratch_.Path()), ElementsAre("notes.db", "shop.db"));
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

TEST_F(Databases, SubscribersMayUnsubscribeOrReleaseDuringANotification) {
  auto records = People();
  int selfCalls = 0, otherCalls = 0, otherId = 0, selfId = 0;
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

  Recordset* raw = records.get();
  records->Subscribe([&] { records.reset(); });
  records->Subscribe([&] { ++otherCalls; });
  raw->MoveNext();
  EXPECT_EQ(records, nullptr);
  EXPECT_EQ(otherCalls, 1);
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

TEST_F(Databases, MembersByName) {
  const auto records = People();
  records->CallMethod("movenext");
  EXPECT_EQ(records->GetProperty("AbsolutePosition"), Variant::Long(1));
  EXPECT_EQ(records->GetProperty("recordcount"), Variant::Long(3));
  EXPECT_EQ(records->GetProperty("BOF"), Variant(false));
  records->CallMethod("MoveLast");
  records->CallMethod("MoveNext");
  EXPECT_EQ(records->GetProperty("EOF"), Variant(true));
  records->SetProperty("absoluteposition", Variant::Integer(2));
  records->CallMethod("MovePrevious");
  EXPECT_EQ(records->AbsolutePosition(), 1);
  records->CallMethod("MoveFirst");
  EXPECT_EQ(records->AbsolutePosition(), 0);
  EXPECT_RAISES(3001, records->SetProperty("AbsolutePosition", Variant::Long(7)));
  EXPECT_RAISES(383, records->SetProperty("RecordCount", Variant::Long(7)));
  EXPECT_RAISES(438, records->GetProperty("Fields"));
  EXPECT_RAISES(438, records->CallMethod("Delete"));
  EXPECT_RAISES(5, records->CallMethod("MoveNext", {Variant::Long(2)}));
  EXPECT_EQ(records->TypeName(), "Recordset");
}

TEST_F(Databases, APathIsNeverReadAsOptions) {
  // SQLite takes the path as a URI, where ?, # and % would start options,
  // a fragment or an escape.
  const std::filesystem::path folder = scratch_.Path() / "a?mode=rwc#b%41 c";
  std::filesystem::create_directory(folder);
  const std::string path = (folder / "x.db").string();
  ASSERT_TRUE(MakeDatabase(path, "CREATE TABLE t(v); INSERT INTO t VALUES(7);"));
  EXPECT_EQ(Recordset::Open(path, "t")->Field("v"), Variant::Long(7));
}

// What a refused Open said; empty when it was not refused with 3078.
std::string RefusalOf(const std::function<void()>& open) {
  try {
    open();
  } catch (const tavorin::host::RuntimeError& error) {
    if (error.Number() == 3078) return error.Description();
  }
  return "";
}

TEST_F(Databases, HostileSourcesAreRefusedAtTheLimitTheyReach) {
  ASSERT_TRUE(MakeDatabase(
      database_,
      "CREATE VIEW endless AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
      "SELECT i FROM n;"
      "CREATE VIEW stuck AS SELECT count(*) AS c FROM endless;"
      "CREATE VIEW huge AS SELECT zeroblob(900000000) AS b;"
      "CREATE VIEW wide AS SELECT printf('%.*c', 1000, 'x') AS t FROM endless LIMIT 5000;"));
  {
    const ScopedRecordsetLimits narrow({std::chrono::milliseconds(300), 10000, 1 << 20});
    const struct {
      const char* source;
      const char* limit;
    } cases[] = {
        {"endless", "row limit of 10000"},
        {"stuck", "time limit of 300 ms"},
        {"huge", "memory limit of 1048576 bytes"},
        {"wide", "memory limit of 1048576 bytes"},
    };
    for (const auto& c : cases) {
      const auto started = std::chrono::steady_clock::now();
      const std::string refusal = RefusalOf([&] { Recordset::Open(database_, c.source); });
      EXPECT_THAT(refusal, ::testing::HasSubstr(c.limit)) << c.source;
      EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << c.source;
    }
    EXPECT_EQ(People()->RecordCount(), 3) << "a source within the limits";
  }
  // The defaults alone keep a gigabyte value from ever being built.
  EXPECT_THAT(RefusalOf([&] { Recordset::Open(database_, "huge"); }),
              ::testing::HasSubstr("memory limit"));

  const tavorin::host::RecordsetLimits before = tavorin::host::GetRecordsetLimits();
  for (const tavorin::host::RecordsetLimits& bad :
       {tavorin::host::RecordsetLimits{std::chrono::milliseconds(0), 1, 1},
        tavorin::host::RecordsetLimits{std::chrono::milliseconds(1), 0, 1},
        tavorin::host::RecordsetLimits{std::chrono::milliseconds(1), 1, -1}}) {
    EXPECT_RAISES(5, tavorin::host::SetRecordsetLimits(bad));
  }
  EXPECT_EQ(tavorin::host::GetRecordsetLimits().rows, before.rows);
}

// Each file of `folder` by name, with its bytes.
std::map<std::string, ByteArray> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, ByteArray> files;
  for (const std::string& name : tavorin::testing::Listing(folder)) {
    files[name] = tavorin::testing::ReadFile(folder / name);
  }
  return files;
}

TEST_F(Databases, WalDatabasesAreReadWithoutTouchingTheirFolder) {
  namespace fs = std::filesystem;
  const char* sql = "CREATE TABLE t(v TEXT); INSERT INTO t VALUES('in the log');";
  const struct {
    const char* name;
    bool keepLog;
    bool dropIndex;
    const char* refusal;  // nullptr: readable
  } cases[] = {
      {"checkpointed", false, false, nullptr},
      {"with-its-log", true, false, nullptr},
      {"log-without-index", true, true, "without creating files beside it"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path folder = scratch_.Path() / c.name;
    fs::create_directory(folder);
    const std::string path = (folder / "w.db").string();
    ASSERT_TRUE(MakeWalDatabase(path, sql, c.keepLog));
    if (c.dropIndex) fs::remove(path + "-shm");
    EXPECT_EQ(fs::exists(path + "-wal"), c.keepLog);
    // Root writes into a folder without write bits all the same: the
    // snapshot is what shows that nothing was created or changed.
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    const auto before = Snapshot(folder);
    if (c.refusal == nullptr) {
      EXPECT_EQ(Recordset::Open(path, "t")->Field("v"), Variant("in the log"));
    } else {
      EXPECT_THAT(RefusalOf([&] { Recordset::Open(path, "t"); }), ::testing::HasSubstr(c.refusal));
    }
    EXPECT_EQ(Snapshot(folder), before);
    fs::permissions(folder, fs::perms::owner_all);
  }
}

}  // namespace
