// Control: the generic interface that every control on a form offers,
// whatever its class. Nothing but a control derives from it, so "is this a
// control" is a dynamic_pointer_cast<Control>.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <tavorin/host/object.h>

namespace tavorin::host {

class Form;

namespace detail {
class PropertyTable;
struct BindingState;
class BoundDisplay;
class PropertyPositions;
}  // namespace detail

/// What a form hands to the constructor of a control it creates; only a Form
/// can make one, so controls exist only on forms.
class ControlSeed {
 private:
  friend class Form;
  ControlSeed(std::weak_ptr<Form> form, std::string name, std::optional<std::int16_t> index)
      : form(std::move(form)), name(std::move(name)), index(index) {}

 public:
  std::weak_ptr<Form> form;
  std::string name;
  std::optional<std::int16_t> index;
};

/// By name every control offers "Name", "Index", "Parent" and "Container";
/// "Left", "Top", "Width", "Height" and the method "Move" (1 to 4 arguments,
/// a missing one keeps its value) on all classes but Line and Timer;
/// "TabIndex" and "hWnd" where the class has them; and its class's own
/// members. Assigning converts the value to the property's type (13 or 6 when
/// it cannot) and refuses a value outside the property's range with 380,
/// leaving the property as it was; read-only members raise 383, unknown names
/// 438, a method called with too few or too many arguments 5. Names are
/// compared ignoring case. Indexed properties (List, ItemData, Selected) are
/// methods: CallMethod("List", {i}) reads, CallMethod("List", {i, text})
/// assigns.
class Control : public Object {
 public:
  ~Control() override;

  std::string TypeName() const override;

  /// The name given at creation; never changes.
  const std::string& Name() const { return name_; }
  /// The index within its control array; raises 343 for a control that is
  /// not in one.
  std::int16_t Index() const;
  bool IsArrayMember() const { return index_.has_value(); }

  /// The form that owns the control (Nothing once the form is gone).
  std::shared_ptr<Form> Parent() const { return form_.lock(); }

  /// The form itself, a Frame or a PictureBox.
  ObjectRef Container() const;
  /// Raises 380 for an object that is no container, one of another form, the
  /// control itself or a container inside it.
  void Container(const ObjectRef& container);

  /// Position and size in the scale mode of the container.
  float Left() const { return left_; }
  float Top() const { return top_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  void Left(float value) { Move(value, top_, width_, height_); }
  void Top(float value) { Move(left_, value, width_, height_); }
  void Width(float value) { Move(left_, top_, value, height_); }
  void Height(float value) { Move(left_, top_, width_, value); }
  /// Raises 380 for a negative width or height (and 438 on a Line or a
  /// Timer, which have no such placement).
  virtual void Move(float left, float top, float width, float height);

  /// Whether the class takes part in the tab order (all but Line, Shape,
  /// Image, Timer, Data and controls of other libraries).
  bool HasTabIndex() const;
  /// The control's place in its form's tab order, from 0; 438 without one.
  std::int16_t TabIndex() const;
  /// Moves the control to place `index`; the controls between its old and new
  /// place shift by one. Raises 380 outside 0 to count - 1, 438 without a
  /// tab index.
  void TabIndex(std::int16_t index);

  /// Whether the control has a window (all but Label, Line, Shape, Image and
  /// Timer); windows are unique among all forms and controls.
  bool HasWindow() const { return hwnd_ != 0; }
  /// Raises 438 for a control without a window.
  std::int64_t hWnd() const;

  using Object::CallMethod;
  using Object::GetProperty;
  using Object::SetProperty;
  /// A control's members are those of its class's table, so these are final:
  /// the overloads by view below reach them without building a string.
  Variant GetProperty(const std::string& name) const final;
  void SetProperty(const std::string& name, const Variant& value) final;
  Variant CallMethod(const std::string& name, const std::vector<Variant>& args = {}) final;
  Variant GetProperty(std::string_view name) const;
  void SetProperty(std::string_view name, const Variant& value);
  Variant CallMethod(std::string_view name, const std::vector<Variant>& args = {});

 protected:
  /// A control of another library: the generic members only.
  Control(std::weak_ptr<Form> form, std::string name, std::optional<std::int16_t> index);
  /// A control of one of the runtime's classes, described by `table`.
  Control(const ControlSeed& seed, const detail::PropertyTable& table);

  /// The value of a stored property by name (for typed accessors).
  const Variant& StoredValue(std::string_view name) const;

 private:
  friend class Form;
  friend class detail::BoundDisplay;
  friend class detail::PropertyPositions;

  /// Gives every property the value of a new control; a special member that
  /// refuses its initial value (a list too short for it) keeps its own.
  void Initialize(std::int64_t hwnd);
  /// The by-name members once the name is found: `slot` is a position in
  /// the class's table.
  Variant GetAt(std::size_t slot) const;
  void SetAt(std::size_t slot, const Variant& value);
  /// The value at `slot` without a copy: a stored one where it is, a
  /// computed one put in `computed`.
  const Variant& PeekAt(std::size_t slot, Variant& computed) const;

  std::weak_ptr<Form> form_;
  std::string name_;
  std::optional<std::int16_t> index_;
  std::weak_ptr<Object> container_;  // empty: the form itself
  float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  const detail::PropertyTable* table_;
  std::vector<Variant> values_;  // stored properties, by table position
  std::int64_t hwnd_ = 0;
  std::unique_ptr<detail::BindingState> binding_;
};

}  // namespace tavorin::host
