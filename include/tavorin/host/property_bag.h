// PropertyBag: the runtime's keyed store of named values, and its byte image.
#pragma once

#include <memory>
#include <string>

#include <tavorin/host/variant.h>

namespace tavorin::host {

class PropertyBag {
 public:
  PropertyBag();
  ~PropertyBag();
  PropertyBag(const PropertyBag&) = delete;
  PropertyBag& operator=(const PropertyBag&) = delete;

  /// Stores `value` under `name`, unless `defaultValue` is given and `value`
  /// equals it. Numbers, Booleans, Currency, Date and Byte compare by numeric
  /// value across types (True is -1); Strings byte for byte; a String against
  /// a number or Boolean is converted to the other's type (and differs when it
  /// does not convert); Nothing equals a Nothing default; an object never
  /// equals any other default. Writing a name again keeps its first position
  /// and takes the new value. A persistable object is stored by its state;
  /// any other object raises 13.
  void WriteProperty(const std::string& name, const Variant& value,
                     const Variant& defaultValue = Variant::Missing());

  /// The value stored under `name`, else `defaultValue`; Empty when neither.
  /// A stored object reads back as a new object with equal state.
  Variant ReadProperty(const std::string& name,
                       const Variant& defaultValue = Variant::Missing()) const;

  /// The image of everything written so far; the same writes in the same
  /// order always give the same bytes.
  ByteArray Contents() const;

  /// Replaces the bag's content by an image that Contents produced. Bytes that
  /// are no such image raise 321 "Invalid file format" and leave the bag as
  /// it was.
  void SetContents(const ByteArray& image);

  /// The number of stored names.
  std::size_t Count() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tavorin::host
