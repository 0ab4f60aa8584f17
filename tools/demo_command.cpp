// `tavorin demo`: every control of the sample form the component handles is
// written to a stream file, read back, restored onto a fresh form and
// compared with the original; a Data control also by the record it stands on.
#include <filesystem>
#include <iomanip>
#include <optional>
#include <system_error>

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
  const std::vector<std::string> differences = ControlDifferences(*source, *twin);
  trip.problems.insert(trip.problems.end(), differences.begin(), differences.end());
  trip.record = RecordStoodOn(*twin);
  if (const std::string original = RecordStoodOn(*source); trip.record != original) {
    trip.problems.push_back("Recordset: " + original + " became " + trip.record);
  }
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
  return !trips.empty() && equal == trips.size() ? kExitOk : kExitFailed;
}

}  // namespace tavorin::cli
