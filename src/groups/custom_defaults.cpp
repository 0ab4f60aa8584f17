#include "groups/custom_defaults.h"

#include <string>

namespace tavorin::detail {

host::Variant EffectiveDefault(const host::PropertyBag* customDefaults,
                               std::string_view key, const host::Variant& builtIn) {
  if (customDefaults == nullptr) return builtIn;
  return customDefaults->ReadProperty(std::string(key), builtIn);
}

}  // namespace tavorin::detail
