#include "groups/icons.h"

#include "groups/best_effort.h"
#include "groups/persisted_objects.h"
#include "groups/shared_keys.h"

namespace tavorin::detail {
namespace {

const host::Variant kNothing = host::Variant::Object(nullptr);

std::span<const SharedKey> Icons() { return SharedKeysOf(SharedGroup::Icons); }

}  // namespace

void CopyIcons(const host::Control& source, host::Control& destination) {
  for (const SharedKey& icon : Icons()) {
    TryStep([&] { destination.SetProperty(icon.property, source.GetProperty(icon.property)); });
  }
}

void WriteIcons(const host::Control& control, host::PropertyBag& stream,
                const host::PropertyBag* customDefaults) {
  for (const SharedKey& icon : Icons()) {
    TryStep([&] {
      WritePersistedObject(stream, icon.key, control.GetProperty(icon.property), customDefaults,
                           kNothing);
    });
  }
}

void ReadIcons(const host::PropertyBag& stream, host::Control& control,
               const host::PropertyBag* customDefaults) {
  for (const SharedKey& icon : Icons()) {
    TryStep([&] {
      control.SetProperty(icon.property,
                          ReadPersistedObject(stream, icon.key, customDefaults, kNothing));
    });
  }
}

}  // namespace tavorin::detail
