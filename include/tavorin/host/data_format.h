// DataFormat: how a data-bound control formats its field's value.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <tavorin/host/object.h>

namespace tavorin::host {

/// The runtime's "StdDataFormat" object; make one with
/// std::make_shared<DataFormat>(). Persistable: a property bag stores it by
/// its state and reads it back as a new DataFormat with equal state.
///
/// By name: "Format" (String, default "") and "Type" (Integer, default 0).
/// Assigning converts the value (13 "Type mismatch" or 6 "Overflow" when it
/// cannot); any other name raises 438.
class DataFormat : public PersistableObject {
 public:
  const std::string& Format() const { return format_; }
  void Format(std::string format) { format_ = std::move(format); }
  std::int16_t Type() const { return type_; }
  void Type(std::int16_t type) { type_ = type; }

  std::string TypeName() const override { return "StdDataFormat"; }
  using Object::GetProperty;
  using Object::SetProperty;
  Variant GetProperty(const std::string& name) const override;
  void SetProperty(const std::string& name, const Variant& value) override;

  ByteArray SaveState() const override;
  /// The property bag's loader: a new DataFormat whose SaveState is `state`.
  /// Raises 321 "Invalid file format" for bytes SaveState did not make.
  static ObjectRef LoadState(const ByteArray& state);

 private:
  std::string format_;
  std::int16_t type_ = 0;
};

}  // namespace tavorin::host
