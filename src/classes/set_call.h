// The frame that every property set's write and read share: the class's
// catalogue, the stream bag with the identity written or read first, and the
// custom defaults bag when the caller passed a CustomDefaultsStream. The bags
// read from are the ones the public operation loaded; the set itself then
// runs its own steps in its own order.
#pragma once

#include <cstdint>

#include <tavorin/host/control.h>
#include <tavorin/host/error.h>
#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

#include "../catalogue/defaults_catalogue.h"
#include "property_set.h"
#include "../groups/group_switches.h"

namespace tavorin::detail {

/// The control viewed as the runtime's control of class `T`; raises 13 for a
/// control that only reports the class's name (a control of another library).
template <typename T>
T& RequireClass(host::Control& control) {
  auto* typed = dynamic_cast<T*>(&control);
  if (typed == nullptr) host::RaiseHostError(host::errors::kTypeMismatch);
  return *typed;
}

/// A write in progress: the identity is written on construction.
class StreamWriteCall {
 public:
  /// `customDefaults` is nullptr when the caller passed none; it must outlive
  /// the call.
  StreamWriteCall(const ComponentSettings& settings, const host::Control& control,
                  const host::PropertyBag* customDefaults, std::int16_t typeCode,
                  const GroupSwitches& switches);

  const DefaultsCatalogue& Catalogue() const { return catalogue_; }
  host::PropertyBag& Stream() { return stream_; }
  /// nullptr when the caller passed no custom defaults.
  const host::PropertyBag* CustomDefaults() const { return customDefaults_; }
  /// The finished stream: the image of everything written.
  host::ByteArray Finish() const;

 private:
  DefaultsCatalogue catalogue_;
  host::PropertyBag stream_;
  const host::PropertyBag* customDefaults_;
};

/// A read in progress from a loaded stream: the identity (container and tab
/// index) is applied on construction.
class StreamReadCall {
 public:
  /// `stream` and `customDefaults` (nullptr when the caller passed none) must
  /// outlive the call.
  StreamReadCall(const ComponentSettings& settings, const host::PropertyBag& stream,
                 host::Control& control, const host::PropertyBag* customDefaults,
                 std::int16_t typeCode, const GroupSwitches& switches);

  /// False for a stream of another format than 1: nothing beyond the identity
  /// may be applied then.
  bool IsReadable() const { return readable_; }
  const DefaultsCatalogue& Catalogue() const { return catalogue_; }
  const host::PropertyBag& Stream() const { return stream_; }
  /// nullptr when the caller passed no custom defaults.
  const host::PropertyBag* CustomDefaults() const { return customDefaults_; }

 private:
  DefaultsCatalogue catalogue_;
  const host::PropertyBag& stream_;
  const host::PropertyBag* customDefaults_;
  bool readable_ = false;
};

}  // namespace tavorin::detail
