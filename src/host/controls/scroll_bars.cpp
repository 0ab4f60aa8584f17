#include <algorithm>
#include <string_view>

#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>

#include "host/property_table.h"

namespace tavorin::host {
namespace {

std::vector<detail::Binding> ScrollBindings() {
  return {
      {"Value", [](const Control& c) { return Variant(static_cast<const ScrollBar&>(c).Value()); },
       [](Control& c, const Variant& v) { static_cast<ScrollBar&>(c).Value(CInt(v)); }},
      {"Min", [](const Control& c) { return Variant(static_cast<const ScrollBar&>(c).Min()); },
       [](Control& c, const Variant& v) { static_cast<ScrollBar&>(c).Min(CInt(v)); }},
      {"Max", [](const Control& c) { return Variant(static_cast<const ScrollBar&>(c).Max()); },
       [](Control& c, const Variant& v) { static_cast<ScrollBar&>(c).Max(CInt(v)); }},
  };
}

const detail::PropertyTable& ScrollBarTable(std::string_view className) {
  static const detail::PropertyTable horizontal =
      detail::BuildClassTable("HScrollBar", ScrollBindings());
  static const detail::PropertyTable vertical =
      detail::BuildClassTable("VScrollBar", ScrollBindings());
  return className == "HScrollBar" ? horizontal : vertical;
}

}  // namespace

ScrollBar::ScrollBar(const ControlSeed& seed, const char* className)
    : Control(seed, ScrollBarTable(className)) {}

void ScrollBar::Value(std::int16_t value) {
  if (value < std::min(min_, max_) || value > std::max(min_, max_)) {
    RaiseHostError(errors::kInvalidPropertyValue);
  }
  value_ = value;
}

void ScrollBar::Min(std::int16_t min) {
  min_ = min;
  ClampValue();
}

void ScrollBar::Max(std::int16_t max) {
  max_ = max;
  ClampValue();
}

void ScrollBar::ClampValue() {
  value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
}

std::int16_t ScrollBar::SmallChange() const { return CInt(StoredValue("SmallChange")); }
void ScrollBar::SmallChange(std::int16_t change) { SetProperty("SmallChange", Variant(change)); }
std::int16_t ScrollBar::LargeChange() const { return CInt(StoredValue("LargeChange")); }
void ScrollBar::LargeChange(std::int16_t change) { SetProperty("LargeChange", Variant(change)); }

HScrollBar::HScrollBar(const ControlSeed& seed) : ScrollBar(seed, "HScrollBar") {}

VScrollBar::VScrollBar(const ControlSeed& seed) : ScrollBar(seed, "VScrollBar") {}

}  // namespace tavorin::host
