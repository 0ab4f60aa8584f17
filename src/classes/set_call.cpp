#include "classes/set_call.h"

#include "groups/best_effort.h"
#include "groups/identity.h"
#include "stream/stream_flags.h"

namespace tavorin::detail {

StreamWriteCall::StreamWriteCall(const ComponentSettings& settings,
                                 const host::Control& control,
                                 const host::PropertyBag* customDefaults,
                                 std::int16_t typeCode, const GroupSwitches& switches)
    : catalogue_(BuildDefaultsCatalogue(typeCode)), customDefaults_(customDefaults) {
  WriteIdentity(settings, control, stream_, typeCode, customDefaults != nullptr, switches);
}

host::ByteArray StreamWriteCall::Finish() const {
  host::ByteArray image;
  TryStep([&] { image = stream_.Contents(); });
  return image;
}

StreamReadCall::StreamReadCall(const ComponentSettings& settings,
                               const host::PropertyBag& stream, host::Control& control,
                               const host::PropertyBag* customDefaults,
                               std::int16_t typeCode, const GroupSwitches& switches)
    : catalogue_(BuildDefaultsCatalogue(typeCode)),
      stream_(stream),
      customDefaults_(customDefaults) {
  readable_ = ReadIdentity(settings, stream_, control, switches) == kStreamVersion;
}

}  // namespace tavorin::detail
