#include "groups/custom_defaults.h"

#include "groups/common_properties.h"

namespace tavorin::detail {
namespace {

// The custom value under `key` in `valueType`: nullopt without one, Null when
// it does not convert.
std::optional<host::Variant> CustomValue(const host::PropertyBag* customDefaults,
                                         std::string_view key, std::int16_t valueType) {
  if (customDefaults == nullptr) return std::nullopt;
  const host::Variant stored = customDefaults->ReadProperty(key);
  if (stored.IsEmpty()) return std::nullopt;
  return ConvertToValueType(stored, valueType);
}

}  // namespace

host::Variant EffectiveDefault(const host::PropertyBag* customDefaults, std::string_view key,
                               const host::Variant& builtIn) {
  if (customDefaults == nullptr) return builtIn;
  return customDefaults->ReadProperty(key, builtIn);
}

host::Variant DefaultForWriting(const host::PropertyBag* customDefaults, std::string_view key,
                                const host::Variant& builtIn, std::int16_t valueType) {
  const std::optional<host::Variant> custom = CustomValue(customDefaults, key, valueType);
  if (!custom) return builtIn;
  return custom->IsNull() ? host::Variant::Missing() : *custom;
}

host::Variant DefaultForReading(const host::PropertyBag* customDefaults, std::string_view key,
                                const host::Variant& builtIn, std::int16_t valueType) {
  const std::optional<host::Variant> custom = CustomValue(customDefaults, key, valueType);
  return custom && !custom->IsNull() ? *custom : builtIn;
}

}  // namespace tavorin::detail
