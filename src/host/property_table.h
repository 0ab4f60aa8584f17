// The table-driven property engine of the controls: every class is described
// by one PropertyTable, a list of members with their type, range, access and
// the value a new control starts with. Most members are plain stored values;
// the ones a class treats specially carry a getter and a setter.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <tavorin/host/variant.h>

namespace tavorin::host {
class Control;
}

namespace tavorin::host::detail {

/// What a property accepts after conversion to its type. Numbers must lie in
/// min..max and, when `allowed` is not empty, be one of its values; a String's
/// length in characters must lie in min..max; an Object must be Nothing or an
/// object whose TypeName is `objectType` (any object when that is empty).
struct ValueRange {
  double min = -std::numeric_limits<double>::infinity();
  double max = std::numeric_limits<double>::infinity();
  std::vector<std::int32_t> allowed;
  std::string objectType;
};

/// Receives the control and, for the setter, the value already converted to
/// the property's type and checked against its range.
using PropertyGetter = Variant (*)(const Control&);
using PropertySetter = void (*)(Control&, const Variant&);
using MethodCall = Variant (*)(Control&, const std::vector<Variant>&);

struct PropertySpec {
  std::string name;
  /// Empty: any value, unconverted.
  VarType type = VarType::Empty;
  ValueRange range;
  bool readOnly = false;
  /// The value of a new control; Empty leaves a special member as the class
  /// constructed it.
  Variant initial;
  /// Both null: the value is stored by the engine.
  PropertyGetter get = nullptr;
  PropertySetter set = nullptr;
};

/// A member reached with CallMethod. Indexed properties (List(i), ...) are
/// methods too: the index first, and for an assignment the value last.
struct MethodSpec {
  std::string name;
  std::size_t minArgs = 0;
  std::size_t maxArgs = 0;
  MethodCall call = nullptr;
};

/// The shared members a class has besides its own.
struct ClassShape {
  bool placement = true;     // Left, Top, Width, Height, Move
  bool tabIndex = true;      // TabIndex
  bool window = true;        // hWnd
  bool icons = true;         // DragIcon, MouseIcon
  bool dataBinding = false;  // DataSource, DataField, DataMember, DataFormat, DataChanged
  bool refresh = true;       // the Refresh method
};

/// The data of one class: its shape and the properties of its own, without
/// getters and setters.
struct ClassData {
  ClassShape shape;
  std::vector<PropertySpec> properties;
};

/// A class's special handling of one of its members.
struct Binding {
  std::string_view name;
  PropertyGetter get = nullptr;
  PropertySetter set = nullptr;
};

class PropertyTable {
 public:
  /// Raises std::logic_error for a name listed twice.
  PropertyTable(std::string className, ClassShape shape, std::vector<PropertySpec> properties,
                std::vector<MethodSpec> methods);

  const std::string& ClassName() const { return class_name_; }
  const ClassShape& Shape() const { return shape_; }
  const std::vector<PropertySpec>& Properties() const { return properties_; }

  /// Position of the property in Properties(), or -1; case-insensitive.
  std::ptrdiff_t FindProperty(std::string_view name) const;
  /// The method, or nullptr; case-insensitive.
  const MethodSpec* FindMethod(std::string_view name) const;

  /// `value` converted to the property's type (13 or 6 when it cannot) and
  /// checked against its range (380).
  static Variant Coerce(const PropertySpec& spec, const Variant& value);
  /// Raises 380 when `value`, already of the property's type, lies outside
  /// its range.
  static void CheckRange(const PropertySpec& spec, const Variant& value);

 private:
  /// A member name lowercased and zero-padded to a fixed width: hashing and
  /// comparing it take a few word operations, whatever the name.
  struct FoldedName {
    std::array<std::uint64_t, 3> words{};
    /// Tells "Tag" from "Tag" followed by zero bytes.
    std::size_t size = 0;
    /// nullopt for a name too long to be a member's.
    static std::optional<FoldedName> Of(std::string_view name);
    bool operator==(const FoldedName& other) const;
  };

  /// Positions by folded name: open addressing in a power-of-two table at most
  /// half full, so a lookup is a multiply, a shift and a probe or two.
  class NameIndex {
   public:
    explicit NameIndex(std::size_t count);
    /// False when the name is there already.
    bool Add(const FoldedName& name, std::size_t position);
    /// -1 when absent.
    std::ptrdiff_t Find(std::string_view name) const;

   private:
    struct Slot {
      FoldedName name;
      std::ptrdiff_t position = -1;
    };
    /// The slot holding `name`, or the empty slot where it belongs.
    std::size_t Probe(const FoldedName& name) const;

    std::vector<Slot> slots_;
    int shift_ = 0;
  };

  /// Positions by a property's name as the table spells it, keyed by its
  /// length and three of its bytes. Callers mostly pass that spelling (a
  /// catalogue walk always does), and checking the one candidate the key
  /// gives costs far less than folding, hashing and probing: lookups took a
  /// quarter of a text box's write and read. Any other spelling, or a name
  /// whose key an earlier one took, is found through the folded index.
  class SpellingIndex {
   public:
    explicit SpellingIndex(const std::vector<PropertySpec>& properties);
    /// The position `name` would have if spelled as in the table, or -1.
    std::ptrdiff_t Candidate(std::string_view name) const;

   private:
    std::size_t SlotOf(std::string_view name) const;

    std::vector<std::int16_t> positions_;
  };

  std::string class_name_;
  ClassShape shape_;
  std::vector<PropertySpec> properties_;
  std::vector<MethodSpec> methods_;
  NameIndex property_index_;
  NameIndex method_index_;
  SpellingIndex spelling_index_;
};

/// The data of one of the nineteen classes (exact name), or nullptr.
const ClassData* FindClassData(std::string_view className);

/// The properties every control of that shape has (data, beside the class
/// tables in control_property_tables.cpp), and the getters, setters and
/// methods that serve them (with Control).
std::vector<PropertySpec> SharedProperties(const ClassShape& shape);
const std::vector<Binding>& SharedBindings();
std::vector<MethodSpec> SharedMethods(const ClassShape& shape);

/// A table of the shared members of `shape` followed by `own` properties (a
/// property listed again replaces the earlier entry and takes the later
/// place: new controls get their initial values in table order, so a list's
/// TopIndex is listed after the member that fills the list), with the shared
/// bindings and then
/// `bindings` attached by name (std::logic_error for a name the table lacks),
/// and `methods` added to, or replacing, the shared ones.
PropertyTable BuildTable(std::string className, const ClassShape& shape,
                         const std::vector<PropertySpec>& own, const std::vector<Binding>& bindings,
                         std::vector<MethodSpec> methods);

/// BuildTable with the data of one of the nineteen classes.
PropertyTable BuildClassTable(std::string_view className, const std::vector<Binding>& bindings,
                              std::vector<MethodSpec> methods = {});

/// Character count of UTF-8 text, the runtime's Len.
std::size_t CharacterCount(std::string_view text);

}  // namespace tavorin::host::detail
