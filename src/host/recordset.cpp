#include <tavorin/host/recordset.h>

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <limits>
#include <mutex>
#include <string_view>
#include <system_error>

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>

#include "host/ascii_case.h"

namespace tavorin::host {
namespace {

struct DatabaseCloser {
  void operator()(sqlite3* database) const { sqlite3_close_v2(database); }
};
struct StatementFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;
using Statement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// How long a read waits for a writer in another process to let go, at most.
constexpr std::chrono::milliseconds kBusyTimeout{2000};
// Virtual machine steps between two looks at the clock.
constexpr int kStepsPerTimeCheck = 1000;

std::mutex limitsMutex;
RecordsetLimits limitsInForce;

[[noreturn]] void RaiseSourceDoesNotRun() { RaiseHostError(errors::kCannotFindInputTable); }

[[noreturn]] void RaiseRefused(const std::string& why) {
  throw RuntimeError(errors::kCannotFindInputTable, why);
}

// What one Open has spent of the limits.
struct Budget {
  RecordsetLimits limits;
  std::chrono::steady_clock::time_point deadline;
  std::int64_t bytesHeld = 0;
  bool outOfTime = false;

  explicit Budget(const RecordsetLimits& inForce)
      : limits(inForce), deadline(std::chrono::steady_clock::now() + inForce.time) {}

  [[noreturn]] void RaiseOutOfTime() const {
    RaiseRefused("The record source runs past the recordset time limit of " +
                 std::to_string(limits.time.count()) + " ms");
  }
  [[noreturn]] void RaiseTooManyRows() const {
    RaiseRefused("The record source has more rows than the recordset row limit of " +
                 std::to_string(limits.rows));
  }
  [[noreturn]] void RaiseTooManyBytes() const {
    RaiseRefused("The record source holds more than the recordset memory limit of " +
                 std::to_string(limits.bytes) + " bytes");
  }
};

// SQLite's progress handler: a non-zero answer interrupts the statement.
int CheckTime(void* context) {
  Budget& budget = *static_cast<Budget*>(context);
  if (std::chrono::steady_clock::now() < budget.deadline) return 0;
  budget.outOfTime = true;
  return 1;
}

// Says which limit stopped the statement, or what else did.
[[noreturn]] void RaiseFailure(sqlite3* database, const Budget& budget) {
  if (budget.outOfTime) budget.RaiseOutOfTime();
  const int code = sqlite3_errcode(database);
  if (code == SQLITE_TOOBIG) budget.RaiseTooManyBytes();
  if (code == SQLITE_CANTOPEN || code == SQLITE_READONLY) {
    RaiseRefused(std::string("The database cannot be read without creating or changing files "
                             "beside it (") +
                 sqlite3_errmsg(database) + ")");
  }
  RaiseSourceDoesNotRun();
}

std::string_view TrimWhitespace(std::string_view text) {
  constexpr std::string_view kWhitespace = " \t\r\n\f\v";
  const auto first = text.find_first_not_of(kWhitespace);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kWhitespace) - first + 1);
}

// "SELECT" as a whole word, so that a table called "Selections" stays a table.
bool BeginsWithSelect(std::string_view source) {
  constexpr std::string_view kSelect = "select";
  if (source.size() < kSelect.size() ||
      !detail::EqualsIgnoringCase(source.substr(0, kSelect.size()), kSelect)) {
    return false;
  }
  if (source.size() == kSelect.size()) return true;
  const char next = source[kSelect.size()];
  const bool wordGoesOn = (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z') ||
                          (next >= '0' && next <= '9') || next == '_' ||
                          static_cast<unsigned char>(next) >= 0x80;
  return !wordGoesOn;
}

// A table name becomes a quoted identifier with its quotes doubled, so no
// name can end the identifier early and add SQL of its own.
std::string QueryFor(std::string_view source) {
  if (BeginsWithSelect(source)) return std::string(source);
  std::string query = "SELECT * FROM \"";
  for (const char c : source) {
    query += c;
    if (c == '"') query += '"';
  }
  query += '"';
  return query;
}

// Whether the file's header marks a database in write-ahead-log mode.
bool IsWalDatabase(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  char header[20] = {};
  if (!file.read(header, sizeof header)) return false;
  constexpr std::string_view kMagic("SQLite format 3\0", 16);
  return std::string_view(header, kMagic.size()) == kMagic && header[19] == 2;
}

bool IsNonEmptyFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) &&
         std::filesystem::file_size(path, error) > 0 && !error;
}

// How SQLite must open the database so that it creates and changes nothing
// beside it: a reader of a WAL database would otherwise create the log and
// its shared-memory index, and write into the index.
std::string ReadOnlyOptions(const std::string& path) {
  if (!IsWalDatabase(path)) return "mode=ro";
  // An empty or absent log holds nothing the database file lacks.
  if (!IsNonEmptyFile(path + "-wal")) return "mode=ro&immutable=1";
  std::error_code error;
  if (std::filesystem::is_regular_file(path + "-shm", error)) return "mode=ro&readonly_shm=1";
  RaiseRefused(
      "The database cannot be read without creating files beside it: its write-ahead log has "
      "no shared-memory file");
}

// The path as a file: URI, every byte outside the unreserved set escaped,
// so that no character of it is taken for a query of options.
std::string FileUri(const std::string& absolute, const std::string& options) {
  std::string uri = "file:";
  for (const char c : absolute) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
      uri += c;
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", byte);
      uri += escaped;
    }
  }
  return uri + "?" + options;
}

Database OpenReadOnly(const std::string& databasePath, Budget& budget) {
  std::error_code error;
  if (databasePath.empty() || databasePath.find('\0') != std::string::npos ||
      !std::filesystem::is_regular_file(databasePath, error)) {
    RaiseHostError(errors::kCouldNotFindFile);
  }
  const std::string absolute = std::filesystem::absolute(databasePath, error).string();
  if (error) RaiseHostError(errors::kCouldNotFindFile);
  const std::string uri = FileUri(absolute, ReadOnlyOptions(absolute));
  sqlite3* raw = nullptr;
  const int opened =
      sqlite3_open_v2(uri.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
  Database database(raw);
  if (opened != SQLITE_OK) RaiseHostError(errors::kCouldNotFindFile);
  sqlite3_busy_timeout(database.get(),
                       static_cast<int>(std::min(kBusyTimeout, budget.limits.time).count()));
  sqlite3_progress_handler(database.get(), kStepsPerTimeCheck, CheckTime, &budget);
  // No value larger than the whole budget is ever built.
  sqlite3_limit(database.get(), SQLITE_LIMIT_LENGTH,
                static_cast<int>(
                    std::min<std::int64_t>(budget.limits.bytes, std::numeric_limits<int>::max())));
  // Closing must not try to fold the log into the database file.
  sqlite3_db_config(database.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
#ifdef SQLITE_DBCONFIG_TRUSTED_SCHEMA
  // A database file from elsewhere must not get its views or triggers to
  // call functions with side effects.
  sqlite3_db_config(database.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
#endif
  return database;
}

Statement PrepareReadOnly(sqlite3* database, const std::string& query, const Budget& budget) {
  if (query.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    RaiseSourceDoesNotRun();
  }
  sqlite3_stmt* raw = nullptr;
  const char* tail = nullptr;
  const int prepared =
      sqlite3_prepare_v2(database, query.c_str(), static_cast<int>(query.size()), &raw, &tail);
  Statement statement(raw);
  if (prepared != SQLITE_OK) RaiseFailure(database, budget);
  if (!statement || !sqlite3_stmt_readonly(statement.get())) RaiseSourceDoesNotRun();
  const std::string_view rest(tail, static_cast<std::size_t>(query.data() + query.size() - tail));
  if (!TrimWhitespace(rest).empty()) RaiseSourceDoesNotRun();
  return statement;
}

Variant ColumnValue(sqlite3_stmt* statement, int column) {
  switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER: {
      const sqlite3_int64 value = sqlite3_column_int64(statement, column);
      if (value >= std::numeric_limits<std::int32_t>::min() &&
          value <= std::numeric_limits<std::int32_t>::max()) {
        return Variant::Long(static_cast<std::int32_t>(value));
      }
      return Variant::Double(static_cast<double>(value));
    }
    case SQLITE_FLOAT:
      return Variant::Double(sqlite3_column_double(statement, column));
    case SQLITE_TEXT: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
      const int length = sqlite3_column_bytes(statement, column);
      return Variant::String(text ? std::string(text, static_cast<std::size_t>(length)) : "");
    }
    case SQLITE_BLOB: {
      const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement, column));
      const int length = sqlite3_column_bytes(statement, column);
      return Variant::Bytes(bytes ? ByteArray(bytes, bytes + length) : ByteArray());
    }
    default:
      return Variant::Null();
  }
}

// What a value costs in memory, roughly: its own size and what it points to.
std::int64_t HeldBytes(const Variant& value) {
  std::size_t bytes = sizeof value;
  if (const auto* text = value.Get<std::string>()) bytes += text->size();
  if (const auto* blob = value.Get<ByteArray>()) bytes += blob->size();
  return static_cast<std::int64_t>(bytes);
}

struct PropertyReader {
  const char* name;
  Variant (*read)(const Recordset&);
};
const PropertyReader kPropertyReaders[] = {
    {"AbsolutePosition", [](const Recordset& r) { return Variant::Long(r.AbsolutePosition()); }},
    {"BOF", [](const Recordset& r) { return Variant::Boolean(r.BOF()); }},
    {"EOF", [](const Recordset& r) { return Variant::Boolean(r.IsEOF()); }},
    {"RecordCount", [](const Recordset& r) { return Variant::Long(r.RecordCount()); }},
};

struct Move {
  const char* name;
  void (Recordset::*move)();
};
const Move kMoves[] = {
    {"MoveNext", &Recordset::MoveNext},
    {"MovePrevious", &Recordset::MovePrevious},
    {"MoveFirst", &Recordset::MoveFirst},
    {"MoveLast", &Recordset::MoveLast},
};

template <typename Entry, std::size_t Count>
const Entry* FindByName(const Entry (&table)[Count], std::string_view name) {
  const auto found = std::find_if(std::begin(table), std::end(table), [&](const Entry& entry) {
    return detail::EqualsIgnoringCase(entry.name, name);
  });
  return found == std::end(table) ? nullptr : found;
}

// The first field called `name`, compared without case.
std::vector<std::string>::const_iterator FindField(const std::vector<std::string>& fieldNames,
                                                   std::string_view name) {
  return std::find_if(fieldNames.begin(), fieldNames.end(), [&](const std::string& field) {
    return detail::EqualsIgnoringCase(field, name);
  });
}

}  // namespace

RecordsetLimits GetRecordsetLimits() {
  const std::lock_guard lock(limitsMutex);
  return limitsInForce;
}

void SetRecordsetLimits(const RecordsetLimits& limits) {
  if (limits.time.count() <= 0 || limits.rows <= 0 || limits.bytes <= 0) {
    RaiseHostError(errors::kInvalidProcedureCall);
  }
  const std::lock_guard lock(limitsMutex);
  limitsInForce = limits;
}

std::shared_ptr<Recordset> Recordset::Open(const std::string& databasePath,
                                           const std::string& recordSource) {
  Budget budget(GetRecordsetLimits());  // outlives the database, whose handler it is
  const Database database = OpenReadOnly(databasePath, budget);
  const std::string_view source = TrimWhitespace(recordSource);
  if (source.empty() || source.find('\0') != std::string_view::npos) RaiseSourceDoesNotRun();
  const Statement statement = PrepareReadOnly(database.get(), QueryFor(source), budget);

  const int columns = sqlite3_column_count(statement.get());
  std::vector<std::string> fieldNames;
  for (int column = 0; column < columns; ++column) {
    const char* name = sqlite3_column_name(statement.get(), column);
    fieldNames.emplace_back(name ? name : "");
  }
  std::vector<std::vector<Variant>> rows;
  int stepped = SQLITE_ROW;
  while ((stepped = sqlite3_step(statement.get())) == SQLITE_ROW) {
    if (rows.size() >= static_cast<std::size_t>(budget.limits.rows)) budget.RaiseTooManyRows();
    std::vector<Variant> row;
    row.reserve(static_cast<std::size_t>(columns));
    budget.bytesHeld += static_cast<std::int64_t>(sizeof row);
    for (int column = 0; column < columns; ++column) {
      row.push_back(ColumnValue(statement.get(), column));
      budget.bytesHeld += HeldBytes(row.back());
    }
    if (budget.bytesHeld > budget.limits.bytes) budget.RaiseTooManyBytes();
    rows.push_back(std::move(row));
  }
  if (stepped != SQLITE_DONE) RaiseFailure(database.get(), budget);
  return std::shared_ptr<Recordset>(new Recordset(std::move(fieldNames), std::move(rows)));
}

Recordset::Recordset(std::vector<std::string> fieldNames, std::vector<std::vector<Variant>> rows)
    : field_names_(std::move(fieldNames)), rows_(std::move(rows)) {}

std::int32_t Recordset::AbsolutePosition() const {
  return BOF() || IsEOF() ? -1 : static_cast<std::int32_t>(position_);
}

void Recordset::AbsolutePosition(std::int32_t position) {
  if (position < 0 || position >= RecordCount()) RaiseHostError(errors::kInvalidArgument);
  MoveTo(position);
}

void Recordset::MoveNext() {
  if (IsEOF()) RaiseHostError(errors::kNoCurrentRecord);
  MoveTo(position_ + 1);
}

void Recordset::MovePrevious() {
  if (BOF()) RaiseHostError(errors::kNoCurrentRecord);
  MoveTo(position_ - 1);
}

void Recordset::MoveFirst() {
  if (rows_.empty()) RaiseHostError(errors::kNoCurrentRecord);
  MoveTo(0);
}

void Recordset::MoveLast() {
  if (rows_.empty()) RaiseHostError(errors::kNoCurrentRecord);
  MoveTo(RecordCount() - 1);
}

bool Recordset::BOF() const { return rows_.empty() || position_ < 0; }

bool Recordset::IsEOF() const {
  return rows_.empty() || position_ >= static_cast<std::int64_t>(rows_.size());
}

std::int32_t Recordset::RecordCount() const { return static_cast<std::int32_t>(rows_.size()); }

bool Recordset::HasField(const std::string& name) const {
  return FindField(field_names_, name) != field_names_.end();
}

Variant Recordset::Field(const std::string& name) const {
  const auto field = FindField(field_names_, name);
  if (field == field_names_.end()) RaiseHostError(errors::kItemNotFound);
  if (AbsolutePosition() < 0) RaiseHostError(errors::kNoCurrentRecord);
  return rows_[static_cast<std::size_t>(position_)]
              [static_cast<std::size_t>(field - field_names_.begin())];
}

int Recordset::Subscribe(std::function<void()> onMove) {
  const int id = next_subscriber_id_++;
  subscribers_.emplace_back(id, std::move(onMove));
  return id;
}

void Recordset::Unsubscribe(int id) {
  std::erase_if(subscribers_, [id](const auto& subscriber) { return subscriber.first == id; });
}

void Recordset::MoveTo(std::int64_t position) {
  position_ = position;
  // A callback may drop the last reference to this recordset (a Data control
  // refreshing itself), or change the subscriptions: keep both alive here.
  const ObjectRef keepAlive = shared_from_this();
  const auto subscribers = subscribers_;
  std::exception_ptr firstFailure;
  for (const auto& [id, onMove] : subscribers) {
    const bool stillSubscribed =
        std::any_of(subscribers_.begin(), subscribers_.end(),
                    [id = id](const auto& subscriber) { return subscriber.first == id; });
    if (!stillSubscribed) continue;
    try {
      onMove();
    } catch (...) {
      if (!firstFailure) firstFailure = std::current_exception();
    }
  }
  if (firstFailure) std::rethrow_exception(firstFailure);
}

Variant Recordset::GetProperty(const std::string& name) const {
  if (const PropertyReader* reader = FindByName(kPropertyReaders, name)) return reader->read(*this);
  return Object::GetProperty(name);
}

void Recordset::SetProperty(const std::string& name, const Variant& value) {
  if (detail::EqualsIgnoringCase(name, "AbsolutePosition")) {
    AbsolutePosition(CLng(value));
    return;
  }
  if (FindByName(kPropertyReaders, name)) RaiseHostError(errors::kPropertyReadOnly);
  Object::SetProperty(name, value);
}

Variant Recordset::CallMethod(const std::string& name, const std::vector<Variant>& args) {
  const Move* move = FindByName(kMoves, name);
  if (!move) return Object::CallMethod(name, args);
  if (!args.empty()) RaiseHostError(errors::kInvalidProcedureCall);
  (this->*(move->move))();
  return Variant();
}

}  // namespace tavorin::host
