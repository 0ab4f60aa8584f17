// Form: the window that owns controls. A form is not a control.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <tavorin/host/control.h>
#include <tavorin/host/object.h>

namespace tavorin::host {

class Form : public Object {
 public:
  static std::shared_ptr<Form> Create(std::string name);

  std::string TypeName() const override { return "Form"; }
  const std::string& Name() const { return name_; }

  /// Adds a control of one of the nineteen classes ("TextBox", ...), in the
  /// container given (Nothing: the form itself). Raises 5 for another class
  /// name, or for a name (and index) already on the form.
  std::shared_ptr<Control> AddControl(const std::string& className,
                                      const std::string& name,
                                      std::optional<std::int16_t> index = std::nullopt,
                                      ObjectRef container = nullptr);
  /// Adds a control of another library: it offers the generic members only
  /// and reports `typeName` as its class.
  std::shared_ptr<Control> AddExternalControl(const std::string& typeName,
                                              const std::string& name);

  /// The form's controls in creation order.
  const std::vector<std::shared_ptr<Control>>& Controls() const { return controls_; }

  /// Default 1 (twips).
  std::int16_t ScaleMode() const { return scale_mode_; }
  void ScaleMode(std::int16_t mode);
  std::int64_t hWnd() const { return hwnd_; }

  Variant GetProperty(const std::string& name) const override;
  void SetProperty(const std::string& name, const Variant& value) override;

 private:
  explicit Form(std::string name);

  std::string name_;
  std::int16_t scale_mode_ = 1;
  std::int64_t hwnd_;
  std::vector<std::shared_ptr<Control>> controls_;
};

/// The unit conversions of the component's surface. Twips per unit: 1 twip 1,
/// 2 point 20, 3 pixel 15, 4 character 120 across and 240 down, 5 inch 1440,
/// 6 millimetre 1440/25.4, 7 centimetre 1440/2.54; 0 (user) counts as twips.
/// Any other mode raises 5.
float ScaleX(float value, std::int16_t fromMode, std::int16_t toMode);
float ScaleY(float value, std::int16_t fromMode, std::int16_t toMode);

}  // namespace tavorin::host
