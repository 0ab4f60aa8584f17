// Recordset: the rows that a Data control shows, read from an SQLite
// database, with a current record that moves like the runtime's.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <tavorin/host/object.h>

namespace tavorin::host {

/// What reading one record source may spend. A database from elsewhere can
/// hold a view that recurses without end or a value of a gigabyte; a source
/// that needs more than these is refused with 3078, its description naming
/// the limit it reached, and nothing of it is kept.
struct RecordsetLimits {
  /// Running the query, waiting for another process's lock included.
  std::chrono::milliseconds time{10'000};
  /// Rows read; a Long counts them, so at most 2,147,483,647.
  std::int32_t rows = 1'000'000;
  /// Memory the rows hold: the bytes of every text and blob, plus a fixed
  /// cost for every value and row. No single value may be larger either, so
  /// SQLite never builds one that would be refused.
  std::int64_t bytes = std::int64_t{256} << 20;
};

/// The limits of every Recordset::Open (and so of every Data control's
/// Refresh) in the process; the defaults are those above. Thread-safe.
RecordsetLimits GetRecordsetLimits();
/// Raises 5 when a limit is not positive; the limits in force stay then.
void SetRecordsetLimits(const RecordsetLimits& limits);

/// A read-only, in-memory snapshot of a table or a SELECT, with the
/// runtime's navigation rules: a recordset with rows starts on its first
/// record; moving past the last record leaves it at EOF (no current record)
/// and moving before the first at BOF; an empty recordset is at BOF and EOF.
/// Not thread-safe: use one recordset from one thread at a time.
///
/// By name: properties AbsolutePosition (read and write), BOF, EOF and
/// RecordCount; methods MoveNext, MovePrevious, MoveFirst and MoveLast
/// (5 when given arguments); names compare without case; 438 otherwise.
class Recordset : public Object {
 public:
  /// Reads `recordSource` from the SQLite database at the native path
  /// `databasePath`, opened read-only (never created, never written), and
  /// closes the database again: every row is held in memory, so the file is
  /// not kept open or locked while the recordset lives, and moving through it
  /// cannot fail on I/O.
  /// Nothing is ever created or changed in the database's folder: a database
  /// in write-ahead-log mode is read as unchangeable when its log is empty,
  /// and through its existing shared-memory file, opened read-only,
  /// otherwise. A log without that file cannot be read so; that is refused
  /// with 3078 and a description that says why.
  /// `recordSource` is a table name (any text, quoted safely) or a statement
  /// that begins with the word SELECT, which runs as given.
  /// Raises 3024 when `databasePath` is no file, and 3078 when the source does
  /// not run: an empty source, an unknown table, a statement that fails, is
  /// not read-only or holds more than one statement, a file that is no
  /// database, or a source past the RecordsetLimits in force.
  /// Column values become Long (integers that fit in 32 bits), Double (other
  /// integers and reals), String, a byte array (blobs) or Null.
  static std::shared_ptr<Recordset> Open(const std::string& databasePath,
                                         const std::string& recordSource);

  std::string TypeName() const override { return "Recordset"; }

  /// The current record counted from 0; -1 when there is none.
  std::int32_t AbsolutePosition() const;
  /// Moves to record `position`; raises 3001 outside 0 to RecordCount - 1
  /// and stays where it was.
  void AbsolutePosition(std::int32_t position);

  /// Raise 3021 when already at EOF (MoveNext) or BOF (MovePrevious).
  void MoveNext();
  void MovePrevious();
  /// Raise 3021 on an empty recordset.
  void MoveFirst();
  void MoveLast();

  bool BOF() const;
  /// The runtime's EOF; named so because <cstdio> makes EOF a macro.
  bool IsEOF() const;
  std::int32_t RecordCount() const;

  /// The column names in source order.
  const std::vector<std::string>& FieldNames() const { return field_names_; }
  /// Whether a column is called `name` (compared without case).
  bool HasField(const std::string& name) const;
  /// The value of field `name` in the current record. Raises 3265 for an
  /// unknown field, then 3021 when there is no current record.
  Variant Field(const std::string& name) const;

  /// Calls `onMove` after every successful move or assignment of
  /// AbsolutePosition (even one that stays on the same record), in
  /// subscription order. Returns the id that Unsubscribe takes. A callback
  /// may unsubscribe itself or others; one removed during a notification is
  /// not called afterwards. When callbacks throw, the others still run and
  /// the first exception is rethrown to the caller of the move, which has
  /// taken effect.
  int Subscribe(std::function<void()> onMove);
  /// Unknown ids are ignored.
  void Unsubscribe(int id);

  using Object::CallMethod;
  using Object::GetProperty;
  using Object::SetProperty;
  Variant GetProperty(const std::string& name) const override;
  void SetProperty(const std::string& name, const Variant& value) override;
  Variant CallMethod(const std::string& name, const std::vector<Variant>& args = {}) override;

 private:
  Recordset(std::vector<std::string> fieldNames, std::vector<std::vector<Variant>> rows);

  // Sets the position and tells the subscribers.
  void MoveTo(std::int64_t position);

  std::vector<std::string> field_names_;
  std::vector<std::vector<Variant>> rows_;
  // -1 is BOF, rows_.size() is EOF, anything between a current record.
  std::int64_t position_ = 0;
  std::vector<std::pair<int, std::function<void()>>> subscribers_;
  int next_subscriber_id_ = 1;
};

}  // namespace tavorin::host
