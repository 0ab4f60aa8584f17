// `tavorin inspect`: what each file holds, entry by entry; for a form state,
// its manifest and then each control's stream.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include <tavorin/form_state.h>

#include "commands.h"
#include "file_input.h"
#include "text_table.h"
#include "value_text.h"

namespace tavorin::cli {
namespace {

struct Inspection {
  std::string file;
  FileBytes input;
  StreamInfo info;
  /// Set for a form-state file.
  std::optional<FormStateInfo> formState;
};

Inspection Inspect(const std::string& file) {
  Inspection inspection{file, ReadFileBytes(file), {}, std::nullopt};
  if (!inspection.input.bytes) return inspection;
  inspection.info = DescribeStream(*inspection.input.bytes);
  if (!inspection.info.isStream) {
    FormStateInfo formState = DescribeFormState(*inspection.input.bytes);
    if (formState.isFormState) inspection.formState = std::move(formState);
  }
  return inspection;
}

bool IsGood(const Inspection& inspection) {
  return inspection.input.bytes && (inspection.info.isStream || inspection.formState);
}

std::string Summary(const StreamInfo& info) {
  std::string text =
      info.className.empty() ? "stream of no known class" : info.className + " stream";
  text += info.controlName.empty() ? ", no control name"
                                   : ", control " + QuotedForTerminal(info.controlName);
  text += info.requiresDefaults ? ", needs its custom defaults stream" : ", built-in defaults";
  text += ", version " + std::to_string(info.version);
  text += ", " + std::to_string(info.entries.size()) + " entries";
  return text;
}

void PrintEntries(const std::vector<StreamEntryInfo>& entries, std::ostream& out) {
  const auto cells = [](const StreamEntryInfo& entry) {
    return std::vector<std::string>{PlainForTerminal(entry.key), entry.meaning,
                                    TypeLabel(entry.value), DisplayText(entry.value)};
  };
  TextTable table("  ", {3, 7, 4});
  for (const StreamEntryInfo& entry : entries) table.Measure(cells(entry));
  table.Print({"key", "meaning", "type", "value"}, out);
  for (const StreamEntryInfo& entry : entries) table.Print(cells(entry), out);
}

// The manifest, then each control's stream as inspect shows a stream file.
void PrintFormState(const std::string& file, const FormStateInfo& formState, std::ostream& out) {
  out << file << ": form state of form " << QuotedForTerminal(formState.formName) << ", ScaleMode "
      << formState.scaleMode << ", version " << formState.version << ", "
      << formState.controls.size() << " controls\n";
  const auto cells = [](const FormStateControlInfo& control) {
    return std::vector<std::string>{PlainForTerminal(control.who),
                                    PlainForTerminal(control.className),
                                    PlainForTerminal(control.container)};
  };
  TextTable table("  ", {7, 5});
  for (const FormStateControlInfo& control : formState.controls) table.Measure(cells(control));
  table.Print({"control", "class", "container"}, out);
  for (const FormStateControlInfo& control : formState.controls) table.Print(cells(control), out);
  for (const FormStateControlInfo& control : formState.controls) {
    const StreamInfo info = DescribeStream(control.stream);
    out << PlainForTerminal(control.who) << ": "
        << (info.isStream ? Summary(info) : "not a stream: " + MessageForTerminal(info.reason))
        << "\n";
    PrintEntries(info.entries, out);
  }
}

void PrintText(const Inspection& inspection, std::ostream& out, std::ostream& err) {
  const std::string file = PlainForTerminal(inspection.file);
  if (!inspection.input.bytes) {
    err << file << ": cannot be read: " << MessageForTerminal(inspection.input.problem) << "\n";
    return;
  }
  if (inspection.formState) return PrintFormState(file, *inspection.formState, out);
  const StreamInfo& info = inspection.info;
  if (!info.isStream) {
    out << file << ": not a stream: " << MessageForTerminal(info.reason) << "\n";
    return;
  }
  out << file << ": " << Summary(info) << "\n";
  PrintEntries(info.entries, out);
}

// One JSON value on one line, all ASCII: names and texts may be any bytes,
// so bad UTF-8 becomes U+FFFD, and nothing can reach the terminal raw.
std::string Dumped(const nlohmann::json& value) {
  return value.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
}

std::string Member(std::string_view name, const nlohmann::json& value) {
  return "\"" + std::string(name) + "\": " + Dumped(value);
}

// The members of a stream's report, written entry by entry rather than
// built whole, so that memory does not grow with the stream.
void WriteStreamMembers(const StreamInfo& info, const std::string& indent, std::ostream& out) {
  out << Member("className", info.className) << ", " << Member("controlName", info.controlName)
      << ", " << Member("requiresDefaults", info.requiresDefaults) << ", "
      << Member("version", info.version) << ", \"entries\": [";
  const char* separator = "\n";
  for (const StreamEntryInfo& entry : info.entries) {
    out << separator << indent << "  "
        << Dumped({{"key", entry.key},
                   {"meaning", entry.meaning},
                   {"type", TypeLabel(entry.value)},
                   {"value", JsonValue(entry.value)}});
    separator = ",\n";
  }
  out << (info.entries.empty() ? "]" : "\n" + indent + "]");
}

void WriteFormStateMembers(const FormStateInfo& formState, std::ostream& out) {
  out << Member("isFormState", true) << ", " << Member("formName", formState.formName) << ", "
      << Member("scaleMode", formState.scaleMode) << ", " << Member("version", formState.version)
      << ", \"controls\": [";
  const char* separator = "\n";
  for (const FormStateControlInfo& control : formState.controls) {
    const StreamInfo info = DescribeStream(control.stream);
    out << separator << "    {" << Member("name", control.name) << ", ";
    if (control.index) out << Member("index", *control.index) << ", ";
    out << Member("className", control.className) << ", " << Member("container", control.container)
        << ", " << Member("isStream", info.isStream) << ", \"stream\": {";
    WriteStreamMembers(info, "      ", out);
    out << "}}";
    separator = ",\n";
  }
  out << (formState.controls.empty() ? "]" : "\n  ]");
}

void WriteJson(const Inspection& inspection, std::ostream& out) {
  out << "  {" << Member("file", inspection.file) << ", "
      << Member("isStream", inspection.info.isStream);
  if (!inspection.input.bytes) {
    out << ", " << Member("reason", "cannot be read: " + inspection.input.problem) << "}";
    return;
  }
  if (inspection.formState) {
    out << ", ";
    WriteFormStateMembers(*inspection.formState, out);
    out << "}";
    return;
  }
  const StreamInfo& info = inspection.info;
  if (!info.isStream) {
    out << ", " << Member("reason", info.reason) << "}";
    return;
  }
  out << ", ";
  WriteStreamMembers(info, "  ", out);
  out << "}";
}

}  // namespace

int RunInspect(const std::vector<std::string>& files, bool json, std::ostream& out,
               std::ostream& err) {
  bool allStreams = true;
  const char* separator = "[\n";
  for (const std::string& file : files) {
    const Inspection inspection = Inspect(file);
    allStreams = allStreams && IsGood(inspection);
    if (json) {
      out << separator;
      WriteJson(inspection, out);
      separator = ",\n";
    } else {
      PrintText(inspection, out, err);
    }
  }
  if (json) out << (files.empty() ? "[]\n" : "\n]\n");
  return allStreams ? kExitOk : kExitFailed;
}

}  // namespace tavorin::cli
