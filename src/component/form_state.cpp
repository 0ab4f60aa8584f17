// Whole forms. A form-state image is a property bag image (the host's
// checksummed format) with these entries, found by key; saved images hold
// the keys, so they never change:
//
//   "@FS#"   Long     format version, 1
//   "@FN#"   String   the form's name
//   "@FM#"   Integer  the form's ScaleMode
//   "@FC#"   Long     n, the number of controls saved
//   for each saved control i = 0 .. n-1, numbered in the form's creation order:
//   "N<i>"   String   its name
//   "X<i>"   Integer  its index in its control array; absent when in none
//   "K<i>"   String   its class name
//   "P<i>"   String   its container: "" for the form itself, else the
//                     container's name, with "(index)" for an array member
//   "S:<who>" bytes   its stream, under its name ("Text1") or name and
//                     index ("Option1(2)")
#include <tavorin/form_state.h>

#include <algorithm>
#include <new>
#include <optional>
#include <unordered_map>

#include <tavorin/errors.h>
#include <tavorin/host/control.h>
#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/property_bag.h>

#include "component/component_errors.h"

namespace tavorin {
namespace {

constexpr std::int32_t kFormStateVersion = 1;
constexpr std::string_view kVersionKey = "@FS#";
constexpr std::string_view kFormNameKey = "@FN#";
constexpr std::string_view kScaleModeKey = "@FM#";
constexpr std::string_view kCountKey = "@FC#";

// The data control is the one class whose restore others depend on without
// being inside it: a bound control finds its data source by name.
constexpr std::string_view kDataClass = "Data";

std::string Indexed(char letter, std::size_t position) { return letter + std::to_string(position); }

std::string Who(const std::string& name, std::optional<std::int16_t> index) {
  return index ? name + "(" + std::to_string(*index) + ")" : name;
}

std::string WhoIs(const host::Control& control) {
  return Who(control.Name(),
             control.IsArrayMember() ? std::optional(control.Index()) : std::nullopt);
}

std::string ContainerOf(const host::Control& control) {
  const auto container = std::dynamic_pointer_cast<host::Control>(control.Container());
  return container ? WhoIs(*container) : std::string();
}

std::string StreamKey(const std::string& who) { return "S:" + who; }

struct SavedControl {
  std::string name;
  std::optional<std::int16_t> index;
  std::string className;
  std::string container;
  host::ByteArray stream;

  std::string Who() const { return tavorin::Who(name, index); }
};

[[noreturn]] void RaiseNoFormState(const std::string& why) {
  throw host::RuntimeError(host::errors::kInvalidFileFormat, "Not a form state: " + why);
}

// Every entry of one saved control, each of the type it must have.
SavedControl LoadSavedControl(const host::PropertyBag& bag, std::size_t position) {
  SavedControl saved;
  try {
    saved.name = host::CStr(bag.ReadProperty(Indexed('N', position)));
    const host::Variant index = bag.ReadProperty(Indexed('X', position));
    if (!index.IsEmpty()) saved.index = host::CInt(index);
    saved.className = host::CStr(bag.ReadProperty(Indexed('K', position)));
    saved.container = host::CStr(bag.ReadProperty(Indexed('P', position)));
    saved.stream = bag.ReadProperty(StreamKey(saved.Who())).AsBytes();
  } catch (const host::RuntimeError&) {
    RaiseNoFormState("the entries of control " + std::to_string(position) + " are damaged");
  }
  if (saved.name.empty()) RaiseNoFormState("control " + std::to_string(position) + " has no name");
  return saved;
}

std::vector<SavedControl> ReadManifest(const host::PropertyBag& bag) {
  std::int32_t version = 0;
  std::int32_t count = 0;
  try {
    version = host::CLng(bag.ReadProperty(kVersionKey, 0));
    count = host::CLng(bag.ReadProperty(kCountKey, -1));
  } catch (const host::RuntimeError&) {
    RaiseNoFormState("its header is damaged");
  }
  if (version != kFormStateVersion) RaiseNoFormState("no form-state version 1");
  // Each control takes at least four entries, so a count beyond what the
  // image holds is damage, not a reason to loop.
  if (count < 0 || static_cast<std::size_t>(count) > bag.Names().size()) {
    RaiseNoFormState("its control count is damaged");
  }
  std::vector<SavedControl> controls;
  controls.reserve(static_cast<std::size_t>(count));
  for (std::size_t position = 0; position < static_cast<std::size_t>(count); ++position) {
    controls.push_back(LoadSavedControl(bag, position));
  }
  return controls;
}

std::vector<SavedControl> LoadFormState(const host::ByteArray& image) {
  host::PropertyBag bag;
  bag.SetContents(image);  // 321 for bytes that are no property bag image
  return ReadManifest(bag);
}

// What each key of a form-state image stands for, by the manifest read from it.
std::unordered_map<std::string, std::string> KeyMeanings(
    const std::vector<SavedControl>& controls) {
  std::unordered_map<std::string, std::string> meanings{
      {std::string(kVersionKey), "form-state version"},
      {std::string(kFormNameKey), "form name"},
      {std::string(kScaleModeKey), "form ScaleMode"},
      {std::string(kCountKey), "control count"},
  };
  for (std::size_t position = 0; position < controls.size(); ++position) {
    const std::string control = "control " + std::to_string(position);
    meanings.emplace(Indexed('N', position), control + " name");
    meanings.emplace(Indexed('X', position), control + " index");
    meanings.emplace(Indexed('K', position), control + " class");
    meanings.emplace(Indexed('P', position), control + " container");
    meanings.emplace(StreamKey(controls[position].Who()), "stream of " + controls[position].Who());
  }
  return meanings;
}

std::shared_ptr<host::Control> FindOnForm(const host::Form& form, const SavedControl& saved) {
  for (const auto& control : form.Controls()) {
    if (control->Name() != saved.name || control->IsArrayMember() != saved.index.has_value()) {
      continue;
    }
    if (!saved.index || control->Index() == *saved.index) return control;
  }
  return nullptr;
}

// What keeps a saved control from being restored onto `form`.
struct Fault {
  int number;
  std::string why;
};

// A saved control matched to its control on the form, with the custom
// defaults its stream is read against.
struct Match {
  const SavedControl* saved;
  std::shared_ptr<host::Control> control;
  host::Variant customDefaults;
};

std::optional<Fault> Check(const Tavorin& component, const host::Form& form,
                           const SavedControl& saved, const FormStateOptions& options,
                           Match& match) {
  const std::string who = saved.Who();
  match.saved = &saved;
  match.control = FindOnForm(form, saved);
  if (!match.control) {
    return Fault{host::errors::kInvalidProcedureCall, "control " + who + " is not on the form"};
  }
  if (match.control->TypeName() != saved.className) {
    return Fault{kControlTypeMismatch, "control " + who + " is a " + match.control->TypeName() +
                                           " on the form, a " + saved.className + " in the image"};
  }
  if (!component.IsStream(saved.stream) ||
      component.ControlTypeName(saved.stream) != saved.className) {
    return Fault{kInvalidStream, "the stream of control " + who + " is damaged"};
  }
  match.customDefaults = host::Variant::Missing();
  const auto custom = options.customDefaults.find(saved.className);
  if (custom != options.customDefaults.end()) {
    if (!component.IsStream(custom->second) ||
        component.ControlTypeName(custom->second) != saved.className ||
        component.RequiresDefaultsStream(custom->second)) {
      return Fault{kInvalidCustomDefaultsStream,
                   "the custom defaults for class " + saved.className + " do not fit it"};
    }
    match.customDefaults = host::Variant::Bytes(custom->second);
  } else if (component.RequiresDefaultsStream(saved.stream)) {
    return Fault{kMissingCustomDefaultsStream,
                 "control " + who + " needs custom defaults for class " + saved.className};
  }
  return std::nullopt;
}

[[noreturn]] void Raise(const Fault& fault) {
  if (fault.number >= kNotAControl && fault.number <= kInvalidCustomDefaultsStream) {
    const auto error = static_cast<ComponentError>(fault.number);
    detail::RaiseComponentError(error, detail::ComponentErrorDescription(error) + ": " + fault.why);
  }
  throw host::RuntimeError(fault.number, "Form state: " + fault.why);
}

// How many containers lie between the control and the form, by the image's
// own record of containers; a chain that loops or leaves the image ends.
std::size_t Depth(const SavedControl& saved, const std::vector<SavedControl>& all) {
  std::size_t depth = 0;
  std::string container = saved.container;
  while (!container.empty() && depth <= all.size()) {
    const auto holder = std::find_if(all.begin(), all.end(), [&](const SavedControl& other) {
      return other.Who() == container;
    });
    if (holder == all.end()) break;
    container = holder->container;
    ++depth;
  }
  return depth;
}

// Data controls first, then containers before what they hold; otherwise the
// image's order.
void PutInRestoreOrder(std::vector<Match>& matches, const std::vector<SavedControl>& all) {
  const auto rank = [&](const Match& match) {
    return std::pair(match.saved->className == kDataClass ? 0 : 1, Depth(*match.saved, all));
  };
  std::stable_sort(matches.begin(), matches.end(),
                   [&](const Match& a, const Match& b) { return rank(a) < rank(b); });
}

}  // namespace

host::ByteArray SaveFormState(Tavorin& component, const host::Form& form,
                              const FormStateOptions& options) {
  host::PropertyBag bag;
  bag.WriteProperty(kVersionKey, host::Variant::Long(kFormStateVersion));
  bag.WriteProperty(kFormNameKey, form.Name());
  bag.WriteProperty(kScaleModeKey, host::Variant::Integer(form.ScaleMode()));
  std::size_t saved = 0;
  std::vector<std::pair<std::string, host::ByteArray>> streams;
  for (const auto& control : form.Controls()) {
    const auto custom = options.customDefaults.find(control->TypeName());
    host::ByteArray stream;
    try {
      stream = component.ControlToStream(control, custom == options.customDefaults.end()
                                                      ? host::Variant::Missing()
                                                      : host::Variant::Bytes(custom->second));
    } catch (const host::RuntimeError& error) {
      // A class the component does not handle, or another library's control.
      if (error.Number() == kUnsupportedControl || error.Number() == host::errors::kTypeMismatch) {
        continue;
      }
      throw;
    }
    bag.WriteProperty(Indexed('N', saved), control->Name());
    if (control->IsArrayMember()) {
      bag.WriteProperty(Indexed('X', saved), host::Variant::Integer(control->Index()));
    }
    bag.WriteProperty(Indexed('K', saved), control->TypeName());
    bag.WriteProperty(Indexed('P', saved), ContainerOf(*control));
    streams.emplace_back(StreamKey(WhoIs(*control)), std::move(stream));
    ++saved;
  }
  bag.WriteProperty(kCountKey, host::Variant::Long(static_cast<std::int32_t>(saved)));
  for (auto& [key, stream] : streams)
    bag.WriteProperty(key, host::Variant::Bytes(std::move(stream)));
  return bag.Contents();
}

RestoreReport RestoreFormState(Tavorin& component, const host::ByteArray& state, host::Form& form,
                               const FormStateOptions& options) {
  const std::vector<SavedControl> saved = LoadFormState(state);
  RestoreReport report;
  std::vector<Match> matches;
  for (const SavedControl& control : saved) {
    Match match;
    if (const std::optional<Fault> fault = Check(component, form, control, options, match)) {
      if (!options.partial) Raise(*fault);
      report.skipped.emplace_back(control.Who(), fault->why);
      continue;
    }
    matches.push_back(std::move(match));
  }
  PutInRestoreOrder(matches, saved);
  for (const Match& match : matches) {
    host::ObjectRef destination = match.control;
    component.StreamToControl(match.saved->stream, destination, match.customDefaults);
    report.restored.push_back(match.saved->Who());
  }
  return report;
}

FormStateInfo DescribeFormState(const host::ByteArray& image) {
  FormStateInfo info;
  try {
    host::PropertyBag bag;
    bag.SetContents(image);
    const std::vector<SavedControl> controls = ReadManifest(bag);
    try {
      info.formName = host::CStr(bag.ReadProperty(kFormNameKey));
      info.scaleMode = host::CInt(bag.ReadProperty(kScaleModeKey));
    } catch (const host::RuntimeError&) {
      RaiseNoFormState("its header is damaged");
    }
    info.version = kFormStateVersion;
    for (const SavedControl& saved : controls) {
      info.controls.push_back({saved.name, saved.index, saved.className, saved.container,
                               saved.Who(), StreamKey(saved.Who()), saved.stream});
    }
    const auto meanings = KeyMeanings(controls);
    for (const std::string& key : bag.Names()) {
      const auto meaning = meanings.find(key);
      info.entries.push_back({key, meaning == meanings.end() ? "unknown key" : meaning->second,
                              bag.ReadProperty(key)});
    }
    info.isFormState = true;
  } catch (const host::RuntimeError& error) {
    info = FormStateInfo{};
    info.reason = error.Description();
  } catch (const std::bad_alloc& error) {
    // Only an image too large for the memory left gets here.
    info = FormStateInfo{};
    info.reason = std::string("cannot be read: ") + error.what();
  }
  return info;
}

}  // namespace tavorin
