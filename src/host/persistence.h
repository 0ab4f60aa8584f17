// The registry of the host's persistable classes: how the property bag turns
// a stored type name and state back into an object.
#pragma once

#include <string_view>

#include <tavorin/host/object.h>

namespace tavorin::host::detail {

/// Makes a new object from the bytes of its SaveState; raises 321 "Invalid
/// file format" for state it cannot load.
using StateLoader = ObjectRef (*)(const ByteArray& state);

/// The loader of the persistable class named `typeName`; nullptr when the host
/// has no persistable class of that name.
StateLoader FindStateLoader(std::string_view typeName);

/// A new object of class `typeName` with state `state`. Raises 321 "Invalid
/// file format" when the class is unknown or its loader refuses the state.
ObjectRef LoadObjectState(std::string_view typeName, const ByteArray& state);

}  // namespace tavorin::host::detail
