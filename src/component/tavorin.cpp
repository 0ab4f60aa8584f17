// The component's queries on class names and streams, and its stream files.
#include <tavorin/component.h>

#include "catalogue/control_type.h"
#include "component/identification.h"
#include "stream/envelope.h"
#include "stream/stream_file.h"

namespace tavorin {

bool Tavorin::IsSupportedControl(std::string ControlTypeName) const {
  return detail::IsSupportedClassName(ControlTypeName);
}

bool Tavorin::IsStream(const host::ByteArray& ByteArray) const {
  return detail::CheckStream(ByteArray).has_value();
}

std::string Tavorin::ControlTypeName(const host::ByteArray& Stream) const {
  const std::optional<std::int32_t> typeCode = detail::CheckStream(Stream);
  return typeCode ? std::string(detail::TypeNameFromCode(*typeCode)) : std::string();
}

std::string Tavorin::ControlName(const host::ByteArray& Stream) const {
  return detail::StreamControlName(Stream);
}

bool Tavorin::RequiresDefaultsStream(const host::ByteArray& Stream) const {
  return detail::StreamRequiresDefaults(Stream);
}

void Tavorin::StreamToFile(const host::ByteArray& Stream, const std::string& FilePath) const {
  detail::WriteStreamFile(Stream, FilePath);
}

host::ByteArray Tavorin::StreamFromFile(const std::string& FilePath) const {
  return detail::ReadStreamFile(FilePath);
}

}  // namespace tavorin
