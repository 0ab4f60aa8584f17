#include "classes/line.h"

#include <array>
#include <cstdint>
#include <string_view>

#include <tavorin/host/convert.h>
#include <tavorin/host/form.h>

#include "classes/engine.h"
#include "groups/best_effort.h"
#include "groups/placement.h"

namespace tavorin::detail {
namespace {

struct EndPoint {
  std::string_view property;
  float (*scale)(float value, std::int16_t fromMode, std::int16_t toMode);
};

// Across before down.
constexpr std::array<EndPoint, 4> kEndPoints{{
    {"X1", &host::ScaleX},
    {"X2", &host::ScaleX},
    {"Y1", &host::ScaleY},
    {"Y2", &host::ScaleY},
}};

// The units the line is measured in, as the write records them under "CnS";
// 0, which converts like twips, when the container cannot tell.
std::int16_t UnitsOf(const host::Control& line) {
  std::int16_t mode = 0;
  TryStep([&] { mode = ContainerScaleMode(line); });
  return mode;
}

// Each end point of `line` becomes `measured`'s, converted from `from` into
// the line's own units. An end point whose conversion fails keeps the value
// the catalogue step gave it.
void ConvertEndPoints(const host::Control& measured, std::int16_t from, host::Control& line) {
  const std::int16_t to = UnitsOf(line);
  for (const EndPoint& point : kEndPoints) {
    TryStep([&] {
      line.SetProperty(point.property,
                       point.scale(host::CSng(measured.GetProperty(point.property)), from, to));
    });
  }
}

void CopyLine(CopyCall& call) {
  CopyPattern(call);
  if (call.Settings().sizeAccommodation) {
    ConvertEndPoints(call.Source(), UnitsOf(call.Source()), call.Destination());
  }
}

void ReadLine(ReadCall& call) {
  ReadPattern(call);
  if (!call.Settings().sizeAccommodation) return;
  // Units that are no number leave every end point as stored.
  TryStep([&] {
    ConvertEndPoints(call.Control(), StoredScaleMode(call.Stream(), call.CustomDefaults()),
                     call.Control());
  });
}

}  // namespace

const ClassSteps kLineSteps{.copy = &CopyLine, .read = &ReadLine};

}  // namespace tavorin::detail
