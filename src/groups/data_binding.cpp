#include "groups/data_binding.h"

#include <array>
#include <string>

#include <tavorin/host/convert.h>

#include "groups/best_effort.h"
#include "groups/custom_defaults.h"
#include "groups/icons.h"
#include "groups/identity.h"
#include "groups/members.h"

namespace tavorin::detail {
namespace {

const std::string kDataSource = "DataSource";
const std::string kDataField = "DataField";
const std::string kDataFormat = "DataFormat";

// The plain-valued binding properties, in the order they are assigned.
struct BindingValue {
  std::string_view key;
  std::string_view property;
  host::Variant builtInDefault;
};

const std::array<BindingValue, 3> kBindingValues{{
    {"DtM", "DataMember", host::Variant::String("")},
    {"DFd", "DataField", host::Variant::String("")},
    {"DtC", "DataChanged", host::Variant::Boolean(false)},
}};

void Unbind(host::Control& control) {
  TryStep([&] { control.SetProperty(kDataSource, host::Variant::Object(nullptr)); });
  TryStep([&] { control.SetProperty(kDataField, host::Variant::String("")); });
}

}  // namespace

void CopyDataBinding(const host::Control& source, host::Control& destination) {
  Unbind(destination);
  for (const std::string& property : {kDataSource, kDataFormat}) {
    TryStep([&] { destination.SetProperty(property, source.GetProperty(property)); });
  }
  for (const BindingValue& value : kBindingValues) {
    const std::string property(value.property);
    TryStep([&] { destination.SetProperty(property, source.GetProperty(property)); });
  }
}

void WriteDataBinding(const host::Control& control, host::PropertyBag& stream,
                      const host::PropertyBag* customDefaults) {
  WriteDataSource(control, stream);
  TryStep([&] {
    WritePersistedObject(stream, kDataFormatKey, control.GetProperty(kDataFormat),
                         customDefaults, host::Variant::Missing());
  });
  for (const BindingValue& value : kBindingValues) {
    TryStep([&] {
      stream.WriteProperty(std::string(value.key),
                           control.GetProperty(std::string(value.property)),
                           EffectiveDefault(customDefaults, value.key, value.builtInDefault));
    });
  }
}

void ReadDataBinding(const host::PropertyBag& stream, host::Control& control,
                     const host::PropertyBag* customDefaults) {
  Unbind(control);
  ReadDataSource(stream, control);
  TryStep([&] {
    const host::Variant format = ReadPersistedObject(stream, kDataFormatKey, customDefaults,
                                                     host::Variant::Missing());
    if (!format.IsEmpty()) control.SetProperty(kDataFormat, format);
  });
  for (const BindingValue& value : kBindingValues) {
    TryStep([&] {
      control.SetProperty(
          std::string(value.property),
          stream.ReadProperty(std::string(value.key),
                              EffectiveDefault(customDefaults, value.key,
                                               value.builtInDefault)));
    });
  }
}

void WriteDataSource(const host::Control& control, host::PropertyBag& stream) {
  TryStep([&] {
    const host::ObjectRef source = control.GetProperty(kDataSource).AsObject();
    if (!source) return;
    for (const auto& candidate : FormOf(control)->Controls()) {
      if (candidate.get() != source.get()) continue;
      stream.WriteProperty(std::string(kDataSourceNameKey), candidate->Name());
      if (IsControlArrayMember(*candidate)) {
        stream.WriteProperty(std::string(kDataSourceIndexKey),
                             candidate->GetProperty("Index"));
      }
      return;
    }
  });
}

void ReadDataSource(const host::PropertyBag& stream, host::Control& control) {
  TryStep([&] {
    const std::string name = host::CStr(
        stream.ReadProperty(std::string(kDataSourceNameKey), std::string()));
    const host::Variant index = stream.ReadProperty(std::string(kDataSourceIndexKey));
    if (name.empty()) return;
    if (auto source = FindFormControl(*FormOf(control), name, index)) {
      control.SetProperty(kDataSource, host::Variant::Object(source));
    }
  });
}

}  // namespace tavorin::detail
