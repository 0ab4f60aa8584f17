#include "groups/data_binding.h"

#include <array>
#include <string>

#include <tavorin/host/convert.h>

#include "groups/best_effort.h"
#include "groups/custom_defaults.h"
#include "groups/identity.h"
#include "groups/members.h"
#include "groups/persisted_objects.h"
#include "host/property_positions.h"

namespace tavorin::detail {
namespace {

// The binding's properties by their place in a bound class's table, found
// once a class: looking them up by name was 1% of a text box's write and
// read (component_bench, under callgrind).
enum BindingProperty : std::size_t { kSource, kFormat, kMember, kField, kChanged };

const host::detail::PropertyPositions& Binding() {
  static const host::detail::PropertyPositions positions({kDataSourceProperty, kDataFormatProperty,
                                                          kDataMemberProperty, kDataFieldProperty,
                                                          kDataChangedProperty});
  return positions;
}

// The plain-valued binding properties, in the order they are assigned.
struct BindingValue {
  std::string_view key;
  BindingProperty property;
  host::Variant builtInDefault;
};

const std::array<BindingValue, 3> kBindingValues{{
    {kDataMemberKey, kMember, host::Variant::String("")},
    {kDataFieldKey, kField, host::Variant::String("")},
    {kDataChangedKey, kChanged, host::Variant::Boolean(false)},
}};

// Each is stored in the type of its built-in default.
std::int16_t StoredType(const BindingValue& value) {
  return static_cast<std::int16_t>(value.builtInDefault.Type());
}

void Unbind(host::Control& control) {
  TryStep([&] { Binding().Set(control, kSource, host::Variant::Object(nullptr)); });
  TryStep([&] { Binding().Set(control, kField, host::Variant::String("")); });
}

}  // namespace

void CopyDataBinding(const host::Control& source, host::Control& destination) {
  Unbind(destination);
  for (const BindingProperty property : {kSource, kFormat, kMember, kField, kChanged}) {
    TryStep([&] { Binding().Set(destination, property, Binding().Get(source, property)); });
  }
}

void WriteDataBinding(const host::Control& control, host::PropertyBag& stream,
                      const host::PropertyBag* customDefaults) {
  WriteDataSource(control, stream);
  TryStep([&] {
    WritePersistedObject(stream, kDataFormatKey, Binding().Get(control, kFormat), customDefaults,
                         host::Variant::Missing());
  });
  for (const BindingValue& value : kBindingValues) {
    TryStep([&] {
      stream.WriteProperty(
          value.key, Binding().Get(control, value.property),
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
    if (!format.IsEmpty()) Binding().Set(control, kFormat, format);
  });
  for (const BindingValue& value : kBindingValues) {
    TryStep([&] {
      Binding().Set(control, value.property,
                    stream.ReadProperty(
                        value.key, DefaultForReading(customDefaults, value.key,
                                                     value.builtInDefault, StoredType(value))));
    });
  }
}

void WriteDataSource(const host::Control& control, host::PropertyBag& stream) {
  TryStep([&] {
    const host::ObjectRef source = Binding().Get(control, kSource).AsObject();
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
      Binding().Set(control, kSource, host::Variant::Object(source));
    }
  });
}

}  // namespace tavorin::detail
