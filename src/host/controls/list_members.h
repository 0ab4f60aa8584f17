// The by-name members of the list controls, shared by the classes that have
// them.
#pragma once

#include <vector>

#include "host/property_table.h"

namespace tavorin::host::detail {

class ListMembers {
 public:
  /// ListCount, ListIndex and TopIndex.
  static std::vector<Binding> Positions();
  /// NewIndex.
  static Binding NewIndex();
  /// SelCount and MultiSelect.
  static std::vector<Binding> Selection();

  /// List(i) on a list the control fills itself: assigning raises 383.
  static MethodSpec ReadOnlyList();
  /// AddItem(text[, index]), RemoveItem(i), Clear, List(i[, text]) and
  /// ItemData(i[, value]).
  static std::vector<MethodSpec> Editing();
  /// Selected(i[, selected]).
  static MethodSpec Selected();
};

}  // namespace tavorin::host::detail
