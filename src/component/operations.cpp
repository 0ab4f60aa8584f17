// The three transfer operations. Their checks run in a fixed order, since
// callers tell failures apart by the first error raised, and all of them pass
// before any control is touched: a raised error leaves the destination as it
// was. Past the checks the control goes to its class's property set.
#include <tavorin/component.h>

#include <optional>
#include <string>
#include <utility>

#include "catalogue/control_type.h"
#include "classes/engine.h"
#include "classes/property_set.h"
#include "component/component_errors.h"
#include "component/identification.h"
#include "stream/envelope.h"

namespace tavorin {
namespace {

using detail::ComponentError;
using detail::RaiseComponentError;

const detail::PropertySet& RequirePropertySet(const std::string& className) {
  const detail::PropertySet* set = detail::FindPropertySet(className);
  if (set == nullptr) RaiseComponentError(ComponentError::kUnsupportedControl);
  return *set;
}

// A custom defaults stream must be a stream of the control's own class that
// needs no custom defaults itself: a stream written against one that does
// could never be read back, as reading refuses such defaults. The bag it
// loads into is the one the property set then takes its defaults from.
detail::LoadedStream LoadCustomDefaults(const host::Variant& customDefaultsStream,
                                        const std::string& className) {
  std::optional<detail::LoadedStream> defaults = detail::LoadValidStream(customDefaultsStream);
  if (!defaults || defaults->flags.requiresDefaults) {
    RaiseComponentError(ComponentError::kInvalidCustomDefaultsStream);
  }
  if (detail::TypeNameFromCode(defaults->flags.typeCode) != className) {
    RaiseComponentError(ComponentError::kStreamControlTypeMismatch);
  }
  return std::move(*defaults);
}

const host::PropertyBag* BagOrNone(const std::optional<detail::LoadedStream>& stream) {
  return stream ? stream->bag.get() : nullptr;
}

}  // namespace

void Tavorin::CopyControl(host::ObjectRef& SourceControl, host::ObjectRef& DestinationControl) {
  if (DestinationControl == nullptr) return;
  if (SourceControl == nullptr) {
    DestinationControl = nullptr;
    return;
  }
  const std::shared_ptr<host::Control> source = detail::AsControl(SourceControl);
  const std::shared_ptr<host::Control> destination = detail::AsControl(DestinationControl);
  if (source == nullptr || destination == nullptr) {
    RaiseComponentError(ComponentError::kNotAControl);
  }
  const std::string className = detail::ControlClassName(*source);
  if (className != detail::ControlClassName(*destination)) {
    RaiseComponentError(ComponentError::kControlTypeMismatch);
  }
  detail::RunCopy(RequirePropertySet(className), Settings(), *source, *destination);
}

host::ByteArray Tavorin::ControlToStream(const host::ObjectRef& SourceControl,
                                         const host::Variant& CustomDefaultsStream) {
  if (SourceControl == nullptr) return detail::NothingToStream();
  const std::shared_ptr<host::Control> source = detail::AsControl(SourceControl);
  if (source == nullptr) RaiseComponentError(ComponentError::kNotAControl);
  const std::string className = detail::ControlClassName(*source);
  std::optional<detail::LoadedStream> customDefaults;
  if (!CustomDefaultsStream.IsMissing()) {
    customDefaults = LoadCustomDefaults(CustomDefaultsStream, className);
  }
  return detail::RunWrite(RequirePropertySet(className), Settings(), *source,
                          BagOrNone(customDefaults));
}

void Tavorin::StreamToControl(const host::ByteArray& Stream, host::ObjectRef& DestinationControl,
                              const host::Variant& CustomDefaultsStream) {
  if (detail::IsEmptyArray(Stream) || DestinationControl == nullptr) return;
  const std::shared_ptr<host::Control> destination = detail::AsControl(DestinationControl);
  if (destination == nullptr) RaiseComponentError(ComponentError::kNotAControl);
  // One load of the stream answers validity, class and the custom-defaults
  // bit, and is the bag the property set reads from; the bit of a valid
  // stream is the one an unchecked read would give.
  const std::optional<detail::LoadedStream> stream = detail::LoadValidStream(Stream);
  if (!stream) RaiseComponentError(ComponentError::kInvalidStream);
  if (stream->flags.typeCode == detail::TypeCode(detail::ControlType::Nothing)) {
    DestinationControl = nullptr;
    return;
  }
  const std::string className = detail::ControlClassName(*destination);
  if (detail::TypeNameFromCode(stream->flags.typeCode) != className) {
    RaiseComponentError(ComponentError::kStreamControlTypeMismatch);
  }
  std::optional<detail::LoadedStream> customDefaults;
  if (CustomDefaultsStream.IsMissing()) {
    if (stream->flags.requiresDefaults) {
      RaiseComponentError(ComponentError::kMissingCustomDefaultsStream);
    }
  } else {
    customDefaults = LoadCustomDefaults(CustomDefaultsStream, className);
  }
  // A supported class without a set of its own yet is still unsupported.
  detail::RunRead(RequirePropertySet(className), Settings(), *stream->bag, *destination,
                  BagOrNone(customDefaults));
}

}  // namespace tavorin
