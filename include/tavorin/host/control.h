// Control: the generic interface that every control on a form offers,
// whatever its class. Nothing but a control derives from it, so "is this a
// control" is a dynamic_pointer_cast<Control>.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <tavorin/host/object.h>

namespace tavorin::host {

class Form;

class Control : public Object {
 public:
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
  /// Raises 380 for a negative width or height.
  virtual void Move(float left, float top, float width, float height);

 protected:
  Control(std::weak_ptr<Form> form, std::string name,
          std::optional<std::int16_t> index);

 private:
  friend class Form;

  std::weak_ptr<Form> form_;
  std::string name_;
  std::optional<std::int16_t> index_;
  std::weak_ptr<Object> container_;  // empty: the form itself
  float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
};

}  // namespace tavorin::host
