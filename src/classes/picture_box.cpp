#include "classes/picture_box.h"

#include "classes/engine.h"
#include "groups/best_effort.h"

namespace tavorin::detail {
namespace {

// Picture unless the setting asks for the graphic; any non-zero value counts.
std::string_view PictureSource(const ComponentSettings& settings) {
  return settings.pictureOrImage == 0 ? "Picture" : "Image";
}

void CopyPictureBox(CopyCall& call) {
  call.CommonProperties();
  TryStep([&] {
    call.Destination().SetProperty("Picture",
                                   call.Source().GetProperty(PictureSource(call.Settings())));
  });
  call.DataBinding();
}

// The graphic is never Nothing, so it is written with no default: a Nothing
// default could not tell it from a box without a picture.
void WritePictureBox(WriteCall& call) {
  call.CommonProperties();
  if (call.Settings().pictureOrImage == 0) {
    call.OwnKeys();
  } else {
    TryStep([&] {
      call.WriteObject(kPictureKey, call.Control().GetProperty(PictureSource(call.Settings())),
                       host::Variant::Missing());
    });
  }
  call.DataBinding();
}

}  // namespace

const ClassSteps kPictureBoxSteps{.copy = &CopyPictureBox, .write = &WritePictureBox};

}  // namespace tavorin::detail
