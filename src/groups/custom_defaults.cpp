#include "groups/custom_defaults.h"

namespace tavorin::detail {

host::Variant EffectiveDefault(const host::PropertyBag* customDefaults,
                               std::string_view key, const host::Variant& builtIn) {
  if (customDefaults == nullptr) return builtIn;
  return customDefaults->ReadProperty(key, builtIn);
}

}  // namespace tavorin::detail
