// Object: the base of every host object, with late binding by member name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <tavorin/host/variant.h>

namespace tavorin::host {

class Object : public std::enable_shared_from_this<Object> {
 public:
  virtual ~Object() = default;

  /// The runtime's class name of the object ("TextBox", "Picture", ...).
  virtual std::string TypeName() const = 0;

  /// Late-bound member access. A name the object lacks raises 438.
  virtual Variant GetProperty(const std::string& name) const;
  virtual void SetProperty(const std::string& name, const Variant& value);
  virtual Variant CallMethod(const std::string& name, const std::vector<Variant>& args = {});

  /// The same for a name held as a view or a literal. A class that overrides
  /// the members above brings these in with `using Object::GetProperty;` and
  /// so on.
  Variant GetProperty(std::string_view name) const { return GetProperty(std::string(name)); }
  Variant GetProperty(const char* name) const { return GetProperty(std::string(name)); }
  void SetProperty(std::string_view name, const Variant& value) {
    SetProperty(std::string(name), value);
  }
  void SetProperty(const char* name, const Variant& value) {
    SetProperty(std::string(name), value);
  }
  Variant CallMethod(std::string_view name, const std::vector<Variant>& args = {}) {
    return CallMethod(std::string(name), args);
  }
  Variant CallMethod(const char* name, const std::vector<Variant>& args = {}) {
    return CallMethod(std::string(name), args);
  }
};

/// An object whose state the property bag can store: the bag keeps the
/// object's type name and the bytes of `SaveState`, and reads it back as a
/// new object made by the loader registered for that type name
/// (the host knows Picture and StdDataFormat).
class PersistableObject : public Object {
 public:
  /// The object's state as bytes; equal state gives equal bytes.
  virtual ByteArray SaveState() const = 0;
};

}  // namespace tavorin::host
