#include "groups/shared_keys.h"

#include <algorithm>
#include <array>

#include "groups/data_binding.h"
#include "groups/icons.h"
#include "groups/identity.h"
#include "groups/placement.h"
#include "stream/envelope.h"

namespace tavorin::detail {
namespace {

// Grouped, each group's keys in the order it writes them.
constexpr std::array kSharedKeys{
    SharedKey{kStreamFlagsKey, SharedGroup::Envelope, "", "stream flags"},
    SharedKey{kControlNameKey, SharedGroup::Envelope, "", "control name"},
    SharedKey{kContainerNameKey, SharedGroup::Container, "Container", "container name"},
    SharedKey{kContainerIndexKey, SharedGroup::Container, "", "container index"},
    SharedKey{kTabIndexKey, SharedGroup::TabIndex, "TabIndex", "tab index"},
    SharedKey{kScaleModeKey, SharedGroup::Placement, "", "container scale mode"},
    SharedKey{kDragIconKey, SharedGroup::Icons, "DragIcon", "drag icon"},
    SharedKey{kMouseIconKey, SharedGroup::Icons, "MouseIcon", "mouse icon"},
    SharedKey{kDataSourceNameKey, SharedGroup::DataBinding, kDataSourceProperty,
              "data source name"},
    SharedKey{kDataSourceIndexKey, SharedGroup::DataBinding, "", "data source index"},
    SharedKey{kDataFormatKey, SharedGroup::DataBinding, kDataFormatProperty, "data format"},
    SharedKey{kDataMemberKey, SharedGroup::DataBinding, kDataMemberProperty, "data member"},
    SharedKey{kDataFieldKey, SharedGroup::DataBinding, kDataFieldProperty, "data field"},
    SharedKey{kDataChangedKey, SharedGroup::DataBinding, kDataChangedProperty, "data changed"},
};

}  // namespace

std::span<const SharedKey> SharedKeys() { return kSharedKeys; }

std::span<const SharedKey> SharedKeysOf(SharedGroup group) {
  const auto first = std::find_if(kSharedKeys.begin(), kSharedKeys.end(),
                                  [&](const SharedKey& shared) { return shared.group == group; });
  const auto last = std::find_if(first, kSharedKeys.end(),
                                 [&](const SharedKey& shared) { return shared.group != group; });
  return {first, last};
}

const SharedKey* FindSharedKey(std::string_view key) {
  const auto found = std::find_if(kSharedKeys.begin(), kSharedKeys.end(),
                                  [&](const SharedKey& shared) { return shared.key == key; });
  return found == kSharedKeys.end() ? nullptr : &*found;
}

}  // namespace tavorin::detail
