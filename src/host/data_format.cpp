// A DataFormat's state: fixed16 Type, then the Format as a varint length and
// its bytes (see byte_coding.h). The layout reaches the disk inside property
// bag images: extend it only in ways that old states still load.
#include <tavorin/host/data_format.h>

#include <memory>

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>

#include "host/byte_coding.h"

namespace tavorin::host {

Variant DataFormat::GetProperty(const std::string& name) const {
  if (name == "Format") return Variant::String(format_);
  if (name == "Type") return Variant::Integer(type_);
  return PersistableObject::GetProperty(name);
}

void DataFormat::SetProperty(const std::string& name, const Variant& value) {
  if (name == "Format") {
    format_ = CStr(value);
  } else if (name == "Type") {
    type_ = CInt(value);
  } else {
    PersistableObject::SetProperty(name, value);
  }
}

ByteArray DataFormat::SaveState() const {
  ByteArray state;
  detail::PutFixed16(state, static_cast<std::uint16_t>(type_));
  detail::PutLengthPrefixed(state, format_);
  return state;
}

ObjectRef DataFormat::LoadState(const ByteArray& state) {
  detail::ByteReader reader(state);
  auto loaded = std::make_shared<DataFormat>();
  loaded->type_ = static_cast<std::int16_t>(reader.Fixed16());
  loaded->format_ = reader.LengthPrefixedText();
  if (!reader.AtEnd()) detail::RaiseInvalidFormat();
  return loaded;
}

}  // namespace tavorin::host
