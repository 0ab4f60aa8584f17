#include "groups/placement.h"

#include <array>

#include <tavorin/host/convert.h>
#include <tavorin/host/form.h>

#include "groups/best_effort.h"
#include "groups/custom_defaults.h"
#include "groups/members.h"

namespace tavorin::detail {
namespace {

enum class Axis { Horizontal, Vertical };

struct PlacementField {
  std::string_view property;
  std::optional<float> Placement::*value;
  Axis axis;
};

// Vertical values first: the order in which placement is read and converted.
constexpr std::array<PlacementField, 4> kConversionOrder{{
    {"Top", &Placement::top, Axis::Vertical},
    {"Height", &Placement::height, Axis::Vertical},
    {"Left", &Placement::left, Axis::Horizontal},
    {"Width", &Placement::width, Axis::Horizontal},
}};

constexpr std::array<PlacementField, 4> kAssignmentOrder{{
    {"Left", &Placement::left, Axis::Horizontal},
    {"Top", &Placement::top, Axis::Vertical},
    {"Width", &Placement::width, Axis::Horizontal},
    {"Height", &Placement::height, Axis::Vertical},
}};

// A Frame measures what it holds in twips.
constexpr std::int16_t kTwipsMode = 1;

float Convert(float value, Axis axis, std::int16_t from, std::int16_t to) {
  return axis == Axis::Horizontal ? host::ScaleX(value, from, to) : host::ScaleY(value, from, to);
}

constexpr auto kScaleModeType = static_cast<std::int16_t>(host::VarType::Integer);
constexpr auto kPlacementType = static_cast<std::int16_t>(host::VarType::Single);
const host::Variant kTwips = host::Variant::Long(kTwipsMode);

// Moves in one call when every value is known; the host may refuse a Move
// that it would accept value by value.
void ApplyPlacement(host::Control& control, const Placement& placement) {
  const bool complete = placement.left && placement.top && placement.width && placement.height;
  if (complete && TryStep([&] {
        control.Move(*placement.left, *placement.top, *placement.width, *placement.height);
      })) {
    return;
  }
  SetPlacement(control, placement);
}

}  // namespace

std::int16_t ContainerScaleMode(const host::Control& control) {
  std::optional<std::int16_t> mode;
  TryStep([&] {
    const host::ObjectRef container = RequireObject(control.Container());
    mode = container->TypeName() == "Frame" ? kTwipsMode
                                            : host::CInt(container->GetProperty("ScaleMode"));
  });
  if (mode) return *mode;
  return host::CInt(FormOf(control)->GetProperty("ScaleMode"));
}

void CopyPlacement(const host::Control& source, host::Control& destination) {
  // A value not reached when a step fails stays as the destination has it.
  Placement converted;
  const bool moved = TryStep([&] {
    const std::int16_t from = ContainerScaleMode(source);
    const std::int16_t to = ContainerScaleMode(destination);
    for (const PlacementField& field : kConversionOrder) {
      converted.*field.value =
          Convert(host::CSng(source.GetProperty(field.property)), field.axis, from, to);
    }
    destination.Move(*converted.left, *converted.top, *converted.width, *converted.height);
  });
  if (!moved) SetPlacement(destination, converted);
}

void ReadPlacement(host::Control& control, const DefaultsCatalogue& catalogue,
                   const host::PropertyBag& stream, const host::PropertyBag* customDefaults) {
  std::optional<std::int16_t> to;
  TryStep([&] { to = ContainerScaleMode(control); });
  std::optional<std::int16_t> from;
  TryStep([&] { from = StoredScaleMode(stream, customDefaults); });
  // In the same units the catalogue step has already assigned exactly these
  // values; reading them again would only repeat it.
  if (from && to && *from == *to) return;

  Placement placement;
  for (const PlacementField& field : kConversionOrder) {
    std::optional<float>& value = placement.*field.value;
    TryStep([&] { value = host::CSng(control.GetProperty(field.property)); });
    if (const CatalogueEntry* entry = catalogue.Find(field.property)) {
      TryStep([&] {
        const host::Variant current = value ? host::Variant(*value) : host::Variant();
        const host::Variant read = stream.ReadProperty(
            entry->keyCode,
            DefaultForReading(customDefaults, entry->keyCode, current, kPlacementType));
        if (!read.IsEmpty()) value = host::CSng(read);
      });
    }
    if (value && from && to) {
      // A failed conversion keeps the value as read.
      TryStep([&] { value = Convert(*value, field.axis, *from, *to); });
    }
  }
  ApplyPlacement(control, placement);
}

void SetPlacement(host::Control& control, const Placement& placement) {
  for (const PlacementField& field : kAssignmentOrder) {
    const std::optional<float>& value = placement.*field.value;
    if (!value) continue;
    TryStep([&] { control.SetProperty(field.property, *value); });
  }
}

void WriteScaleMode(const host::Control& control, host::PropertyBag& stream,
                    const host::PropertyBag* customDefaults) {
  // Units that cannot be told (a control whose form is gone) are recorded as
  // twips, which a stream without "CnS" means against the built-in defaults.
  // Left out, the custom defaults' units would stand in for them on reading,
  // and the same control would read back differently by the defaults it was
  // written against.
  std::int16_t mode = kTwipsMode;
  TryStep([&] { mode = ContainerScaleMode(control); });
  TryStep([&] {
    stream.WriteProperty(kScaleModeKey, host::Variant::Integer(mode),
                         DefaultForWriting(customDefaults, kScaleModeKey, kTwips, kScaleModeType));
  });
}

std::int16_t StoredScaleMode(const host::PropertyBag& stream,
                             const host::PropertyBag* customDefaults) {
  return host::CInt(stream.ReadProperty(
      kScaleModeKey, DefaultForReading(customDefaults, kScaleModeKey, kTwips, kScaleModeType)));
}

}  // namespace tavorin::detail
