// PropertyBag: the runtime's keyed store of named values, and its byte image.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
  /// equals any other default; Empty, Null and byte arrays equal only a
  /// default of their own type and value. Writing a name again keeps its
  /// first position and takes the new value; a value equal to its default is
  /// not stored even then, so the earlier value stays.
  /// Every type is kept, Empty and Null included. A persistable object of a
  /// class the host can load (Picture, DataFormat) is stored by its type name
  /// and SaveState; any other object raises 13 "Type mismatch". Missing as
  /// the value raises 5 "Invalid procedure call or argument".
  void WriteProperty(std::string_view name, const Variant& value,
                     const Variant& defaultValue = Variant::Missing());

  /// The value stored under `name`, else `defaultValue`; Empty when neither.
  /// A stored object reads back as a new object with equal state.
  Variant ReadProperty(std::string_view name,
                       const Variant& defaultValue = Variant::Missing()) const;

  /// The image of everything written so far; the same writes in the same
  /// order always give the same bytes.
  ByteArray Contents() const;

  /// Replaces the bag's content by an image that Contents produced. Bytes that
  /// are no such image raise 321 "Invalid file format", and an image too large
  /// for the memory its loading takes (about twenty bytes an image byte at
  /// most) raises 7 "Out of memory"; either leaves the bag as it was.
  void SetContents(const ByteArray& image);

  /// The number of stored names.
  std::size_t Count() const;

  /// The stored names in the order they were first written.
  std::vector<std::string> Names() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace tavorin::host
