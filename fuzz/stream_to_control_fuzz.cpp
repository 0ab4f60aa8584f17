// StreamToControl of arbitrary bytes onto a control of every class the
// component handles, with and without an arbitrary custom defaults stream,
// under every combination of the settings. Only the component's refusals
// (703 to 706) and 13 may escape, a refused stream must leave the control as
// it was, and what the component writes from a restored control must restore
// to the very same bytes.
//
// Input: one byte of switches (the five settings, then whether custom
// defaults are given), two bytes for the length of the defaults stream taken
// from the end, and the stream.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

#include "catalogue/control_type.h"
#include "classes/property_set.h"
#include "value_text.h"

namespace {

using tavorin::Tavorin;
using tavorin::host::ByteArray;
using tavorin::host::Control;
using tavorin::host::Form;
using tavorin::host::ObjectRef;
using tavorin::host::RuntimeError;
using tavorin::host::Variant;

struct Input {
  Tavorin component;
  ByteArray stream;
  Variant defaults = Variant::Missing();
};

Input Split(const std::uint8_t* data, std::size_t size) {
  Input input;
  if (size < 3) return input;
  const std::uint8_t switches = data[0];
  input.component.SetContainer((switches & 1) != 0);
  input.component.SetTabIndex((switches & 2) != 0);
  input.component.SizeAccommodation((switches & 4) != 0);
  input.component.WriteControlName((switches & 8) != 0);
  input.component.PictureOrImage((switches & 16) != 0 ? 1 : 0);
  std::size_t streamSize = size - 3;
  if ((switches & 32) != 0) {
    const std::size_t wanted = data[1] | (std::size_t{data[2]} << 8);
    const std::size_t defaultsSize = wanted < streamSize ? wanted : streamSize;
    streamSize -= defaultsSize;
    input.defaults = Variant(ByteArray(data + 3 + streamSize, data + size));
  }
  input.stream.assign(data + 3, data + 3 + streamSize);
  return input;
}

// A form like the ones streams are written from: a container and a data
// source of each kind for the stream to name, and the control under test.
// The form is kept with the control, which only refers to it.
struct Target {
  std::shared_ptr<Form> form;
  std::shared_ptr<Control> control;
};

Target TargetOnFreshForm(std::string_view className) {
  Target target{Form::Create("Form1"), nullptr};
  target.form->AddControl("Frame", "Frame1");
  target.form->AddControl("PictureBox", "Picture1");
  target.form->AddControl("Data", "Data1");
  target.control = target.form->AddControl(std::string(className), "Target");
  return target;
}

// What reading a catalogued property gave: its value or the error number.
struct Reading {
  int refusal = 0;
  Variant value;
};

std::vector<Reading> Snapshot(Control& control) {
  std::vector<Reading> readings;
  for (const std::string& property : tavorin::CataloguedProperties(control.TypeName())) {
    Reading reading;
    try {
      reading.value = control.GetProperty(property);
    } catch (const RuntimeError& error) {
      reading.refusal = error.Number();
    }
    readings.push_back(std::move(reading));
  }
  return readings;
}

bool SameSnapshot(const std::vector<Reading>& a, const std::vector<Reading>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].refusal != b[i].refusal || !tavorin::cli::SameValue(a[i].value, b[i].value)) {
      return false;
    }
  }
  return true;
}

bool IsComponentRefusal(int number) {
  return number == tavorin::host::errors::kTypeMismatch ||
         (number >= tavorin::kInvalidStream && number <= tavorin::kInvalidCustomDefaultsStream);
}

void CheckRestoreOnto(Input& input, std::string_view className) {
  const Target target = TargetOnFreshForm(className);
  const std::vector<Reading> before = Snapshot(*target.control);
  ObjectRef destination = target.control;
  try {
    input.component.StreamToControl(input.stream, destination, input.defaults);
  } catch (const RuntimeError& error) {
    if (!IsComponentRefusal(error.Number())) std::abort();
    if (!SameSnapshot(before, Snapshot(*target.control))) std::abort();
    return;
  }
  if (!destination || input.stream.empty()) return;
  const ByteArray written = input.component.ControlToStream(destination, input.defaults);
  const Target twinTarget = TargetOnFreshForm(className);
  ObjectRef twin = twinTarget.control;
  input.component.StreamToControl(written, twin, input.defaults);
  if (input.component.ControlToStream(twin, input.defaults) != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input input = Split(data, size);
  for (const tavorin::detail::PropertySet& set : tavorin::detail::PropertySets()) {
    CheckRestoreOnto(input, tavorin::detail::ClassNameOf(set.type));
  }
  return 0;
}
