// The three public transfer operations as the tests call them, with the
// component's five settings spelled out, and a look into what a stream holds.
#pragma once

#include <string>

#include <tavorin/tavorin.h>

#include "groups/component_settings.h"

namespace tavorin::testing {

using Settings = detail::ComponentSettings;

/// A component with these settings.
inline Tavorin ComponentWith(const Settings& settings) {
  Tavorin component;
  component.SetContainer(settings.setContainer);
  component.SetTabIndex(settings.setTabIndex);
  component.SizeAccommodation(settings.sizeAccommodation);
  component.WriteControlName(settings.writeControlName);
  component.PictureOrImage(settings.pictureOrImage);
  return component;
}

inline host::ByteArray Write(const Settings& settings, host::Control& control,
                             const host::Variant& customDefaults = host::Variant::Missing()) {
  return ComponentWith(settings).ControlToStream(control.shared_from_this(), customDefaults);
}

inline void Read(const Settings& settings, const host::ByteArray& stream, host::Control& control,
                 const host::Variant& customDefaults = host::Variant::Missing()) {
  host::ObjectRef destination = control.shared_from_this();
  ComponentWith(settings).StreamToControl(stream, destination, customDefaults);
}

inline void Copy(const Settings& settings, host::Control& source, host::Control& destination) {
  host::ObjectRef from = source.shared_from_this();
  host::ObjectRef to = destination.shared_from_this();
  ComponentWith(settings).CopyControl(from, to);
}

/// What `stream` holds under `key`; Empty when the key is absent.
inline host::Variant Stored(const host::ByteArray& stream, const std::string& key) {
  host::PropertyBag bag;
  bag.SetContents(stream);
  return bag.ReadProperty(key);
}

inline bool Holds(const host::ByteArray& stream, const std::string& key) {
  return !Stored(stream, key).IsEmpty();
}

/// `stream` with `key` set to `value` (kept at its place when present).
inline host::ByteArray WithStored(const host::ByteArray& stream, const std::string& key,
                                  const host::Variant& value) {
  host::PropertyBag bag;
  bag.SetContents(stream);
  bag.WriteProperty(key, value);
  return bag.Contents();
}

}  // namespace tavorin::testing
