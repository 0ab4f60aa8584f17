// The interface between the component's public operations and the per-class
// property sets: the dispatch table maps a class name to one PropertySet.
#pragma once

#include <cstdint>
#include <string_view>

#include <tavorin/host/control.h>
#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

namespace tavorin::detail {

/// The component's five settings as the property sets read them during a call.
struct ComponentSettings {
  bool setContainer = false;
  bool setTabIndex = false;
  bool sizeAccommodation = true;
  bool writeControlName = true;
  std::int16_t pictureOrImage = 0;  // 0: Picture; any other value: Image
};

/// The three operations of one class. Each raises nothing but the host's
/// 13 "Type mismatch" when a control is not the runtime's control of the
/// class (a control of another library that only reports the class name);
/// every other failing step inside is skipped.
/// The public operation validates and loads every stream once and hands the
/// sets the loaded bags: `stream` is the bag of the stream being read, and
/// `customDefaults` the bag of the caller's CustomDefaultsStream, nullptr
/// when the caller passed none.
struct PropertySet {
  std::string_view className;
  void (*copy)(const ComponentSettings& settings, host::Control& source,
               host::Control& destination);
  host::ByteArray (*write)(const ComponentSettings& settings, host::Control& source,
                           const host::PropertyBag* customDefaults);
  void (*read)(const ComponentSettings& settings, const host::PropertyBag& stream,
               host::Control& destination, const host::PropertyBag* customDefaults);
};

/// The set of a class name (exact comparison), or nullptr when the class has
/// none yet. Defined with the dispatch table in src/classes/property_sets.cpp.
const PropertySet* FindPropertySet(std::string_view className);

}  // namespace tavorin::detail
