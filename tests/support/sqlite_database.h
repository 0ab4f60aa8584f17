// Makes an SQLite database file from plain SQL, for tests of the Data control
// and its recordsets.
#pragma once

#include <sqlite3.h>

#include <string>

#include <gtest/gtest.h>

#include <tavorin/host/recordset.h>

namespace tavorin::testing::detail {

inline ::testing::AssertionResult RunSql(const std::string& path, const std::string& sql,
                                         bool keepLog) {
  sqlite3* database = nullptr;
  if (sqlite3_open(path.c_str(), &database) != SQLITE_OK) {
    sqlite3_close(database);
    return ::testing::AssertionFailure() << "cannot open " << path;
  }
  if (keepLog) sqlite3_db_config(database, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  char* message = nullptr;
  const int result = sqlite3_exec(database, sql.c_str(), nullptr, nullptr, &message);
  const std::string error = message != nullptr ? message : "";
  sqlite3_free(message);
  sqlite3_close(database);
  if (result != SQLITE_OK) return ::testing::AssertionFailure() << error;
  return ::testing::AssertionSuccess();
}

}  // namespace tavorin::testing::detail

/// Creates (or extends) the database at `path` by running `sql`.
inline ::testing::AssertionResult MakeDatabase(const std::string& path, const char* sql) {
  return tavorin::testing::detail::RunSql(path, sql, false);
}

/// Creates the database at `path` in write-ahead-log mode by running `sql`.
/// With `keepLog` what `sql` wrote stays in the log and its shared-memory
/// index beside the file, as a writer that has not checkpointed leaves them.
inline ::testing::AssertionResult MakeWalDatabase(const std::string& path, const char* sql,
                                                  bool keepLog) {
  return tavorin::testing::detail::RunSql(
      path, std::string("PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;") + sql, keepLog);
}

/// The recordset limits of the process narrowed for one test, and put back.
class ScopedRecordsetLimits {
 public:
  explicit ScopedRecordsetLimits(const tavorin::host::RecordsetLimits& limits)
      : saved_(tavorin::host::GetRecordsetLimits()) {
    tavorin::host::SetRecordsetLimits(limits);
  }
  ~ScopedRecordsetLimits() { tavorin::host::SetRecordsetLimits(saved_); }
  ScopedRecordsetLimits(const ScopedRecordsetLimits&) = delete;
  ScopedRecordsetLimits& operator=(const ScopedRecordsetLimits&) = delete;

 private:
  tavorin::host::RecordsetLimits saved_;
};
