// The classes whose members are all plain stored properties.
#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>

#include "host/controls/picture_value.h"
#include "host/property_table.h"

namespace tavorin::host {
namespace {

template <const char* kClassName>
const detail::PropertyTable& PlainTable() {
  static const detail::PropertyTable table = detail::BuildClassTable(kClassName, {});
  return table;
}

constexpr char kLabel[] = "Label";
constexpr char kFrame[] = "Frame";
constexpr char kShape[] = "Shape";
constexpr char kTimer[] = "Timer";
constexpr char kLine[] = "Line";
constexpr char kImage[] = "Image";

}  // namespace

Label::Label(const ControlSeed& seed) : Control(seed, PlainTable<kLabel>()) {}

Frame::Frame(const ControlSeed& seed) : Control(seed, PlainTable<kFrame>()) {}

Shape::Shape(const ControlSeed& seed) : Control(seed, PlainTable<kShape>()) {}

Timer::Timer(const ControlSeed& seed) : Control(seed, PlainTable<kTimer>()) {}
std::int32_t Timer::Interval() const { return CLng(StoredValue("Interval")); }
void Timer::Interval(std::int32_t milliseconds) { SetProperty("Interval", Variant(milliseconds)); }
bool Timer::Enabled() const { return CBool(StoredValue("Enabled")); }
void Timer::Enabled(bool enabled) { SetProperty("Enabled", Variant(enabled)); }

Line::Line(const ControlSeed& seed) : Control(seed, PlainTable<kLine>()) {}
float Line::Coordinate(const char* name) const { return CSng(StoredValue(name)); }
float Line::X1() const { return Coordinate("X1"); }
void Line::X1(float value) { SetProperty("X1", Variant(value)); }
float Line::Y1() const { return Coordinate("Y1"); }
void Line::Y1(float value) { SetProperty("Y1", Variant(value)); }
float Line::X2() const { return Coordinate("X2"); }
void Line::X2(float value) { SetProperty("X2", Variant(value)); }
float Line::Y2() const { return Coordinate("Y2"); }
void Line::Y2(float value) { SetProperty("Y2", Variant(value)); }

Image::Image(const ControlSeed& seed) : Control(seed, PlainTable<kImage>()) {}
PictureRef Image::Picture() const { return detail::AsPicture(StoredValue("Picture")); }
void Image::Picture(const PictureRef& picture) { SetProperty("Picture", Variant(picture)); }

}  // namespace tavorin::host
