// An unpacked msgpack map indexed by its text keys, so that entries are found
// by name as a keyed store finds them.
#pragma once

#include <span>
#include <string_view>
#include <unordered_map>

#include <msgpack.hpp>

namespace tavorin::bench {

inline std::unordered_map<std::string_view, const msgpack::object*> IndexByKey(
    const msgpack::object_map& map) {
  std::unordered_map<std::string_view, const msgpack::object*> byKey;
  byKey.reserve(map.size);
  for (const msgpack::object_kv& pair : std::span(map.ptr, map.size)) {
    byKey.emplace(std::string_view(pair.key.via.str.ptr, pair.key.via.str.size), &pair.val);
  }
  return byKey;
}

}  // namespace tavorin::bench
