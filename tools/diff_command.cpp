// `tavorin diff`: the entries in which two streams differ, key by key.
#include <algorithm>
#include <iomanip>
#include <optional>

#include "commands.h"
#include "file_input.h"
#include "value_text.h"

namespace tavorin::cli {
namespace {

// The stream in `file`, or nullopt after saying on `err` why there is none.
std::optional<StreamInfo> LoadStream(const std::string& file, std::ostream& err) {
  const FileBytes input = ReadFileBytes(file);
  if (!input.bytes) {
    err << PlainForTerminal(file) << ": cannot be read: " << input.problem << "\n";
    return std::nullopt;
  }
  StreamInfo info = DescribeStream(*input.bytes);
  if (!info.isStream) {
    err << PlainForTerminal(file) << ": not a stream: " << info.reason << "\n";
    return std::nullopt;
  }
  return info;
}

const StreamEntryInfo* FindEntry(const StreamInfo& info, const std::string& key) {
  const auto found = std::find_if(info.entries.begin(), info.entries.end(),
                                  [&](const StreamEntryInfo& entry) { return entry.key == key; });
  return found == info.entries.end() ? nullptr : &*found;
}

std::string TypedText(const host::Variant& value) {
  return TypeLabel(value) + " " + DisplayText(value);
}

struct Difference {
  std::string_view kind;
  std::string key;
  std::string meaning;
  std::string values;
};

std::vector<Difference> Differences(const StreamInfo& a, const StreamInfo& b) {
  std::vector<Difference> differences;
  for (const StreamEntryInfo& entry : a.entries) {
    const StreamEntryInfo* other = FindEntry(b, entry.key);
    if (other == nullptr) {
      differences.push_back({"only in A", entry.key, entry.meaning, TypedText(entry.value)});
    } else if (!SameValue(entry.value, other->value)) {
      // Catalogued keys of streams of two classes name different properties.
      const std::string meaning = entry.meaning == other->meaning
                                      ? entry.meaning
                                      : entry.meaning + " / " + other->meaning;
      const bool sameType = TypeLabel(entry.value) == TypeLabel(other->value);
      differences.push_back(
          {"changed", entry.key, meaning,
           sameType ? DisplayText(entry.value) + " -> " + DisplayText(other->value)
                    : TypedText(entry.value) + " -> " + TypedText(other->value)});
    }
  }
  for (const StreamEntryInfo& entry : b.entries) {
    if (FindEntry(a, entry.key) == nullptr) {
      differences.push_back({"only in B", entry.key, entry.meaning, TypedText(entry.value)});
    }
  }
  return differences;
}

}  // namespace

int RunDiff(const std::string& first, const std::string& second, std::ostream& out,
            std::ostream& err) {
  const std::optional<StreamInfo> a = LoadStream(first, err);
  const std::optional<StreamInfo> b = LoadStream(second, err);
  if (!a || !b) return kExitUsage;

  if (a->className != b->className) {
    out << "A is a " << PlainForTerminal(a->className) << " stream, B a "
        << PlainForTerminal(b->className) << " stream\n";
  }
  const std::vector<Difference> differences = Differences(*a, *b);
  std::size_t keyWidth = 0, meaningWidth = 0;
  for (const Difference& difference : differences) {
    keyWidth = std::max(keyWidth, PlainForTerminal(difference.key).size());
    meaningWidth = std::max(meaningWidth, difference.meaning.size());
  }
  for (const Difference& difference : differences) {
    out << std::left << std::setw(9) << difference.kind << "  "
        << std::setw(static_cast<int>(keyWidth)) << PlainForTerminal(difference.key) << "  "
        << std::setw(static_cast<int>(meaningWidth)) << difference.meaning << "  "
        << difference.values << "\n";
  }
  if (differences.empty()) {
    out << "the streams are equal\n";
    return kExitOk;
  }
  out << differences.size() << (differences.size() == 1 ? " entry differs\n" : " entries differ\n");
  return kExitFailed;
}

}  // namespace tavorin::cli
