#include <cmath>

#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/picture.h>

#include "host/controls/picture_value.h"
#include "host/property_table.h"

namespace tavorin::host {
namespace {

constexpr float kTwipsPerPixel = 15;

int Pixels(float twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

const detail::PropertyTable& PictureBoxTable() {
  static const detail::PropertyTable table = detail::BuildClassTable(
      "PictureBox",
      {{"Picture",
        [](const Control& c) { return Variant(static_cast<const PictureBox&>(c).Picture()); },
        [](Control& c, const Variant& v) {
          static_cast<PictureBox&>(c).Picture(detail::AsPicture(v));
        }},
       {"Image",
        [](const Control& c) { return Variant(static_cast<const PictureBox&>(c).Image()); },
        nullptr}},
      {{"PaintPicture", 1, 1, [](Control& c, const std::vector<Variant>& args) {
          static_cast<PictureBox&>(c).PaintPicture(detail::AsPicture(args[0]));
          return Variant();
        }}});
  return table;
}

}  // namespace

PictureBox::PictureBox(const ControlSeed& seed) : Control(seed, PictureBoxTable()) {}

void PictureBox::Picture(PictureRef picture) {
  picture_ = std::move(picture);
  graphic_ = picture_;
}

PictureRef PictureBox::Image() const {
  if (graphic_) return host::Picture::FromBytes(graphic_->Bytes());
  return host::Picture::Blank(Pixels(Width()), Pixels(Height()));
}

void PictureBox::PaintPicture(const PictureRef& picture) {
  if (!picture) RaiseHostError(errors::kObjectNotSet);
  const PictureRef canvas = graphic_ ? graphic_ : Image();
  graphic_ = host::Picture::PaintOnto(*canvas, *picture);
}

std::int16_t PictureBox::ScaleMode() const { return CInt(StoredValue("ScaleMode")); }

void PictureBox::ScaleMode(std::int16_t mode) { SetProperty("ScaleMode", Variant(mode)); }

}  // namespace tavorin::host
