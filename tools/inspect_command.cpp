// `tavorin inspect`: what each file holds, entry by entry.
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

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
};

Inspection Inspect(const std::string& file) {
  Inspection inspection{file, ReadFileBytes(file), {}};
  if (inspection.input.bytes) inspection.info = DescribeStream(*inspection.input.bytes);
  return inspection;
}

bool IsGood(const Inspection& inspection) {
  return inspection.input.bytes && inspection.info.isStream;
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

void PrintText(const Inspection& inspection, std::ostream& out, std::ostream& err) {
  const std::string file = PlainForTerminal(inspection.file);
  if (!inspection.input.bytes) {
    err << file << ": cannot be read: " << MessageForTerminal(inspection.input.problem) << "\n";
    return;
  }
  const StreamInfo& info = inspection.info;
  if (!info.isStream) {
    out << file << ": not a stream: " << MessageForTerminal(info.reason) << "\n";
    return;
  }
  out << file << ": " << Summary(info) << "\n";
  const auto cells = [](const StreamEntryInfo& entry) {
    return std::vector<std::string>{PlainForTerminal(entry.key), entry.meaning,
                                    TypeLabel(entry.value), DisplayText(entry.value)};
  };
  TextTable table("  ", {3, 7, 4});
  for (const StreamEntryInfo& entry : info.entries) table.Measure(cells(entry));
  table.Print({"key", "meaning", "type", "value"}, out);
  for (const StreamEntryInfo& entry : info.entries) table.Print(cells(entry), out);
}

// One JSON value on one line, all ASCII: names and texts may be any bytes,
// so bad UTF-8 becomes U+FFFD, and nothing can reach the terminal raw.
std::string Dumped(const nlohmann::json& value) {
  return value.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
}

std::string Member(std::string_view name, const nlohmann::json& value) {
  return "\"" + std::string(name) + "\": " + Dumped(value);
}

// The report on one file, written entry by entry rather than built whole, so
// that memory does not grow with the stream.
void WriteJson(const Inspection& inspection, std::ostream& out) {
  out << "  {" << Member("file", inspection.file) << ", " << Member("isStream", IsGood(inspection));
  if (!inspection.input.bytes) {
    out << ", " << Member("reason", "cannot be read: " + inspection.input.problem) << "}";
    return;
  }
  const StreamInfo& info = inspection.info;
  if (!info.isStream) {
    out << ", " << Member("reason", info.reason) << "}";
    return;
  }
  out << ", " << Member("className", info.className) << ", "
      << Member("controlName", info.controlName) << ", "
      << Member("requiresDefaults", info.requiresDefaults) << ", "
      << Member("version", info.version) << ", \"entries\": [";
  const char* separator = "\n";
  for (const StreamEntryInfo& entry : info.entries) {
    out << separator << "    "
        << Dumped({{"key", entry.key},
                   {"meaning", entry.meaning},
                   {"type", TypeLabel(entry.value)},
                   {"value", JsonValue(entry.value)}});
    separator = ",\n";
  }
  out << (info.entries.empty() ? "]}" : "\n  ]}");
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
