#include "classes/label.h"

#include <tavorin/host/convert.h>

#include "classes/engine.h"
#include "groups/best_effort.h"
#include "groups/custom_defaults.h"

namespace tavorin::detail {
namespace {

constexpr std::string_view kBackColor = "BackColor";
constexpr std::string_view kBackStyle = "BackStyle";
constexpr std::int16_t kOpaque = 1;

// A label whose colour already matches is left alone: its BackStyle is
// neither read nor set.
void RepairBackColor(host::Control& label, std::int32_t target) {
  if (host::CLng(label.GetProperty(kBackColor)) == target) return;
  const host::Variant style = label.GetProperty(kBackStyle);
  label.SetProperty(kBackStyle, host::Variant::Integer(kOpaque));
  label.SetProperty(kBackColor, host::Variant::Long(target));
  label.SetProperty(kBackStyle, style);
}

void CopyLabel(CopyCall& call) {
  call.CommonProperties();
  TryStep([&] {
    RepairBackColor(call.Destination(), host::CLng(call.Source().GetProperty(kBackColor)));
  });
  call.DataBinding();
}

// The colour the stream stores, or its effective default. A colour that is
// not there to read (a damaged stream, a value that is no colour) raises, and
// the label keeps what the transfer left it rather than turning black.
std::int32_t StoredColour(const ReadCall& call, const CatalogueEntry& backColor) {
  return host::CLng(call.Stream().ReadProperty(
      backColor.keyCode,
      EffectiveDefault(call.CustomDefaults(), backColor.keyCode, backColor.defaultValue)));
}

void ReadLabel(ReadCall& call) {
  ReadPattern(call);
  const CatalogueEntry* backColor = call.Catalogue().Find(kBackColor);
  if (backColor == nullptr) return;
  TryStep([&] { RepairBackColor(call.Control(), StoredColour(call, *backColor)); });
}

}  // namespace

const ClassSteps kLabelSteps{.copy = &CopyLabel, .read = &ReadLabel};

}  // namespace tavorin::detail
