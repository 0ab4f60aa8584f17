// `tavorin demo`: every control of the sample form the component handles is
// written to a stream file, read back, restored onto a fresh form and
// compared with the original; a Data control also by the record it stands on.
// Then the whole form goes the same way through one form-state file.
#include <filesystem>
#include <iomanip>
#include <optional>
#include <system_error>

#include <tavorin/form_state.h>

#include "commands.h"
#include "control_compare.h"
#include "sample_form.h"
#include "value_text.h"

namespace tavorin::cli {
namespace {

// Beside the stream files: what the sample's file controls show.
constexpr const char* kSampleDriveFolder = "sample-drive";

struct RoundTrip {
  std::string className;
  std::string name;
  std::size_t streamBytes = 0;
  std::size_t keysStored = 0;
  std::vector<std::string> problems;  // empty: the control came back equal
  std::string record;                 // what a restored Data control stands on
};

std::string FileFor(const std::filesystem::path& folder, const host::Control& control) {
  return (folder / (control.Name() + ".tvs")).string();
}

// Writes the control's stream file; nullopt when the component has no
// property set for its class. Raises the host's RuntimeError when the file
// cannot be written: the folder cannot take the demo's streams.
std::optional<RoundTrip> WriteControl(Tavorin& component,
                                      const std::shared_ptr<host::Control>& control,
                                      const std::filesystem::path& folder) {
  RoundTrip trip{control->TypeName(), control->Name(), 0, 0, {}, {}};
  host::ByteArray stream;
  try {
    stream = component.ControlToStream(control);
  } catch (const host::RuntimeError& error) {
    if (error.Number() == tavorin::kUnsupportedControl) return std::nullopt;
    trip.problems.push_back("writing: " + error.Description());
    return trip;
  }
  component.StreamToFile(stream, FileFor(folder, *control));
  return trip;
}

// The record a Data control stands on, in words; "" for another class.
std::string RecordStoodOn(const host::Control& control) {
  const auto* data = dynamic_cast<const host::Data*>(&control);
  if (data == nullptr) return "";
  const std::shared_ptr<host::Recordset> records = data->Recordset();
  if (!records) return "no recordset";
  if (records->AbsolutePosition() < 0) return "no current record";
  std::string text = "record " + std::to_string(records->AbsolutePosition() + 1) + " of " +
                     std::to_string(records->RecordCount()) + ":";
  for (const std::string& field : records->FieldNames()) {
    text += " " + PlainForTerminal(field) + " " + DisplayText(records->Field(field));
  }
  return text;
}

// How `twin` differs from `source`, the record a Data control stands on
// included.
std::vector<std::string> Differences(host::Control& source, host::Control& twin) {
  std::vector<std::string> differences = ControlDifferences(source, twin);
  const std::string was = RecordStoodOn(source);
  const std::string is = RecordStoodOn(twin);
  if (was != is) differences.push_back("Recordset: " + was + " became " + is);
  return differences;
}

void RestoreControl(Tavorin& component, RoundTrip& trip, const host::Form& original,
                    const host::Form& fresh, const std::filesystem::path& folder) {
  const std::shared_ptr<host::Control> source = ControlNamed(original, trip.name);
  const std::shared_ptr<host::Control> twin = ControlNamed(fresh, trip.name);
  host::ObjectRef destination = twin;  // the component may set the variable to Nothing
  try {
    const host::ByteArray stream = component.StreamFromFile(FileFor(folder, *source));
    trip.streamBytes = stream.size();
    trip.keysStored = DescribeStream(stream).entries.size();
    component.StreamToControl(stream, destination);
  } catch (const host::RuntimeError& error) {
    trip.problems.push_back("reading: " + error.Description());
    return;
  }
  trip.problems = Differences(*source, *twin);
  trip.record = RecordStoodOn(*twin);
}

void PrintTable(const std::vector<RoundTrip>& trips, std::ostream& out) {
  out << std::left << std::setw(14) << "class" << std::setw(10) << "name" << std::right
      << std::setw(13) << "stream bytes" << std::setw(13) << "keys stored"
      << "  round trip\n";
  for (const RoundTrip& trip : trips) {
    out << std::left << std::setw(14) << trip.className << std::setw(10) << trip.name << std::right
        << std::setw(13) << trip.streamBytes << std::setw(13) << trip.keysStored << "  "
        << (trip.problems.empty() ? "ok" : "DIFFERS") << "\n";
    if (!trip.record.empty()) out << "    " << trip.name << " stands on " << trip.record << "\n";
    for (const std::string& problem : trip.problems) {
      out << "    " << trip.name << "." << MessageForTerminal(problem) << "\n";
    }
  }
}

// The differences between the handled controls of two forms, each prefixed
// by the control's name.
std::vector<std::string> FormDifferences(const std::vector<RoundTrip>& handled,
                                         const host::Form& original, const host::Form& restored) {
  std::vector<std::string> differences;
  for (const RoundTrip& trip : handled) {
    const std::shared_ptr<host::Control> source = ControlNamed(original, trip.name);
    const std::shared_ptr<host::Control> twin = ControlNamed(restored, trip.name);
    for (const std::string& difference : Differences(*source, *twin)) {
      differences.push_back(trip.name + "." + difference);
    }
  }
  return differences;
}

// Saves the whole form into one file, restores it onto a fresh form and
// reports the outcome; true when every handled control came back equal.
bool RoundTripWholeForm(Tavorin& component, const std::vector<RoundTrip>& handled,
                        const host::Form& original, const std::filesystem::path& folder,
                        std::ostream& out) {
  const std::string file = (folder / (original.Name() + ".tvf")).string();
  const std::shared_ptr<host::Form> fresh = BuildSampleForm();
  std::vector<std::string> problems;
  std::size_t bytes = 0;
  try {
    component.StreamToFile(SaveFormState(component, original), file);
    const host::ByteArray state = component.StreamFromFile(file);
    bytes = state.size();
    RestoreFormState(component, state, *fresh);
    problems = FormDifferences(handled, original, *fresh);
  } catch (const host::RuntimeError& error) {
    problems.push_back(error.Description());
  }
  out << "\nThe whole form in one file, " << PlainForTerminal(file) << " (" << bytes
      << " bytes), restored onto a fresh form: "
      << (problems.empty() ? "every control came back equal." : "it DIFFERS.") << "\n";
  for (const std::string& problem : problems) out << "    " << MessageForTerminal(problem) << "\n";
  return problems.empty();
}

}  // namespace

int RunDemo(const std::string& folderName, std::ostream& out, std::ostream& err) {
  const std::filesystem::path folder(folderName);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    err << PlainForTerminal(folderName)
        << ": cannot create the folder: " << MessageForTerminal(error.message()) << "\n";
    return kExitUsage;
  }

  Tavorin component;
  const std::shared_ptr<host::Form> original = BuildSampleForm();
  try {
    MapSampleDrive(folder / kSampleDriveFolder);
    ApplySampleState(*original, (folder / "orders.db").string());
  } catch (const host::RuntimeError& refusal) {
    err << "the sample form cannot be set up: " << MessageForTerminal(refusal.Description())
        << "\n";
    return kExitFailed;
  }

  std::vector<RoundTrip> trips;
  std::vector<std::string> unhandled;
  try {
    for (const std::shared_ptr<host::Control>& control : original->Controls()) {
      if (std::optional<RoundTrip> trip = WriteControl(component, control, folder)) {
        trips.push_back(std::move(*trip));
      } else {
        unhandled.push_back(control->TypeName());
      }
    }
  } catch (const host::RuntimeError& refusal) {
    err << PlainForTerminal(folderName)
        << ": cannot write the streams: " << MessageForTerminal(refusal.Description()) << "\n";
    return kExitUsage;
  }
  // The fresh form is built like the original, so data sources and
  // containers named in the streams are found on it.
  const std::shared_ptr<host::Form> fresh = BuildSampleForm();
  for (RoundTrip& trip : trips) {
    if (trip.problems.empty()) RestoreControl(component, trip, *original, *fresh, folder);
  }

  out << "Streams written to " << PlainForTerminal(folder.string()) << "/\n\n";
  PrintTable(trips, out);
  std::size_t equal = 0;
  for (const RoundTrip& trip : trips) equal += trip.problems.empty() ? 1 : 0;
  out << "\n" << equal << " of " << trips.size() << " controls came back equal.\n";
  if (!unhandled.empty()) {
    out << "Classes the component does not handle yet:";
    for (const std::string& className : unhandled) out << " " << className;
    out << "\n";
  }
  const bool wholeFormEqual = RoundTripWholeForm(component, trips, *original, folder, out);
  return !trips.empty() && equal == trips.size() && wholeFormEqual ? kExitOk : kExitFailed;
}

}  // namespace tavorin::cli
