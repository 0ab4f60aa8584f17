// The four queries and DescribeStream on arbitrary bytes: none may raise, and
// they must tell the same story about what the bytes are.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include <tavorin/tavorin.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tavorin::host::ByteArray bytes(data, data + size);
  const tavorin::Tavorin component;
  const tavorin::StreamInfo info = tavorin::DescribeStream(bytes);
  if (component.IsStream(bytes) != info.isStream) std::abort();
  if (info.isStream != info.reason.empty()) std::abort();
  const std::string className = info.isStream ? info.className : "";
  const std::string controlName = info.isStream ? info.controlName : "";
  if (component.ControlTypeName(bytes) != className) std::abort();
  if (component.ControlName(bytes) != controlName) std::abort();
  if (component.RequiresDefaultsStream(bytes) != (info.isStream && info.requiresDefaults)) {
    std::abort();
  }
  return 0;
}
