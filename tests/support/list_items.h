// The items of a list control, in order, for comparing whole lists.
#pragma once

#include <string>
#include <vector>

#include <tavorin/host/lists.h>

namespace tavorin::testing {

inline std::vector<std::string> ListItems(const host::ListControl& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.ListCount(); ++i) items.push_back(list.List(i));
  return items;
}

}  // namespace tavorin::testing
