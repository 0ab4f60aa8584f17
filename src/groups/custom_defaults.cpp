#include "groups/custom_defaults.h"

#include <string>

#include "groups/best_effort.h"

namespace tavorin::detail {

host::Variant EffectiveDefault(const host::PropertyBag* customDefaults,
                               std::string_view key, const host::Variant& builtIn) {
  if (customDefaults == nullptr) return builtIn;
  return customDefaults->ReadProperty(std::string(key), builtIn);
}

std::unique_ptr<host::PropertyBag> LoadStreamBag(const host::ByteArray& stream) {
  auto bag = std::make_unique<host::PropertyBag>();
  TryStep([&] { bag->SetContents(stream); });
  return bag;
}

std::unique_ptr<host::PropertyBag> LoadCustomDefaults(
    const host::Variant& customDefaultsStream) {
  if (customDefaultsStream.IsMissing()) return nullptr;
  auto bag = std::make_unique<host::PropertyBag>();
  TryStep([&] { bag->SetContents(customDefaultsStream.AsBytes()); });
  return bag;
}

}  // namespace tavorin::detail
