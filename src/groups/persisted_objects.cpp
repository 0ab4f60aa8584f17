#include "groups/persisted_objects.h"

#include "groups/best_effort.h"
#include "groups/custom_defaults.h"

namespace tavorin::detail {
namespace {

// The image a property bag makes of `value` alone.
host::ByteArray StoredImage(const host::Variant& value) {
  host::PropertyBag bag;
  bag.WriteProperty("Test", value);
  return bag.Contents();
}

}  // namespace

bool PersistedObjectsEqual(const host::Variant& first, const host::Variant& second) {
  if (first.IsNothing() && second.IsNothing()) return true;
  bool equal = false;
  TryStep([&] { equal = StoredImage(first) == StoredImage(second); });
  return equal;
}

void WritePersistedObject(host::PropertyBag& stream, std::string_view key,
                          const host::Variant& value, const host::PropertyBag* customDefaults,
                          const host::Variant& builtInDefault) {
  if (customDefaults == nullptr) {
    stream.WriteProperty(key, value, builtInDefault);
    return;
  }
  if (!PersistedObjectsEqual(value, customDefaults->ReadProperty(key, builtInDefault))) {
    stream.WriteProperty(key, value);
  }
}

host::Variant ReadPersistedObject(const host::PropertyBag& stream, std::string_view key,
                                  const host::PropertyBag* customDefaults,
                                  const host::Variant& builtInDefault) {
  const host::Variant fallback =
      customDefaults ? EffectiveDefault(customDefaults, key, host::Variant::Object(nullptr))
                     : builtInDefault;
  return stream.ReadProperty(key, fallback);
}

}  // namespace tavorin::detail
