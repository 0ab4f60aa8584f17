// Form: the window that owns controls. A form is not a control.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <tavorin/host/control.h>
#include <tavorin/host/object.h>

namespace tavorin::host {

/// By name a form offers "Name" and "hWnd" (read-only, 383) and "ScaleMode".
class Form : public Object {
 public:
  static std::shared_ptr<Form> Create(std::string name);

  std::string TypeName() const override { return "Form"; }
  const std::string& Name() const { return name_; }

  /// Adds a control of one of the nineteen classes ("TextBox", ...), in the
  /// container given (Nothing: the form itself). Raises 5 for another class
  /// name, for a name (and index) already on the form (names compare ignoring
  /// case; an arrayed and a plain control cannot share a name), for a name
  /// that is no identifier of at most 40 characters, a negative index, or a
  /// container that is not this form, a Frame or a PictureBox on it.
  /// A control with a tab index gets the next free place in the tab order.
  std::shared_ptr<Control> AddControl(const std::string& className, const std::string& name,
                                      std::optional<std::int16_t> index = std::nullopt,
                                      ObjectRef container = nullptr);
  /// Adds a control of another library: it offers the generic members only
  /// and reports `typeName` as its class, whatever that is.
  std::shared_ptr<Control> AddExternalControl(const std::string& typeName, const std::string& name);

  /// The form's controls in creation order.
  const std::vector<std::shared_ptr<Control>>& Controls() const { return controls_; }

  /// Default 1 (twips). Raises 380 outside 0 to 7.
  std::int16_t ScaleMode() const { return scale_mode_; }
  void ScaleMode(std::int16_t mode);
  std::int64_t hWnd() const { return hwnd_; }

  using Object::GetProperty;
  using Object::SetProperty;
  Variant GetProperty(const std::string& name) const override;
  void SetProperty(const std::string& name, const Variant& value) override;

 private:
  friend class Control;

  explicit Form(std::string name);

  void RequireFreeName(const std::string& name, std::optional<std::int16_t> index) const;
  /// The Frame or PictureBox of this form that `container` names; nullptr
  /// for Nothing or the form itself; 5 for anything else.
  std::shared_ptr<Control> ContainerControl(const ObjectRef& container) const;
  std::shared_ptr<Control> Register(std::shared_ptr<Control> control);
  std::int16_t TabPosition(const Control& control) const;
  void MoveInTabOrder(const Control& control, std::int16_t position);

  std::string name_;
  std::int16_t scale_mode_ = 1;
  std::int64_t hwnd_;
  std::vector<std::shared_ptr<Control>> controls_;
  std::vector<const Control*> tab_order_;
};

/// The unit conversions of the component's surface. Twips per unit: 1 twip 1,
/// 2 point 20, 3 pixel 15, 4 character 120 across and 240 down, 5 inch 1440,
/// 6 millimetre 1440/25.4, 7 centimetre 1440/2.54; 0 (user) counts as twips.
/// Any other mode raises 5.
float ScaleX(float value, std::int16_t fromMode, std::int16_t toMode);
float ScaleY(float value, std::int16_t fromMode, std::int16_t toMode);

}  // namespace tavorin::host
