// `tavorin inspect`: what each file holds, entry by entry.
#include <algorithm>
#include <iomanip>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "file_input.h"
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
  std::string text = info.className.empty() ? "stream of no known class" : info.className + " stream";
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
    err << file << ": cannot be read: " << inspection.input.problem << "\n";
    return;
  }
  const StreamInfo& info = inspection.info;
  if (!info.isStream) {
    out << file << ": not a stream: " << info.reason << "\n";
    return;
  }
  out << file << ": " << Summary(info) << "\n";
  std::size_t keyWidth = 3, meaningWidth = 7, typeWidth = 4;
  for (const StreamEntryInfo& entry : info.entries) {
    keyWidth = std::max(keyWidth, PlainForTerminal(entry.key).size());
    meaningWidth = std::max(meaningWidth, entry.meaning.size());
    typeWidth = std::max(typeWidth, TypeLabel(entry.value).size());
  }
  const auto row = [&](const std::string& key, const std::string& meaning,
                       const std::string& type, const std::string& value) {
    out << "  " << std::left << std::setw(static_cast<int>(keyWidth)) << key << "  "
        << std::setw(static_cast<int>(meaningWidth)) << meaning << "  "
        << std::setw(static_cast<int>(typeWidth)) << type << "  " << value << "\n";
  };
  row("key", "meaning", "type", "value");
  for (const StreamEntryInfo& entry : info.entries) {
    row(PlainForTerminal(entry.key), entry.meaning, TypeLabel(entry.value),
        DisplayText(entry.value));
  }
}

nlohmann::json ToJson(const Inspection& inspection) {
  nlohmann::json report = {{"file", inspection.file}, {"isStream", IsGood(inspection)}};
  if (!inspection.input.bytes) {
    report["reason"] = "cannot be read: " + inspection.input.problem;
    return report;
  }
  const StreamInfo& info = inspection.info;
  if (!info.isStream) {
    report["reason"] = info.reason;
    return report;
  }
  report["className"] = info.className;
  report["controlName"] = info.controlName;
  report["requiresDefaults"] = info.requiresDefaults;
  report["version"] = info.version;
  report["entries"] = nlohmann::json::array();
  for (const StreamEntryInfo& entry : info.entries) {
    report["entries"].push_back({{"key", entry.key},
                                 {"meaning", entry.meaning},
                                 {"type", TypeLabel(entry.value)},
                                 {"value", JsonValue(entry.value)}});
  }
  return report;
}

}  // namespace

int RunInspect(const std::vector<std::string>& files, bool json, std::ostream& out,
               std::ostream& err) {
  bool allStreams = true;
  nlohmann::json reports = nlohmann::json::array();
  for (const std::string& file : files) {
    const Inspection inspection = Inspect(file);
    allStreams = allStreams && IsGood(inspection);
    if (json) {
      reports.push_back(ToJson(inspection));
    } else {
      PrintText(inspection, out, err);
    }
  }
  // Names and texts may be any bytes; JSON wants UTF-8, so bad bytes become U+FFFD.
  if (json) out << reports.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
  return allStreams ? kExitOk : kExitFailed;
}

}  // namespace tavorin::cli
