#include "classes/engine.h"

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/lists.h>

#include "classes/item_key.h"
#include "groups/best_effort.h"
#include "groups/common_properties.h"
#include "groups/custom_defaults.h"
#include "groups/data_binding.h"
#include "groups/identity.h"
#include "groups/persisted_objects.h"
#include "stream/stream_flags.h"

namespace tavorin::detail {
namespace {

bool IsObjectKey(const OwnKey& key) { return key.storedAs == host::VarType::Object; }

// Written as the default, it stores a value whatever it is.
const host::Variant kNoDefault = host::Variant::Missing();

std::int16_t TypeCodeOf(host::VarType type) { return static_cast<std::int16_t>(type); }

void RequireRuntimeClass(const PropertySet& set, const host::Control& control) {
  if (!set.isRuntimeClass(control)) host::RaiseHostError(host::errors::kTypeMismatch);
}

// How many items carry the set's item columns: every item of the list, none
// for a class without columns.
int ItemCount(const PropertySet& set, const host::Control& control) {
  if (set.itemColumns.empty()) return 0;
  const auto* list = dynamic_cast<const host::ListControl*>(&control);
  return list != nullptr ? list->ListCount() : 0;
}

std::vector<host::Variant> ItemDefaults(const PropertySet& set) {
  std::vector<host::Variant> defaults;
  for (const ItemColumn& column : set.itemColumns) {
    defaults.push_back(DefaultValue(column.builtInDefault));
  }
  return defaults;
}

// `value` converted to `storedAs` and written under `key` against its
// default in this call: the custom defaults' value, else `builtIn`, else
// none at all when `alwaysStored` and there are no custom defaults. One step.
// A value mostly arrives as its stored type already and goes on uncopied.
void WriteValue(host::PropertyBag& stream, const host::PropertyBag* customDefaults,
                std::string_view key, const host::Variant& value, host::VarType storedAs,
                const host::Variant& builtIn, bool alwaysStored) {
  const auto write = [&](const host::Variant& defaultValue) {
    if (value.Type() == storedAs) {
      stream.WriteProperty(key, value, defaultValue);
    } else {
      stream.WriteProperty(key, host::ConvertTo(value, storedAs), defaultValue);
    }
  };
  TryStep([&] {
    if (customDefaults != nullptr) {
      write(DefaultForWriting(customDefaults, key, builtIn, TypeCodeOf(storedAs)));
    } else {
      write(alwaysStored ? kNoDefault : builtIn);
    }
  });
}

// The value stored under `key`, else its default in this call, converted to
// `type`; raises like the host when it does not convert.
host::Variant ReadValue(const host::PropertyBag& stream, const host::PropertyBag* customDefaults,
                        std::string_view key, const host::Variant& builtIn, host::VarType type) {
  host::Variant value =
      stream.ReadProperty(key, DefaultForReading(customDefaults, key, builtIn, TypeCodeOf(type)));
  if (value.Type() != type) value = host::ConvertTo(value, type);
  return value;
}

// The class's own steps for the operation where it has them, else the
// common pattern.
template <typename Call>
void RunSteps(const PropertySet& set, void (*ClassSteps::*operation)(Call&), void (*pattern)(Call&),
              Call& call) {
  const auto own = set.steps != nullptr ? set.steps->*operation : nullptr;
  (own != nullptr ? own : pattern)(call);
}

}  // namespace

CopyCall::CopyCall(const PropertySet& set, const ComponentSettings& settings, host::Control& source,
                   host::Control& destination)
    : set_(set),
      settings_(settings),
      catalogue_(BuildDefaultsCatalogue(set.type)),
      source_(source),
      destination_(destination) {}

void CopyCall::CommonProperties() const {
  CopyCommonProperties(settings_, source_, destination_, catalogue_, set_.switches.copy);
}

void CopyCall::OwnKeys() const {
  for (const OwnKey& key : set_.ownKeys) CopyProperty(key.property);
}

void CopyCall::CopyProperty(std::string_view property) const {
  TryStep([&] { destination_.SetProperty(property, source_.GetProperty(property)); });
}

void CopyCall::ItemColumns(int index) const {
  for (const ItemColumn& column : set_.itemColumns) {
    TryStep([&] { column.set(destination_, index, column.get(source_, index)); });
  }
}

void CopyCall::Items() const {
  const int count = ItemCount(set_, source_);
  for (int index = 0; index < count; ++index) ItemColumns(index);
}

void CopyCall::DataBinding() const {
  if (set_.dataBinding) CopyDataBinding(source_, destination_);
}

WriteCall::WriteCall(const PropertySet& set, const ComponentSettings& settings,
                     const host::Control& control, const host::PropertyBag* customDefaults)
    : set_(set),
      settings_(settings),
      catalogue_(BuildDefaultsCatalogue(set.type)),
      control_(control),
      customDefaults_(customDefaults),
      itemDefaults_(ItemDefaults(set)) {
  WriteIdentity(settings, control, stream_, set.type, customDefaults != nullptr,
                set.switches.write);
}

void WriteCall::CommonProperties() {
  WriteCommonProperties(settings_, control_, stream_, catalogue_, customDefaults_,
                        set_.switches.write);
}

void WriteCall::OwnKeys() {
  for (const OwnKey& key : set_.ownKeys) WriteOwnKey(key);
}

void WriteCall::WriteOwnKey(const OwnKey& key) {
  TryStep([&] { WriteOwnKey(key, control_.GetProperty(key.property)); });
}

void WriteCall::WriteOwnKey(const OwnKey& key, const host::Variant& value) {
  const host::Variant builtIn = DefaultValue(key.builtInDefault);
  if (IsObjectKey(key)) {
    WriteObject(key.key, value, key.alwaysStored ? host::Variant::Missing() : builtIn);
    return;
  }
  WriteValue(stream_, customDefaults_, key.key, value, key.storedAs, builtIn, key.alwaysStored);
}

void WriteCall::WriteObject(std::string_view key, const host::Variant& value,
                            const host::Variant& builtInDefault) {
  TryStep([&] { WritePersistedObject(stream_, key, value, customDefaults_, builtInDefault); });
}

void WriteCall::Items() {
  const int count = ItemCount(set_, control_);
  for (int index = 0; index < count; ++index) {
    ItemKey key(index);
    for (std::size_t c = 0; c < set_.itemColumns.size(); ++c) {
      const ItemColumn& column = set_.itemColumns[c];
      TryStep([&] {
        WriteValue(stream_, customDefaults_, key.For(column.letter), column.get(control_, index),
                   column.storedAs, itemDefaults_[c], false);
      });
    }
  }
}

void WriteCall::DataBinding() {
  if (set_.dataBinding) WriteDataBinding(control_, stream_, customDefaults_);
}

host::ByteArray WriteCall::Finish() const {
  host::ByteArray image;
  TryStep([&] { image = stream_.Contents(); });
  return image;
}

ReadCall::ReadCall(const PropertySet& set, const ComponentSettings& settings,
                   const host::PropertyBag& stream, host::Control& control,
                   const host::PropertyBag* customDefaults)
    : set_(set),
      settings_(settings),
      catalogue_(BuildDefaultsCatalogue(set.type)),
      stream_(stream),
      control_(control),
      customDefaults_(customDefaults),
      itemDefaults_(ItemDefaults(set)) {
  readable_ = ReadIdentity(settings, stream, control, set.switches.read) == kStreamVersion;
}

void ReadCall::CommonProperties() {
  ReadCommonProperties(settings_, stream_, control_, catalogue_, customDefaults_,
                       set_.switches.read);
}

void ReadCall::OwnKeys() {
  for (const OwnKey& key : set_.ownKeys) RestoreOwnKey(key);
}

void ReadCall::RestoreOwnKey(const OwnKey& key) {
  TryStep([&] { control_.SetProperty(key.property, ReadOwnKey(key)); });
}

host::Variant ReadCall::ReadOwnKey(const OwnKey& key) const {
  if (IsObjectKey(key)) {
    return ReadPersistedObject(stream_, key.key, customDefaults_, DefaultValue(key.builtInDefault));
  }
  return ReadOwnKey(key, key.storedAs);
}

host::Variant ReadCall::ReadOwnKey(const OwnKey& key, host::VarType type) const {
  return ReadValue(stream_, customDefaults_, key.key, DefaultValue(key.builtInDefault), type);
}

void ReadCall::ItemColumns(int index) {
  ItemKey key(index);
  for (std::size_t c = 0; c < set_.itemColumns.size(); ++c) {
    const ItemColumn& column = set_.itemColumns[c];
    TryStep([&] {
      column.set(control_, index,
                 ReadValue(stream_, customDefaults_, key.For(column.letter), itemDefaults_[c],
                           column.storedAs));
    });
  }
}

void ReadCall::Items() {
  const int count = ItemCount(set_, control_);
  for (int index = 0; index < count; ++index) ItemColumns(index);
}

void ReadCall::DataBinding() {
  if (set_.dataBinding) ReadDataBinding(stream_, control_, customDefaults_);
}

void CopyPattern(CopyCall& call) {
  call.CommonProperties();
  call.OwnKeys();
  call.Items();
  call.DataBinding();
}

void WritePattern(WriteCall& call) {
  call.CommonProperties();
  call.OwnKeys();
  call.Items();
  call.DataBinding();
}

void ReadPattern(ReadCall& call) {
  call.CommonProperties();
  call.OwnKeys();
  call.Items();
  call.DataBinding();
}

void RunCopy(const PropertySet& set, const ComponentSettings& settings, host::Control& source,
             host::Control& destination) {
  RequireRuntimeClass(set, source);
  RequireRuntimeClass(set, destination);
  // A control is already a copy of itself; the steps, which clear a list or
  // assign a text before taking what follows from the source, would lose it.
  if (&source == &destination) return;
  CopyCall call(set, settings, source, destination);
  RunSteps(set, &ClassSteps::copy, &CopyPattern, call);
}

host::ByteArray RunWrite(const PropertySet& set, const ComponentSettings& settings,
                         const host::Control& control, const host::PropertyBag* customDefaults) {
  RequireRuntimeClass(set, control);
  WriteCall call(set, settings, control, customDefaults);
  RunSteps(set, &ClassSteps::write, &WritePattern, call);
  return call.Finish();
}

void RunRead(const PropertySet& set, const ComponentSettings& settings,
             const host::PropertyBag& stream, host::Control& control,
             const host::PropertyBag* customDefaults) {
  RequireRuntimeClass(set, control);
  ReadCall call(set, settings, stream, control, customDefaults);
  if (call.IsReadable()) RunSteps(set, &ClassSteps::read, &ReadPattern, call);
}

}  // namespace tavorin::detail
