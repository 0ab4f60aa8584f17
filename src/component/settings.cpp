// The component's five settings: their defaults, the host's notification when
// one changes, their persistence with the form that holds the component, and
// the component's fixed surface on that form.
#include <tavorin/component.h>

#include <tavorin/host/convert.h>
#include <tavorin/host/site.h>

#include "groups/component_settings.h"

namespace tavorin {
namespace {

// The keys under which the form saves the settings; the site hears of a
// change by the same names. Saved forms hold them, so they never change.
constexpr const char* kSetContainerName = "SetContainer";
constexpr const char* kSetTabIndexName = "SetTabIndex";
constexpr const char* kPictureOrImageName = "PictureOrImage";
constexpr const char* kSizeAccommodationName = "SizeAccommodation";
constexpr const char* kWriteControlNameName = "WriteControlName";

constexpr detail::ComponentSettings kDefaultSettings{
    .setContainer = false,
    .setTabIndex = false,
    .sizeAccommodation = true,
    .writeControlName = true,
    .pictureOrImage = TvPicture,
};

}  // namespace

Tavorin::Tavorin() { InitProperties(); }

bool Tavorin::SetContainer() const { return set_container_; }
void Tavorin::SetContainer(bool value) {
  set_container_ = value;
  NotifyChanged(kSetContainerName);
}

bool Tavorin::SetTabIndex() const { return set_tab_index_; }
void Tavorin::SetTabIndex(bool value) {
  set_tab_index_ = value;
  NotifyChanged(kSetTabIndexName);
}

bool Tavorin::SizeAccommodation() const { return size_accommodation_; }
void Tavorin::SizeAccommodation(bool value) {
  size_accommodation_ = value;
  NotifyChanged(kSizeAccommodationName);
}

bool Tavorin::WriteControlName() const { return write_control_name_; }
void Tavorin::WriteControlName(bool value) {
  write_control_name_ = value;
  NotifyChanged(kWriteControlNameName);
}

PictureOrImageConstants Tavorin::PictureOrImage() const {
  return static_cast<PictureOrImageConstants>(picture_or_image_);
}

void Tavorin::PictureOrImage(std::int32_t value) {
  // Narrowed the runtime's way: out of range raises 6 before anything is kept.
  picture_or_image_ = host::CInt(host::Variant::Long(value));
  NotifyChanged(kPictureOrImageName);
}

void Tavorin::InitProperties() { AdoptSettings(kDefaultSettings); }

void Tavorin::ReadProperties(host::PropertyBag& bag) {
  const detail::ComponentSettings& d = kDefaultSettings;
  detail::ComponentSettings loaded;
  loaded.setContainer = host::CBool(bag.ReadProperty(kSetContainerName, d.setContainer));
  loaded.setTabIndex = host::CBool(bag.ReadProperty(kSetTabIndexName, d.setTabIndex));
  loaded.pictureOrImage = host::CInt(bag.ReadProperty(kPictureOrImageName, d.pictureOrImage));
  loaded.sizeAccommodation =
      host::CBool(bag.ReadProperty(kSizeAccommodationName, d.sizeAccommodation));
  loaded.writeControlName =
      host::CBool(bag.ReadProperty(kWriteControlNameName, d.writeControlName));
  AdoptSettings(loaded);
}

void Tavorin::WriteProperties(host::PropertyBag& bag) const {
  const detail::ComponentSettings& d = kDefaultSettings;
  bag.WriteProperty(kSetContainerName, set_container_, d.setContainer);
  bag.WriteProperty(kSetTabIndexName, set_tab_index_, d.setTabIndex);
  bag.WriteProperty(kPictureOrImageName, picture_or_image_, d.pictureOrImage);
  bag.WriteProperty(kSizeAccommodationName, size_accommodation_, d.sizeAccommodation);
  bag.WriteProperty(kWriteControlNameName, write_control_name_, d.writeControlName);
}

void Tavorin::SetSite(std::shared_ptr<host::Site> site) { site_ = std::move(site); }

// The surface shows only the component's picture, so whatever size the
// designer drags it to, it stays at kSurfaceTwips square.
void Tavorin::Resize(float, float) {}
float Tavorin::ExtentX() const { return kSurfaceTwips; }
float Tavorin::ExtentY() const { return kSurfaceTwips; }

detail::ComponentSettings Tavorin::Settings() const {
  return {
      .setContainer = set_container_,
      .setTabIndex = set_tab_index_,
      .sizeAccommodation = size_accommodation_,
      .writeControlName = write_control_name_,
      .pictureOrImage = picture_or_image_,
  };
}

void Tavorin::AdoptSettings(const detail::ComponentSettings& settings) {
  set_container_ = settings.setContainer;
  set_tab_index_ = settings.setTabIndex;
  size_accommodation_ = settings.sizeAccommodation;
  write_control_name_ = settings.writeControlName;
  picture_or_image_ = settings.pictureOrImage;
}

void Tavorin::NotifyChanged(const char* settingName) const {
  if (site_ != nullptr) site_->PropertyChanged(settingName);
}

}  // namespace tavorin
