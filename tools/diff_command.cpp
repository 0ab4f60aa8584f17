// `tavorin diff`: the entries in which two streams differ, key by key.
#include <optional>
#include <string_view>
#include <unordered_map>

#include "commands.h"
#include "file_input.h"
#include "text_table.h"
#include "value_text.h"

namespace tavorin::cli {
namespace {

// The stream in `file`, or nullopt after saying on `err` why there is none.
std::optional<StreamInfo> LoadStream(const std::string& file, std::ostream& err) {
  const FileBytes input = ReadFileBytes(file);
  if (!input.bytes) {
    err << PlainForTerminal(file) << ": cannot be read: " << MessageForTerminal(input.problem)
        << "\n";
    return std::nullopt;
  }
  StreamInfo info = DescribeStream(*input.bytes);
  if (!info.isStream) {
    err << PlainForTerminal(file) << ": not a stream: " << MessageForTerminal(info.reason) << "\n";
    return std::nullopt;
  }
  return info;
}

// The entries of a stream by key (the first of a key, should one repeat), so
// that comparing two streams takes time in proportion to their size.
using EntryIndex = std::unordered_map<std::string_view, const StreamEntryInfo*>;

EntryIndex IndexEntries(const StreamInfo& info) {
  EntryIndex index;
  index.reserve(info.entries.size());
  for (const StreamEntryInfo& entry : info.entries) index.emplace(entry.key, &entry);
  return index;
}

const StreamEntryInfo* FindEntry(const EntryIndex& index, const std::string& key) {
  const auto found = index.find(key);
  return found == index.end() ? nullptr : found->second;
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
  const EntryIndex inA = IndexEntries(a);
  const EntryIndex inB = IndexEntries(b);
  std::vector<Difference> differences;
  for (const StreamEntryInfo& entry : a.entries) {
    const StreamEntryInfo* other = FindEntry(inB, entry.key);
    if (other == nullptr) {
      differences.push_back({"only in A", entry.key, entry.meaning, TypedText(entry.value)});
    } else if (!SameValue(entry.value, other->value)) {
      // Catalogued keys of streams of two classes name different properties.
      const std::string meaning =
          entry.meaning == other->meaning ? entry.meaning : entry.meaning + " / " + other->meaning;
      const bool sameType = TypeLabel(entry.value) == TypeLabel(other->value);
      differences.push_back({"changed", entry.key, meaning,
                             sameType
                                 ? DisplayText(entry.value) + " -> " + DisplayText(other->value)
                                 : TypedText(entry.value) + " -> " + TypedText(other->value)});
    }
  }
  for (const StreamEntryInfo& entry : b.entries) {
    if (FindEntry(inA, entry.key) == nullptr) {
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
  const auto cells = [](const Difference& difference) {
    return std::vector<std::string>{std::string(difference.kind), PlainForTerminal(difference.key),
                                    difference.meaning, difference.values};
  };
  TextTable table("", {9, 0, 0});
  for (const Difference& difference : differences) table.Measure(cells(difference));
  for (const Difference& difference : differences) table.Print(cells(difference), out);
  if (differences.empty()) {
    out << "the streams are equal\n";
    return kExitOk;
  }
  out << differences.size() << (differences.size() == 1 ? " entry differs\n" : " entries differ\n");
  return kExitFailed;
}

}  // namespace tavorin::cli
