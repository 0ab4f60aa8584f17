#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>
#include <tavorin/host/recordset.h>

#include "host/controls/bound_display.h"
#include "host/property_table.h"

namespace tavorin::host {
namespace detail {

/// The open recordset and the Data control's subscription to its moves.
struct DataConnection {
  std::shared_ptr<host::Recordset> records;
  int subscription = 0;

  ~DataConnection() { Close(); }
  void Close() {
    if (records) records->Unsubscribe(subscription);
    records.reset();
  }
};

}  // namespace detail

namespace {

const detail::PropertyTable& DataTable() {
  static const detail::PropertyTable table = detail::BuildClassTable(
      "Data",
      {{"Recordset",
        [](const Control& c) { return Variant(static_cast<const Data&>(c).Recordset()); },
        nullptr}},
      {{"Refresh", 0, 0, [](Control& c, const std::vector<Variant>&) {
          static_cast<Data&>(c).Refresh();
          return Variant();
        }}});
  return table;
}

}  // namespace

Data::Data(const ControlSeed& seed)
    : Control(seed, DataTable()), connection_(std::make_unique<detail::DataConnection>()) {}

Data::~Data() = default;

std::shared_ptr<host::Recordset> Data::Recordset() const { return connection_->records; }

void Data::Refresh() {
  std::shared_ptr<host::Recordset> records =
      host::Recordset::Open(CStr(StoredValue("DatabaseName")), CStr(StoredValue("RecordSource")));
  connection_->Close();
  connection_->records = records;
  const std::weak_ptr<Data> self = std::static_pointer_cast<Data>(shared_from_this());
  connection_->subscription = records->Subscribe([self] {
    if (const std::shared_ptr<Data> data = self.lock()) detail::BoundDisplay::ShowRecord(*data);
  });
  detail::BoundDisplay::ShowRecord(*this);
}

}  // namespace tavorin::host
