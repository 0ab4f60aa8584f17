#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>
#include <tavorin/host/form.h>

#include "host/controls/picture_value.h"
#include "host/property_table.h"

namespace tavorin::host {
namespace {

const detail::PropertyTable& CommandButtonTable() {
  static const detail::PropertyTable table = detail::BuildClassTable("CommandButton", {});
  return table;
}

const detail::PropertyTable& CheckBoxTable() {
  static const detail::PropertyTable table = detail::BuildClassTable("CheckBox", {});
  return table;
}

const detail::PropertyTable& OptionButtonTable() {
  static const detail::PropertyTable table = detail::BuildClassTable(
      "OptionButton",
      {{"Value",
        [](const Control& c) { return Variant(static_cast<const OptionButton&>(c).Value()); },
        [](Control& c, const Variant& v) { static_cast<OptionButton&>(c).Value(CBool(v)); }}});
  return table;
}

}  // namespace

PictureRef GraphicalButton::Picture() const { return detail::AsPicture(StoredValue("Picture")); }
void GraphicalButton::Picture(const PictureRef& picture) {
  SetProperty("Picture", Variant(picture));
}
PictureRef GraphicalButton::DownPicture() const {
  return detail::AsPicture(StoredValue("DownPicture"));
}
void GraphicalButton::DownPicture(const PictureRef& picture) {
  SetProperty("DownPicture", Variant(picture));
}
PictureRef GraphicalButton::DisabledPicture() const {
  return detail::AsPicture(StoredValue("DisabledPicture"));
}
void GraphicalButton::DisabledPicture(const PictureRef& picture) {
  SetProperty("DisabledPicture", Variant(picture));
}

CommandButton::CommandButton(const ControlSeed& seed)
    : GraphicalButton(seed, CommandButtonTable()) {}

CheckBox::CheckBox(const ControlSeed& seed) : GraphicalButton(seed, CheckBoxTable()) {}
std::int16_t CheckBox::Value() const { return CInt(StoredValue("Value")); }
void CheckBox::Value(std::int16_t value) { SetProperty("Value", Variant(value)); }

OptionButton::OptionButton(const ControlSeed& seed) : GraphicalButton(seed, OptionButtonTable()) {}

void OptionButton::Value(bool value) {
  value_ = value;
  const std::shared_ptr<Form> form = Parent();
  if (!value || !form) return;
  const ObjectRef container = Container();
  for (const std::shared_ptr<Control>& control : form->Controls()) {
    auto option = std::dynamic_pointer_cast<OptionButton>(control);
    if (option && option.get() != this && option->Container() == container) option->value_ = false;
  }
}

}  // namespace tavorin::host
