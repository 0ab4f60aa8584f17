#include "groups/icons.h"

#include <array>
#include <string>

#include "groups/best_effort.h"
#include "groups/custom_defaults.h"

namespace tavorin::detail {
namespace {

struct IconProperty {
  std::string_view key;
  std::string_view property;
};

constexpr std::array<IconProperty, 2> kIcons{{
    {kDragIconKey, "DragIcon"},
    {kMouseIconKey, "MouseIcon"},
}};

const host::Variant kNothing = host::Variant::Object(nullptr);

// The image a property bag makes of `value` alone.
host::ByteArray StoredImage(const host::Variant& value) {
  host::PropertyBag bag;
  bag.WriteProperty("Test", value);
  return bag.Contents();
}

}  // namespace

bool ByteArraysEqual(const host::ByteArray& first, const host::ByteArray& second) {
  return first == second;
}

bool PersistedObjectsEqual(const host::Variant& first, const host::Variant& second) {
  if (first.IsNothing() && second.IsNothing()) return true;
  bool equal = false;
  TryStep([&] { equal = ByteArraysEqual(StoredImage(first), StoredImage(second)); });
  return equal;
}

void WritePersistedObject(host::PropertyBag& stream, std::string_view key,
                          const host::Variant& value,
                          const host::PropertyBag* customDefaults,
                          const host::Variant& builtInDefault) {
  const std::string name(key);
  if (customDefaults == nullptr) {
    stream.WriteProperty(name, value, builtInDefault);
    return;
  }
  if (!PersistedObjectsEqual(value, customDefaults->ReadProperty(name, builtInDefault))) {
    stream.WriteProperty(name, value);
  }
}

host::Variant ReadPersistedObject(const host::PropertyBag& stream,
                                  std::string_view key,
                                  const host::PropertyBag* customDefaults,
                                  const host::Variant& builtInDefault) {
  const host::Variant fallback =
      customDefaults ? EffectiveDefault(customDefaults, key, kNothing) : builtInDefault;
  return stream.ReadProperty(std::string(key), fallback);
}

void CopyIcons(const host::Control& source, host::Control& destination) {
  for (const IconProperty& icon : kIcons) {
    const std::string property(icon.property);
    TryStep([&] { destination.SetProperty(property, source.GetProperty(property)); });
  }
}

void WriteIcons(const host::Control& control, host::PropertyBag& stream,
                const host::PropertyBag* customDefaults) {
  for (const IconProperty& icon : kIcons) {
    TryStep([&] {
      WritePersistedObject(stream, icon.key,
                           control.GetProperty(std::string(icon.property)),
                           customDefaults, kNothing);
    });
  }
}

void ReadIcons(const host::PropertyBag& stream, host::Control& control,
               const host::PropertyBag* customDefaults) {
  for (const IconProperty& icon : kIcons) {
    TryStep([&] {
      control.SetProperty(std::string(icon.property),
                          ReadPersistedObject(stream, icon.key, customDefaults, kNothing));
    });
  }
}

}  // namespace tavorin::detail
