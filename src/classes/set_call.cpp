#include "classes/set_call.h"

#include "groups/best_effort.h"
#include "groups/custom_defaults.h"
#include "groups/identity.h"
#include "stream/stream_flags.h"

namespace tavorin::detail {

StreamWriteCall::StreamWriteCall(const ComponentSettings& settings,
                                 const host::Control& control,
                                 const host::Variant& customDefaultsStream,
                                 std::int16_t typeCode, const GroupSwitches& switches)
    : catalogue_(BuildDefaultsCatalogue(typeCode)),
      customDefaults_(LoadCustomDefaults(customDefaultsStream)) {
  WriteIdentity(settings, control, stream_, typeCode, !customDefaultsStream.IsMissing(),
                switches);
}

host::ByteArray StreamWriteCall::Finish() const {
  host::ByteArray image;
  TryStep([&] { image = stream_.Contents(); });
  return image;
}

StreamReadCall::StreamReadCall(const ComponentSettings& settings,
                               const host::ByteArray& stream, host::Control& control,
                               const host::Variant& customDefaultsStream,
                               std::int16_t typeCode, const GroupSwitches& switches)
    : catalogue_(BuildDefaultsCatalogue(typeCode)), stream_(LoadStreamBag(stream)) {
  readable_ = ReadIdentity(settings, *stream_, control, switches) == kStreamVersion;
  if (readable_) customDefaults_ = LoadCustomDefaults(customDefaultsStream);
}

}  // namespace tavorin::detail
