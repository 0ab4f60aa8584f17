// The copy and stream operations until the property sets are wired in: every
// class counts as unsupported for now. The settings and their persistence
// with the form, without site notifications yet.
#include <tavorin/component.h>

#include <iostream>
#include <limits>

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>

#include "component/component_errors.h"

namespace tavorin {

void Tavorin::CopyControl(host::ObjectRef&, host::ObjectRef&) {
  detail::RaiseComponentError(detail::ComponentError::kUnsupportedControl);
}

host::ByteArray Tavorin::ControlToStream(const host::ObjectRef&, const host::Variant&) {
  detail::RaiseComponentError(detail::ComponentError::kUnsupportedControl);
}

void Tavorin::StreamToControl(const host::ByteArray&, host::ObjectRef&, const host::Variant&) {
  detail::RaiseComponentError(detail::ComponentError::kUnsupportedControl);
}

bool Tavorin::SetContainer() const { return set_container_; }
void Tavorin::SetContainer(bool value) { set_container_ = value; }
bool Tavorin::SetTabIndex() const { return set_tab_index_; }
void Tavorin::SetTabIndex(bool value) { set_tab_index_ = value; }
bool Tavorin::SizeAccommodation() const { return size_accommodation_; }
void Tavorin::SizeAccommodation(bool value) { size_accommodation_ = value; }
bool Tavorin::WriteControlName() const { return write_control_name_; }
void Tavorin::WriteControlName(bool value) { write_control_name_ = value; }

PictureOrImageConstants Tavorin::PictureOrImage() const {
  return static_cast<PictureOrImageConstants>(picture_or_image_);
}

void Tavorin::PictureOrImage(std::int32_t value) {
  if (value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    host::RaiseHostError(host::errors::kOverflow);
  }
  picture_or_image_ = static_cast<std::int16_t>(value);
}

void Tavorin::InitProperties() {
  set_container_ = false;
  set_tab_index_ = false;
  size_accommodation_ = true;
  write_control_name_ = true;
  picture_or_image_ = TvPicture;
}

void Tavorin::ReadProperties(host::PropertyBag& bag) {
  set_container_ = host::CBool(bag.ReadProperty("SetContainer", false));
  set_tab_index_ = host::CBool(bag.ReadProperty("SetTabIndex", false));
  picture_or_image_ = host::CInt(bag.ReadProperty("PictureOrImage", std::int16_t{TvPicture}));
  size_accommodation_ = host::CBool(bag.ReadProperty("SizeAccommodation", true));
  write_control_name_ = host::CBool(bag.ReadProperty("WriteControlName", true));
}

void Tavorin::WriteProperties(host::PropertyBag& bag) const {
  bag.WriteProperty("SetContainer", set_container_, false);
  bag.WriteProperty("SetTabIndex", set_tab_index_, false);
  bag.WriteProperty("PictureOrImage", picture_or_image_, std::int16_t{TvPicture});
  bag.WriteProperty("SizeAccommodation", size_accommodation_, true);
  bag.WriteProperty("WriteControlName", write_control_name_, true);
}

void Tavorin::ShowAboutBox() {
  std::cout << "About Tavorin\nTavorin\nVersion 1.0\n";
}

void Tavorin::SetSite(std::shared_ptr<host::Site> site) { site_ = std::move(site); }

}  // namespace tavorin
