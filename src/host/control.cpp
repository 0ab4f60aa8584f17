#include <tavorin/host/control.h>

#include <cmath>
#include <utility>

#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/form.h>

#include "host/controls/bound_display.h"
#include "host/property_table.h"

namespace tavorin::host {
namespace {

bool IsContainerClass(const Object& object) {
  return dynamic_cast<const Frame*>(&object) != nullptr ||
         dynamic_cast<const PictureBox*>(&object) != nullptr;
}

/// The table of a control of another library: the generic members only.
const detail::PropertyTable& ExternalTable() {
  static const detail::PropertyTable table = [] {
    detail::ClassShape shape;
    shape.tabIndex = false;
    shape.window = false;
    shape.icons = false;
    shape.refresh = false;
    return detail::BuildTable("", shape, {}, {}, {});
  }();
  return table;
}

/// A placement argument of Move: a missing one keeps `current`.
float PlacementArgument(const std::vector<Variant>& args, std::size_t position, float current) {
  if (position >= args.size() || args[position].IsMissing()) return current;
  return CSng(args[position]);
}

// The position of a property by name; a name that is no property fails as a
// member of the class does.
std::size_t MemberSlot(const detail::PropertyTable& table, std::string_view name) {
  const std::ptrdiff_t slot = table.FindProperty(name);
  if (slot < 0) {
    RaiseHostError(table.FindMethod(name) ? errors::kInvalidProcedureCall : errors::kNoSuchMember);
  }
  return static_cast<std::size_t>(slot);
}

}  // namespace

Control::Control(std::weak_ptr<Form> form, std::string name, std::optional<std::int16_t> index)
    : form_(std::move(form)), name_(std::move(name)), index_(index), table_(&ExternalTable()) {}

Control::Control(const ControlSeed& seed, const detail::PropertyTable& table)
    : form_(seed.form), name_(seed.name), index_(seed.index), table_(&table) {
  if (table.Shape().dataBinding) binding_ = std::make_unique<detail::BindingState>();
}

Control::~Control() = default;

std::string Control::TypeName() const { return table_->ClassName(); }

std::int16_t Control::Index() const {
  if (!index_) RaiseHostError(errors::kObjectNotAnArray);
  return *index_;
}

ObjectRef Control::Container() const {
  if (ObjectRef container = container_.lock()) return container;
  return form_.lock();
}

void Control::Container(const ObjectRef& container) {
  const std::shared_ptr<Form> form = form_.lock();
  if (!form || !container) RaiseHostError(errors::kInvalidPropertyValue);
  if (container == form) {
    container_.reset();
    return;
  }
  const auto control = std::dynamic_pointer_cast<Control>(container);
  if (!control || !IsContainerClass(*control) || control->form_.lock() != form) {
    RaiseHostError(errors::kInvalidPropertyValue);
  }
  for (const Control* walk = control.get(); walk;) {
    if (walk == this) RaiseHostError(errors::kInvalidPropertyValue);
    walk = dynamic_cast<const Control*>(walk->container_.lock().get());
  }
  container_ = control;
}

void Control::Move(float left, float top, float width, float height) {
  if (!table_->Shape().placement) RaiseHostError(errors::kNoSuchMember);
  // Written so that NaN is refused too.
  if (!(width >= 0) || !(height >= 0) || !std::isfinite(left) || !std::isfinite(top) ||
      !std::isfinite(width) || !std::isfinite(height)) {
    RaiseHostError(errors::kInvalidPropertyValue);
  }
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

bool Control::HasTabIndex() const { return table_->Shape().tabIndex; }

std::int16_t Control::TabIndex() const {
  if (!HasTabIndex()) RaiseHostError(errors::kNoSuchMember);
  const std::shared_ptr<Form> form = form_.lock();
  if (!form) RaiseHostError(errors::kObjectNotSet);
  return form->TabPosition(*this);
}

void Control::TabIndex(std::int16_t index) {
  if (!HasTabIndex()) RaiseHostError(errors::kNoSuchMember);
  const std::shared_ptr<Form> form = form_.lock();
  if (!form) RaiseHostError(errors::kObjectNotSet);
  form->MoveInTabOrder(*this, index);
}

std::int64_t Control::hWnd() const {
  if (!HasWindow()) RaiseHostError(errors::kNoSuchMember);
  return hwnd_;
}

Variant Control::GetProperty(const std::string& name) const {
  return GetProperty(std::string_view(name));
}

void Control::SetProperty(const std::string& name, const Variant& value) {
  SetProperty(std::string_view(name), value);
}

Variant Control::CallMethod(const std::string& name, const std::vector<Variant>& args) {
  return CallMethod(std::string_view(name), args);
}

Variant Control::GetProperty(std::string_view name) const {
  return GetAt(MemberSlot(*table_, name));
}

void Control::SetProperty(std::string_view name, const Variant& value) {
  SetAt(MemberSlot(*table_, name), value);
}

Variant Control::GetAt(std::size_t slot) const {
  const detail::PropertySpec& spec = table_->Properties()[slot];
  return spec.get ? spec.get(*this) : values_[slot];
}

const Variant& Control::PeekAt(std::size_t slot, Variant& computed) const {
  const detail::PropertySpec& spec = table_->Properties()[slot];
  if (!spec.get) return values_[slot];
  computed = spec.get(*this);
  return computed;
}

void Control::SetAt(std::size_t slot, const Variant& value) {
  const detail::PropertySpec& spec = table_->Properties()[slot];
  if (spec.readOnly) RaiseHostError(errors::kPropertyReadOnly);
  if (spec.type != VarType::Empty && value.Type() == spec.type) {
    // A value of the property's own type goes on as it is. Assigned in
    // place, the stored value keeps its memory: converting first made a copy
    // to move in, about 3.4% of a text box's write and read. A setter reads
    // it where it is: the copy was 1.2% more.
    detail::PropertyTable::CheckRange(spec, value);
    if (spec.set) {
      spec.set(*this, value);
    } else {
      values_[slot] = value;
    }
    return;
  }
  Variant converted = detail::PropertyTable::Coerce(spec, value);
  if (spec.set) {
    spec.set(*this, converted);
  } else {
    values_[slot] = std::move(converted);
  }
}

Variant Control::CallMethod(std::string_view name, const std::vector<Variant>& args) {
  const detail::MethodSpec* method = table_->FindMethod(name);
  if (!method) RaiseHostError(errors::kNoSuchMember);
  if (args.size() < method->minArgs || args.size() > method->maxArgs) {
    RaiseHostError(errors::kInvalidProcedureCall);
  }
  return method->call(*this, args);
}

const Variant& Control::StoredValue(std::string_view name) const {
  return values_[MemberSlot(*table_, name)];
}

void Control::Initialize(std::int64_t hwnd) {
  if (table_->Shape().window) hwnd_ = hwnd;
  const auto& properties = table_->Properties();
  values_.assign(properties.size(), Variant());
  for (std::size_t slot = 0; slot < properties.size(); ++slot) {
    const detail::PropertySpec& spec = properties[slot];
    if (spec.initial.IsEmpty()) continue;
    Variant initial = detail::PropertyTable::Coerce(spec, spec.initial);
    if (!spec.set) {
      values_[slot] = std::move(initial);
      continue;
    }
    try {
      spec.set(*this, initial);
    } catch (const RuntimeError&) {
      // The member cannot take the class's start value here (a list too
      // short for a TopIndex, an unmapped drive): it keeps its own.
    }
  }
}

namespace detail {

const std::vector<Binding>& SharedBindings() {
  static const std::vector<Binding> bindings = {
      {"Name", [](const Control& c) { return Variant(c.Name()); }, nullptr},
      {"Index", [](const Control& c) { return Variant(c.Index()); }, nullptr},
      {"Parent", [](const Control& c) { return Variant(c.Parent()); }, nullptr},
      {"Container", [](const Control& c) { return Variant(c.Container()); },
       [](Control& c, const Variant& v) { c.Container(v.AsObject()); }},
      {"Left", [](const Control& c) { return Variant(c.Left()); },
       [](Control& c, const Variant& v) { c.Left(CSng(v)); }},
      {"Top", [](const Control& c) { return Variant(c.Top()); },
       [](Control& c, const Variant& v) { c.Top(CSng(v)); }},
      {"Width", [](const Control& c) { return Variant(c.Width()); },
       [](Control& c, const Variant& v) { c.Width(CSng(v)); }},
      {"Height", [](const Control& c) { return Variant(c.Height()); },
       [](Control& c, const Variant& v) { c.Height(CSng(v)); }},
      {"TabIndex", [](const Control& c) { return Variant(c.TabIndex()); },
       [](Control& c, const Variant& v) { c.TabIndex(CInt(v)); }},
      {"hWnd", [](const Control& c) { return Variant(static_cast<std::int32_t>(c.hWnd())); },
       nullptr},
      {"DataSource", BoundDisplay::Source, BoundDisplay::SetSource},
      {"DataField", BoundDisplay::Field, BoundDisplay::SetField},
  };
  return bindings;
}

std::vector<MethodSpec> SharedMethods(const ClassShape& shape) {
  std::vector<MethodSpec> methods;
  if (shape.placement) {
    methods.push_back(
        {"Move", 1, 4, [](Control& c, const std::vector<Variant>& args) {
           c.Move(PlacementArgument(args, 0, c.Left()), PlacementArgument(args, 1, c.Top()),
                  PlacementArgument(args, 2, c.Width()), PlacementArgument(args, 3, c.Height()));
           return Variant();
         }});
  }
  if (shape.refresh) {
    // Nothing is ever out of date on this host's screen.
    methods.push_back(
        {"Refresh", 0, 0, [](Control&, const std::vector<Variant>&) { return Variant(); }});
  }
  return methods;
}

}  // namespace detail
}  // namespace tavorin::host
