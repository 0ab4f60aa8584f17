#include "classes/list_sets.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "classes/engine.h"
#include "groups/best_effort.h"

namespace tavorin::detail {
namespace {

// The own keys beyond the positions are what a ComboBox shows of its edit
// text: applied after the catalogued properties, since choosing an item
// (ListIndex) replaces the text, and before TopIndex.
bool IsPositionKey(const OwnKey& key) {
  return key.key == kListCountKey || key.key == kListIndexKey || key.key == kTopIndexKey ||
         key.key == kNewIndexKey;
}

// NewIndex cannot be set, so the item added last is removed and added again
// at its place, after all others. -1 (the last change removed an item) is
// made by adding a blank item at the end and removing it, which only a full
// list cannot take. The re-add follows only a removal that succeeded, so
// that an index beyond the list adds nothing.
template <typename List, typename Call>
void RecreateNewIndex(List& list, int newIndex, Call& call) {
  if (newIndex == -1) {
    TryStep([&] {
      list.AddItem(std::string());
      list.RemoveItem(list.ListCount() - 1);
    });
    return;
  }
  if (TryStep([&] { list.RemoveItem(newIndex); }) &&
      TryStep([&] { list.AddItem(std::string(), newIndex); })) {
    call.ItemColumns(newIndex);
  }
}

// Each item is added blank and then given its columns, its text among them,
// so that an item whose text does not arrive still keeps the later items at
// their indexes.
template <typename List, typename Call>
void RebuildItems(List& list, int count, std::optional<int> newIndex, Call& call) {
  // Room for them all at once (and the item NewIndex is made with):
  // growing item by item would hold the items twice for a moment, half again
  // the list's own size at the peak of a restore of a full list.
  list.ReserveItems(count + 1);
  for (int index = 0; index < count; ++index) {
    if (TryStep([&] { list.AddItem(std::string()); })) call.ItemColumns(index);
  }
  if (newIndex) RecreateNewIndex(list, *newIndex, call);
}

}  // namespace

template <typename List>
void FilledListSteps<List>::Copy(CopyCall& call) {
  const auto& source = static_cast<const List&>(call.Source());
  auto& destination = static_cast<List&>(call.Destination());
  const PropertySet& set = call.Set();
  destination.Clear();
  if (const int count = source.ListCount(); count > 0) {
    RebuildItems(destination, count, source.NewIndex(), call);
    call.CopyProperty(set.Key(kListIndexKey).property);
  }
  call.CommonProperties();
  for (const OwnKey& key : set.ownKeys) {
    if (!IsPositionKey(key)) call.CopyProperty(key.property);
  }
  call.CopyProperty(set.Key(kTopIndexKey).property);
  call.DataBinding();
}

template <typename List>
void FilledListSteps<List>::Write(WriteCall& call) {
  const auto& list = static_cast<const List&>(call.Control());
  const OwnKey& countKey = call.Set().Key(kListCountKey);
  call.CommonProperties();
  call.DataBinding();
  const int count = list.ListCount();
  // Stored whatever the defaults, custom ones too: it tells a reader how
  // many items follow.
  TryStep([&] {
    call.Stream().WriteProperty(countKey.key, host::ConvertTo(count, countKey.storedAs));
  });
  if (count == 0) return;  // an empty list stores its count alone
  for (const OwnKey& key : call.Set().ownKeys) {
    if (&key != &countKey) call.WriteOwnKey(key);
  }
  call.Items();
}

template <typename List>
void FilledListSteps<List>::Read(ReadCall& call) {
  auto& list = static_cast<List&>(call.Control());
  const PropertySet& set = call.Set();
  list.Clear();
  // Taken as a Long and bounded by what a list holds: a damaged count must
  // neither lose the list nor run billions of reads.
  std::int32_t count = 0;
  TryStep([&] {
    count = std::clamp<std::int32_t>(
        host::CLng(call.ReadOwnKey(set.Key(kListCountKey), host::VarType::Long)), 0,
        host::ListControl::kMaxItems);
  });
  if (count > 0) {
    std::optional<int> newIndex;
    TryStep([&] { newIndex = host::CLng(call.ReadOwnKey(set.Key(kNewIndexKey))); });
    RebuildItems(list, count, newIndex, call);
    call.RestoreOwnKey(set.Key(kListIndexKey));
  }
  call.CommonProperties();
  for (const OwnKey& key : set.ownKeys) {
    if (!IsPositionKey(key)) call.RestoreOwnKey(key);
  }
  call.RestoreOwnKey(set.Key(kTopIndexKey));
  call.DataBinding();
}

template struct FilledListSteps<host::ComboBox>;
template struct FilledListSteps<host::ListBox>;

}  // namespace tavorin::detail
