#include "host/controls/bound_display.h"

#include <string_view>

#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/form.h>
#include <tavorin/host/recordset.h>

namespace tavorin::host::detail {
namespace {

/// The property that shows the bound field, by class; nullptr for a class
/// that binds without showing (PictureBox, Image, ComboBox, ListBox).
const char* DisplayProperty(std::string_view className) {
  if (className == "TextBox") return "Text";
  if (className == "Label") return "Caption";
  if (className == "CheckBox") return "Value";
  return nullptr;
}

Variant Displayed(std::string_view className, const Variant& field) {
  if (className == "CheckBox") {
    return Variant(static_cast<std::int16_t>(!field.IsNull() && CBool(field) ? 1 : 0));
  }
  return Variant(field.IsNull() ? std::string() : CStr(field));
}

}  // namespace

Variant BoundDisplay::Source(const Control& control) {
  return Variant(ObjectRef(control.binding_->source.lock()));
}

void BoundDisplay::SetSource(Control& control, const Variant& source) {
  const ObjectRef object = source.AsObject();
  auto data = std::dynamic_pointer_cast<Data>(object);
  if (object && (!data || data->Parent() != control.Parent())) {
    RaiseHostError(errors::kInvalidPropertyValue);
  }
  RequireField(data, control.binding_->field);
  control.binding_->source = data;
  Show(control);
}

Variant BoundDisplay::Field(const Control& control) { return Variant(control.binding_->field); }

void BoundDisplay::SetField(Control& control, const Variant& field) {
  std::string name = CStr(field);
  RequireField(control.binding_->source.lock(), name);
  control.binding_->field = std::move(name);
  Show(control);
}

void BoundDisplay::ShowRecord(const Data& data) {
  const std::shared_ptr<Form> form = data.Parent();
  if (!form) return;
  for (const std::shared_ptr<Control>& control : form->Controls()) {
    if (control->binding_ && control->binding_->source.lock().get() == &data) Show(*control);
  }
}

void BoundDisplay::RequireField(const std::shared_ptr<Data>& source, const std::string& field) {
  if (!source || field.empty()) return;
  const std::shared_ptr<Recordset> records = source->Recordset();
  if (records && !records->HasField(field)) RaiseHostError(errors::kUnableToBind);
}

void BoundDisplay::Show(Control& control) {
  const BindingState& state = *control.binding_;
  const std::shared_ptr<Data> source = state.source.lock();
  const std::string className = control.TypeName();
  const char* property = DisplayProperty(className);
  if (!source || state.field.empty() || !property) return;
  const std::shared_ptr<Recordset> records = source->Recordset();
  if (!records || !records->HasField(state.field)) return;
  try {
    const Variant field =
        records->AbsolutePosition() >= 0 ? records->Field(state.field) : Variant::Null();
    const Variant shown = Displayed(className, field);
    // Assigning a TextBox's text, even the same text, resets its selection:
    // a box that already shows the field (one just restored) keeps it.
    if (control.GetProperty(property) == shown) return;
    control.SetProperty(property, shown);
  } catch (const RuntimeError&) {
    // A value the control cannot show (a blob in a CheckBox): it keeps its own.
  }
}

}  // namespace tavorin::host::detail
