#include "groups/custom_defaults.h"

#include <optional>
#include <utility>

#include "groups/common_properties.h"

namespace tavorin::detail {
namespace {

// The custom value under `key` in `valueType`: nullopt without one, Null when
// it does not convert.
std::optional<host::Variant> CustomValue(const host::PropertyBag& customDefaults,
                                         std::string_view key, std::int16_t valueType) {
  host::Variant stored = customDefaults.ReadProperty(key);
  if (stored.IsEmpty()) return std::nullopt;
  return ConvertToValueType(std::move(stored), valueType);
}

}  // namespace

host::Variant EffectiveDefault(const host::PropertyBag* customDefaults, std::string_view key,
                               const host::Variant& builtIn) {
  if (customDefaults == nullptr) return builtIn;
  return customDefaults->ReadProperty(key, builtIn);
}

CallDefault CustomDefaultForWriting(const host::PropertyBag& customDefaults, std::string_view key,
                                    const host::Variant& builtIn, std::int16_t valueType) {
  std::optional<host::Variant> custom = CustomValue(customDefaults, key, valueType);
  if (!custom) return CallDefault::BuiltIn(builtIn);
  return CallDefault::Custom(custom->IsNull() ? host::Variant::Missing() : std::move(*custom));
}

CallDefault CustomDefaultForReading(const host::PropertyBag& customDefaults, std::string_view key,
                                    const host::Variant& builtIn, std::int16_t valueType) {
  std::optional<host::Variant> custom = CustomValue(customDefaults, key, valueType);
  if (!custom || custom->IsNull()) return CallDefault::BuiltIn(builtIn);
  return CallDefault::Custom(std::move(*custom));
}

}  // namespace tavorin::detail
