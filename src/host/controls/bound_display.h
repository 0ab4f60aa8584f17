// The host's bound display: a control whose DataSource is a Data control shows a
// field of that control's current record and follows the record when it moves.
#pragma once

#include <memory>
#include <string>

#include <tavorin/host/control.h>

namespace tavorin::host {
class Data;
}

namespace tavorin::host::detail {

struct BindingState {
  std::weak_ptr<Data> source;  // expired: unbound
  std::string field;
};

/// The by-name members DataSource and DataField of the bindable classes.
class BoundDisplay {
 public:
  static Variant Source(const Control& control);
  /// Nothing, or a Data control of the same form (380 otherwise); 545 when the
  /// source's open recordset lacks the DataField.
  static void SetSource(Control& control, const Variant& source);
  static Variant Field(const Control& control);
  /// 545 when the open recordset of the DataSource lacks the field.
  static void SetField(Control& control, const Variant& field);

  /// Shows the current record of `data` in every control of its form that
  /// is bound to it.
  static void ShowRecord(const Data& data);

 private:
  static void RequireField(const std::shared_ptr<Data>& source, const std::string& field);
  /// Puts the field's value in the control's bound property (TextBox.Text,
  /// Label.Caption, CheckBox.Value); a value it cannot show, or one it
  /// already shows, leaves it (and a TextBox's selection) as it was.
  static void Show(Control& control);
};

}  // namespace tavorin::host::detail
