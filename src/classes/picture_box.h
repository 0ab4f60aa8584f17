// The PictureBox set: its picture comes from Picture or, when PictureOrImage
// asks for it, from the graphic drawn on the box (Image); either way it is
// restored into Picture, so reading never depends on the setting.
#pragma once

#include <string_view>

#include "classes/property_set.h"

namespace tavorin::detail {

/// The key of the picture of a PictureBox, an Image and a graphical button.
inline constexpr std::string_view kPictureKey = "Pc";

/// Copy and write choose Picture or Image; the read is the common pattern.
extern const ClassSteps kPictureBoxSteps;

}  // namespace tavorin::detail
