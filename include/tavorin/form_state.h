// Whole forms in one image: every control of a form that the component
// handles, saved with one component's settings and restored in an order that
// works (containers before what they hold, data controls before the controls
// bound to them).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <tavorin/component.h>
#include <tavorin/host/form.h>
#include <tavorin/host/variant.h>
#include <tavorin/stream_info.h>

namespace tavorin {

struct FormStateOptions {
  /// Custom defaults streams by class name ("TextBox"); a class without one
  /// is written and read against the built-in defaults.
  std::map<std::string, host::ByteArray> customDefaults;
  /// Restore what matches and report the rest, instead of refusing the
  /// whole image.
  bool partial = false;
};

struct RestoreReport {
  /// The controls restored, in the order they were: "Name" or "Name(Index)".
  std::vector<std::string> restored;
  /// The controls not restored, and why.
  std::vector<std::pair<std::string, std::string>> skipped;
};

/// The form-state image of `form`: a property bag image holding a manifest
/// (format version, the form's name and ScaleMode, each control's name,
/// index, class and container in creation order) and each control's stream.
/// Controls of classes the component does not handle (and controls of other
/// libraries) are left out. Raises what ControlToStream raises for a custom
/// defaults stream of `options` that does not fit its class. Keep it in a
/// file with Tavorin::StreamToFile.
host::ByteArray SaveFormState(Tavorin& component, const host::Form& form,
                              const FormStateOptions& options = {});

/// Restores an image of SaveFormState onto a form built the same way. All of
/// it is checked before anything is applied: every stream valid, each named
/// control present with the same class, custom defaults present where a
/// stream needs them. Unless `options.partial`, the first mismatch raises a
/// RuntimeError whose description names the control at fault, and the form
/// is left untouched: 321 for an image that is no form state, 5 for a control
/// the form lacks, 701 for one of another class, 703 for a damaged stream, 705
/// and 706 for missing or unfit custom defaults.
RestoreReport RestoreFormState(Tavorin& component, const host::ByteArray& state, host::Form& form,
                               const FormStateOptions& options = {});

/// One control as a form-state image's manifest records it.
struct FormStateControlInfo {
  std::string name;
  /// Its index in its control array; nullopt when in none.
  std::optional<std::int16_t> index;
  std::string className;
  /// "" for the form itself, else the container's name, with "(index)" for
  /// an array member.
  std::string container;
  /// Its name, with "(index)" for an array member: "Text1", "Option1(2)".
  std::string who;
  /// The key of its stream: "S:Text1", "S:Option1(2)".
  std::string streamKey;
  /// The bytes stored under `streamKey`.
  host::ByteArray stream;
};

/// What DescribeFormState found.
struct FormStateInfo {
  /// Whether the bytes are a form-state image; when false, `reason` says why.
  bool isFormState = false;
  std::string reason;
  int version = 0;
  std::string formName;
  int scaleMode = 0;
  /// The manifest's controls in saved order.
  std::vector<FormStateControlInfo> controls;
  /// Every stored entry in stored order, with what its key stands for
  /// ("form name", "control 2 class", "stream of Text1"); filled for a
  /// form-state image only.
  std::vector<StreamEntryInfo> entries;
};

/// Explains a form-state image: its manifest and every entry. Never raises,
/// whatever the bytes. The streams it holds are not checked here; each is for
/// DescribeStream.
FormStateInfo DescribeFormState(const host::ByteArray& image);

}  // namespace tavorin
