// Every key the envelope and the shared groups may write into a stream, with
// the group that writes it and what it stands for: the one list from which
// explanations of streams and the checks on what a class may store are read.
#pragma once

#include <span>
#include <string_view>

namespace tavorin::detail {

enum class SharedGroup { Envelope, Container, TabIndex, Placement, Icons, DataBinding };

struct SharedKey {
  std::string_view key;
  SharedGroup group;
  /// The control's property the key carries; "" for a key that only helps to
  /// carry another (a container's or data source's index, the envelope).
  std::string_view property;
  std::string_view meaning;
};

std::span<const SharedKey> SharedKeys();

/// The keys of one group, in the order the group writes them.
std::span<const SharedKey> SharedKeysOf(SharedGroup group);

/// The entry of `key`, or nullptr when no shared group writes it.
const SharedKey* FindSharedKey(std::string_view key);

}  // namespace tavorin::detail
