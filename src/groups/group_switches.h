// The per-class switches with which a property set turns the shared groups on
// or off; each group still consults the component's settings as well.
#pragma once

namespace tavorin::detail {

struct GroupSwitches {
  /// The container: copied, written as "CnN"/"CnI" and read, when SetContainer is on.
  bool container = true;
  /// The tab index: copied, written as "TbI" and read, when SetTabIndex is on.
  bool tabIndex = true;
  /// Placement converted between container units (the write's "CnS"), when
  /// SizeAccommodation is on.
  bool placement = true;
  /// DragIcon and MouseIcon ("DIc", "MIc").
  bool icons = true;
};

}  // namespace tavorin::detail
