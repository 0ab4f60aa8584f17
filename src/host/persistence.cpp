#include "host/persistence.h"

#include <tavorin/host/data_format.h>
#include <tavorin/host/error.h>
#include <tavorin/host/picture.h>

namespace tavorin::host::detail {
namespace {

struct LoaderEntry {
  std::string_view typeName;
  StateLoader load;
};

// One row per persistable class, keyed by its TypeName. A class missing here
// cannot be written into a property bag (WriteProperty raises 13).
constexpr LoaderEntry kLoaders[] = {
    {"StdDataFormat", &DataFormat::LoadState},
    {"Picture", &Picture::LoadState},
};

}  // namespace

StateLoader FindStateLoader(std::string_view typeName) {
  for (const LoaderEntry& entry : kLoaders) {
    if (entry.typeName == typeName) return entry.load;
  }
  return nullptr;
}

ObjectRef LoadObjectState(std::string_view typeName, const ByteArray& state) {
  const StateLoader load = FindStateLoader(typeName);
  if (load == nullptr) RaiseHostError(errors::kInvalidFileFormat);
  ObjectRef object;
  try {
    object = load(state);
  } catch (const RuntimeError&) {
    // Whatever a loader finds wrong with the state, to the bag it is a bad image.
    RaiseHostError(errors::kInvalidFileFormat);
  }
  if (!object) RaiseHostError(errors::kInvalidFileFormat);
  return object;
}

}  // namespace tavorin::host::detail
