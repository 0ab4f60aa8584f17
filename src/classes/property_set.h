// The registry of property sets: one row per control class, saying which
// shared groups the class uses in each operation, the keys it stores beyond
// its catalogue, its list item columns, whether it carries data binding, and,
// only for a class that leaves the common pattern, its own steps. Dispatch,
// stream explanations, the tool's comparison of controls and the tests all
// read these rows; nothing else lists classes or keys.
#pragma once

#include <span>
#include <string_view>

#include <tavorin/host/control.h>
#include <tavorin/host/variant.h>

#include "catalogue/control_type.h"
#include "catalogue/default_literal.h"
#include "groups/group_switches.h"

namespace tavorin::detail {

/// A key a class stores beyond its catalogue and the shared groups.
struct OwnKey {
  std::string_view key;
  /// The property reached by name; "" where the class's own steps reach the
  /// value some other way.
  std::string_view property;
  /// What the key stands for, in words.
  std::string_view meaning;
  /// The type the value is converted to before it is written and after it is
  /// read; Object for a picture, which follows the rules of stored objects.
  host::VarType storedAs;
  DefaultLiteral builtInDefault;
  /// Against the built-in defaults the key is written with no default at all,
  /// so it is stored whatever the value.
  bool alwaysStored = false;
};

/// One column of a list's items: stored per item under the letter followed
/// by the item's index in plain decimal ("I0", "D12"; classes/item_key.h).
struct ItemColumn {
  char letter;
  /// The indexed member of the list that holds the column, by name.
  std::string_view member;
  std::string_view meaning;
  host::VarType storedAs;
  DefaultLiteral builtInDefault;
  /// The same member reached through the class's own interface, as a list
  /// of 32,767 items is too long to walk by name. Both raise like the host
  /// for an index outside the list; the value is taken over, so a text
  /// moves into the list rather than being copied.
  host::Variant (*get)(const host::Control& list, int index);
  void (*set)(host::Control& list, int index, host::Variant value);
};

/// The shared groups of each operation. Most classes use the same switches in
/// all three; a few differ between them.
struct OperationSwitches {
  GroupSwitches copy;
  GroupSwitches write;
  GroupSwitches read;
};

constexpr OperationSwitches InEveryOperation(GroupSwitches switches) {
  return {switches, switches, switches};
}

class CopyCall;
class WriteCall;
class ReadCall;

/// Steps of a class that leaves the common pattern; an operation left nullptr
/// runs the common pattern.
struct ClassSteps {
  void (*copy)(CopyCall& call) = nullptr;
  void (*write)(WriteCall& call) = nullptr;
  void (*read)(ReadCall& call) = nullptr;
};

struct PropertySet {
  ControlType type;
  /// True for the runtime's own control of the class; a control of another
  /// library that merely reports the class's name is refused with 13.
  bool (*isRuntimeClass)(const host::Control& control);
  OperationSwitches switches;
  /// In the order they are copied, written and read.
  std::span<const OwnKey> ownKeys = {};
  std::span<const ItemColumn> itemColumns = {};
  bool dataBinding = false;
  /// nullptr for a class that follows the common pattern throughout.
  const ClassSteps* steps = nullptr;

  /// The own key stored under `key`; a key the class does not have is a
  /// programming error (std::logic_error).
  const OwnKey& Key(std::string_view key) const;
};

/// Every set, in dispatch order.
std::span<const PropertySet> PropertySets();

/// The set of a class name (exact comparison), or nullptr when the class has
/// none.
const PropertySet* FindPropertySet(std::string_view className);

/// The set of a class, or nullptr.
const PropertySet* FindPropertySet(ControlType type);

}  // namespace tavorin::detail
