#include "classes/data.h"

#include <cstdint>
#include <memory>

#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>
#include <tavorin/host/recordset.h>

#include "classes/engine.h"
#include "groups/best_effort.h"
#include "groups/members.h"

namespace tavorin::detail {
namespace {

// Raises when the control has no open recordset, so that no position is
// taken from it. The engine hands the steps the runtime's Data control only.
std::int32_t CurrentRecord(const host::Control& control) {
  const std::shared_ptr<host::Recordset> records =
      static_cast<const host::Data&>(control).Recordset();
  RequireObject(records);
  return records->AbsolutePosition();
}

// The refresh's own failure (a missing database, a source that does not run)
// reaches the caller unchanged; the callers go on without it.
void RefreshData(host::Control& control) { control.CallMethod("Refresh"); }

void PositionRecordset(host::Control& control, std::int32_t position) {
  host::ObjectRef records;
  if (!TryStep([&] {
        records = RequireObject(control.GetProperty("Recordset").AsObject());
        records->GetProperty("AbsolutePosition");
      })) {
    return;
  }
  // One step forward and back settles a rebuilt recordset on a record before
  // it is moved.
  TryStep([&] { records->CallMethod("MoveNext"); });
  TryStep([&] { records->CallMethod("MovePrevious"); });
  if (position >= 0) {
    // A position past the last record leaves it where the moves did.
    TryStep([&] { records->SetProperty("AbsolutePosition", position); });
    return;
  }
  // A control that stood on no record comes back on none: past the last
  // one, where its bound controls show nothing.
  TryStep([&] { records->CallMethod("MoveLast"); });
  TryStep([&] { records->CallMethod("MoveNext"); });
}

void CopyData(CopyCall& call) {
  call.CommonProperties();
  TryStep([&] { RefreshData(call.Destination()); });
  TryStep([&] { PositionRecordset(call.Destination(), CurrentRecord(call.Source())); });
}

void WriteData(WriteCall& call) {
  call.CommonProperties();
  const OwnKey& key = call.Set().Key(kRecordPositionKey);
  TryStep([&] { call.WriteOwnKey(key, CurrentRecord(call.Control())); });
}

void ReadData(ReadCall& call) {
  call.CommonProperties();
  std::int32_t position = 0;
  TryStep([&] { position = host::CLng(call.ReadOwnKey(call.Set().Key(kRecordPositionKey))); });
  TryStep([&] { RefreshData(call.Control()); });
  PositionRecordset(call.Control(), position);
}

}  // namespace

const ClassSteps kDataSteps{.copy = &CopyData, .write = &WriteData, .read = &ReadData};

}  // namespace tavorin::detail
