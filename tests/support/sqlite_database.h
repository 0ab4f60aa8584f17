// Makes an SQLite database file from plain SQL, for tests of the Data control
// and its recordsets.
#pragma once

#include <sqlite3.h>

#include <string>

#include <gtest/gtest.h>

/// Creates (or extends) the database at `path` by running `sql`.
inline ::testing::AssertionResult MakeDatabase(const std::string& path, const char* sql) {
  sqlite3* database = nullptr;
  if (sqlite3_open(path.c_str(), &database) != SQLITE_OK) {
    sqlite3_close(database);
    return ::testing::AssertionFailure() << "cannot open " << path;
  }
  char* message = nullptr;
  const int result = sqlite3_exec(database, sql, nullptr, nullptr, &message);
  const std::string error = message != nullptr ? message : "";
  sqlite3_free(message);
  sqlite3_close(database);
  if (result != SQLITE_OK) return ::testing::AssertionFailure() << error;
  return ::testing::AssertionSuccess();
}
