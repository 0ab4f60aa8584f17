#include <array>

#include <tavorin/host/error.h>
#include <tavorin/host/form.h>

namespace tavorin::host {
namespace {

enum class Axis { Across, Down };

/// Twips in one unit of `mode`; a character is wider than it is tall.
double TwipsPerUnit(std::int16_t mode, Axis axis) {
  static constexpr std::array<double, 8> kAcross = {1,   1,    20,          15,
                                                    120, 1440, 1440 / 25.4, 1440 / 2.54};
  if (mode < 0 || mode >= static_cast<std::int16_t>(kAcross.size())) {
    RaiseHostError(errors::kInvalidProcedureCall);
  }
  constexpr std::int16_t kCharacter = 4;
  constexpr double kCharacterHeight = 240;
  return mode == kCharacter && axis == Axis::Down ? kCharacterHeight : kAcross[mode];
}

float Convert(float value, std::int16_t fromMode, std::int16_t toMode, Axis axis) {
  const double from = TwipsPerUnit(fromMode, axis);
  const double to = TwipsPerUnit(toMode, axis);
  return static_cast<float>(static_cast<double>(value) * from / to);
}

}  // namespace

float ScaleX(float value, std::int16_t fromMode, std::int16_t toMode) {
  return Convert(value, fromMode, toMode, Axis::Across);
}

float ScaleY(float value, std::int16_t fromMode, std::int16_t toMode) {
  return Convert(value, fromMode, toMode, Axis::Down);
}

}  // namespace tavorin::host
