#include "groups/data_binding.h"

#include <array>
#include <string>

#include <tavorin/host/convert.h>

#include "groups/best_effort.h"
#include "groups/custom_defaults.h"
#include "groups/identity.h"
#include "groups/members.h"
#include "groups/persisted_objects.h"

namespace tavorin::detail {
namespace {

// The plain-valued binding properties, in the order they are assigned.
struct BindingValue {
  std::string_view key;
  std::string_view property;
  host::Variant builtInDefault;
};

const std::array<BindingValue, 3> kBindingValues{{
    {kDataMemberKey, kDataMemberProperty, host::Variant::String("")},
    {kDataFieldKey, kDataFieldProperty, host::Variant::String("")},
    {kDataChangedKey, kDataChangedProperty, host::Variant::Boolean(false)},
}};

// Each is stored in the type of its built-in default.
std::int16_t StoredType(const BindingValue& value) {
  return static_cast<std::int16_t>(value.builtInDefault.Type());
}

void Unbind(host::Control& control) {
  TryStep([&] { control.SetProperty(kDataSourceProperty, host::Variant::Object(nullptr)); });
  TryStep([&] { control.SetProperty(kDataFieldProperty, host::Variant::String("")); });
}

}  // namespace

void CopyDataBinding(const host::Control& source, host::Control& destination) {
  Unbind(destination);
  for (const std::string_view property : {kDataSourceProperty, kDataFormatProperty}) {
    TryStep([&] { destination.SetProperty(property, source.GetProperty(property)); });
  }
  for (const BindingValue& value : kBindingValues) {
    TryStep([&] { destination.SetProperty(value.property, source.GetProperty(value.property)); });
  }
}

void WriteDataBinding(const host::Control& control, host::PropertyBag& stream,
                      const host::PropertyBag* customDefaults) {
  WriteDataSource(control, stream);
  TryStep([&] {
    WritePersistedObject(stream, kDataFormatKey, control.GetProperty(kDataFormatProperty),
                         customDefaults, host::Variant::Missing());
  });
  for (const BindingValue& value : kBindingValues) {
    TryStep([&] {
      stream.WriteProperty(
          value.key, control.GetProperty(value.property),
          DefaultForWriting(customDefaults, value.key, value.builtInDefault, StoredType(value)));
    });
  }
}

void ReadDataBinding(const host::PropertyBag& stream, host::Control& control,
                     const host::PropertyBag* customDefaults) {
  Unbind(control);
  ReadDataSource(stream, control);
  TryStep([&] {
    const host::Variant format =
        ReadPersistedObject(stream, kDataFormatKey, customDefaults, host::Variant::Missing());
    if (!format.IsEmpty()) control.SetProperty(kDataFormatProperty, format);
  });
  for (const BindingValue& value : kBindingValues) {
    TryStep([&] {
      control.SetProperty(
          value.property,
          stream.ReadProperty(value.key,
                              DefaultForReading(customDefaults, value.key, value.builtInDefault,
                                                StoredType(value))));
    });
  }
}

void WriteDataSource(const host::Control& control, host::PropertyBag& stream) {
  TryStep([&] {
    const host::ObjectRef source = control.GetProperty(kDataSourceProperty).AsObject();
    if (!source) return;
    for (const auto& candidate : FormOf(control)->Controls()) {
      if (candidate.get() != source.get()) continue;
      stream.WriteProperty(kDataSourceNameKey, candidate->Name());
      if (IsControlArrayMember(*candidate)) {
        stream.WriteProperty(kDataSourceIndexKey, candidate->GetProperty("Index"));
      }
      return;
    }
  });
}

void ReadDataSource(const host::PropertyBag& stream, host::Control& control) {
  TryStep([&] {
    const std::string name = host::CStr(stream.ReadProperty(kDataSourceNameKey, std::string()));
    const host::Variant index = stream.ReadProperty(kDataSourceIndexKey);
    if (name.empty()) return;
    if (auto source = FindFormControl(*FormOf(control), name, index)) {
      control.SetProperty(kDataSourceProperty, host::Variant::Object(source));
    }
  });
}

}  // namespace tavorin::detail
