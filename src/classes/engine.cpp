#include "classes/engine.h"

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>

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

std::int16_t TypeCodeOf(host::VarType type) { return static_cast<std::int16_t>(type); }

void RequireRuntimeClass(const PropertySet& set, const host::Control& control) {
  if (!set.isRuntimeClass(control)) host::RaiseHostError(host::errors::kTypeMismatch);
}

// The class's own steps for the operation where it has them, else the
// common pattern.
template <typename Call>
void RunSteps(const PropertySet& set, void (*ClassSteps::*operation)(Call&),
              void (*pattern)(Call&), Call& call) {
  const auto own = set.steps != nullptr ? set.steps->*operation : nullptr;
  (own != nullptr ? own : pattern)(call);
}

}  // namespace

CopyCall::CopyCall(const PropertySet& set, const ComponentSettings& settings,
                   host::Control& source, host::Control& destination)
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

void CopyCall::DataBinding() const {
  if (set_.dataBinding) CopyDataBinding(source_, destination_);
}

WriteCall::WriteCall(const PropertySet& set, const ComponentSettings& settings,
                     const host::Control& control, const host::PropertyBag* customDefaults)
    : set_(set),
      settings_(settings),
      catalogue_(BuildDefaultsCatalogue(set.type)),
      control_(control),
      customDefaults_(customDefaults) {
  WriteIdentity(settings, control, stream_, set.type, customDefaults != nullptr,
                set.switches.write);
}

void WriteCall::CommonProperties() {
  WriteCommonProperties(settings_, control_, stream_, catalogue_, customDefaults_,
                        set_.switches.write);
}

void WriteCall::OwnKeys() {
  for (const OwnKey& key : set_.ownKeys) {
    TryStep([&] { WriteOwnKey(key, control_.GetProperty(key.property)); });
  }
}

void WriteCall::WriteOwnKey(const OwnKey& key, const host::Variant& value) {
  const host::Variant builtIn = DefaultValue(key.builtInDefault);
  if (IsObjectKey(key)) {
    WriteObject(key.key, value, key.alwaysStored ? host::Variant::Missing() : builtIn);
    return;
  }
  TryStep([&] {
    const host::Variant defaultValue =
        customDefaults_ != nullptr ? DefaultForWriting(customDefaults_, key.key, builtIn,
                                                       TypeCodeOf(key.storedAs))
        : key.alwaysStored         ? host::Variant::Missing()
                                   : builtIn;
    stream_.WriteProperty(key.key, host::ConvertTo(value, key.storedAs), defaultValue);
  });
}

void WriteCall::WriteObject(std::string_view key, const host::Variant& value,
                            const host::Variant& builtInDefault) {
  TryStep([&] { WritePersistedObject(stream_, key, value, customDefaults_, builtInDefault); });
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
      customDefaults_(customDefaults) {
  readable_ = ReadIdentity(settings, stream, control, set.switches.read) == kStreamVersion;
}

void ReadCall::CommonProperties() {
  ReadCommonProperties(settings_, stream_, control_, catalogue_, customDefaults_,
                       set_.switches.read);
}

void ReadCall::OwnKeys() {
  for (const OwnKey& key : set_.ownKeys) {
    TryStep([&] { control_.SetProperty(key.property, ReadOwnKey(key)); });
  }
}

host::Variant ReadCall::ReadOwnKey(const OwnKey& key) const {
  const host::Variant builtIn = DefaultValue(key.builtInDefault);
  if (IsObjectKey(key)) return ReadPersistedObject(stream_, key.key, customDefaults_, builtIn);
  return host::ConvertTo(
      stream_.ReadProperty(key.key, DefaultForReading(customDefaults_, key.key, builtIn,
                                                      TypeCodeOf(key.storedAs))),
      key.storedAs);
}

void ReadCall::DataBinding() {
  if (set_.dataBinding) ReadDataBinding(stream_, control_, customDefaults_);
}

void CopyPattern(CopyCall& call) {
  call.CommonProperties();
  call.OwnKeys();
  call.DataBinding();
}

void WritePattern(WriteCall& call) {
  call.CommonProperties();
  call.OwnKeys();
  call.DataBinding();
}

void ReadPattern(ReadCall& call) {
  call.CommonProperties();
  call.OwnKeys();
  call.DataBinding();
}

void RunCopy(const PropertySet& set, const ComponentSettings& settings, host::Control& source,
             host::Control& destination) {
  RequireRuntimeClass(set, source);
  RequireRuntimeClass(set, destination);
  // Copying would unbind the control before reading its binding back, and
  // reassign its text under its selection: a copy onto itself changes nothing.
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
