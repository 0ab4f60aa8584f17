// `tavorin diff`: the entries in which two streams differ, key by key; two
// form states control by control, then key by key.
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <tavorin/form_state.h>

#include "commands.h"
#include "file_input.h"
#include "text_table.h"
#include "value_text.h"

namespace tavorin::cli {
namespace {

// What a file holds: a stream, or a form state with its controls' streams.
struct Loaded {
  StreamInfo stream;
  std::optional<FormStateInfo> formState;
};

// The stream or form state in `file`, or nullopt after saying on `err` why
// there is none.
std::optional<Loaded> Load(const std::string& file, std::ostream& err) {
  const FileBytes input = ReadFileBytes(file);
  if (!input.bytes) {
    err << PlainForTerminal(file) << ": cannot be read: " << MessageForTerminal(input.problem)
        << "\n";
    return std::nullopt;
  }
  Loaded loaded{DescribeStream(*input.bytes), std::nullopt};
  if (loaded.stream.isStream) return loaded;
  FormStateInfo formState = DescribeFormState(*input.bytes);
  if (formState.isFormState) {
    loaded.formState = std::move(formState);
    return loaded;
  }
  err << PlainForTerminal(file) << ": not a stream: " << MessageForTerminal(loaded.stream.reason)
      << "\n";
  return std::nullopt;
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
  std::string control;  // "" within a single stream
  std::string key;
  std::string meaning;
  std::string values;
};

void AddDifferences(const StreamInfo& a, const StreamInfo& b, const std::string& control,
                    std::vector<Difference>& differences) {
  const EntryIndex inA = IndexEntries(a);
  const EntryIndex inB = IndexEntries(b);
  for (const StreamEntryInfo& entry : a.entries) {
    const StreamEntryInfo* other = FindEntry(inB, entry.key);
    if (other == nullptr) {
      differences.push_back(
          {"only in A", control, entry.key, entry.meaning, TypedText(entry.value)});
    } else if (!SameValue(entry.value, other->value)) {
      // Catalogued keys of streams of two classes name different properties.
      const std::string meaning =
          entry.meaning == other->meaning ? entry.meaning : entry.meaning + " / " + other->meaning;
      const bool sameType = TypeLabel(entry.value) == TypeLabel(other->value);
      differences.push_back({"changed", control, entry.key, meaning,
                             sameType
                                 ? DisplayText(entry.value) + " -> " + DisplayText(other->value)
                                 : TypedText(entry.value) + " -> " + TypedText(other->value)});
    }
  }
  for (const StreamEntryInfo& entry : b.entries) {
    if (FindEntry(inA, entry.key) == nullptr) {
      differences.push_back(
          {"only in B", control, entry.key, entry.meaning, TypedText(entry.value)});
    }
  }
}

// The controls of a form state by name and index, so that comparing two
// takes time in proportion to their size.
using ControlIndex = std::unordered_map<std::string_view, const FormStateControlInfo*>;

ControlIndex IndexControls(const FormStateInfo& formState) {
  ControlIndex index;
  index.reserve(formState.controls.size());
  for (const FormStateControlInfo& control : formState.controls)
    index.emplace(control.who, &control);
  return index;
}

std::string Change(const std::string& a, const std::string& b) {
  return QuotedForTerminal(a) + " -> " + QuotedForTerminal(b);
}

// Control by control (present in one only, of another class, moved), then
// key by key within the streams of the controls both hold.
std::vector<Difference> FormStateDifferences(const FormStateInfo& a, const FormStateInfo& b) {
  std::vector<Difference> differences;
  if (a.formName != b.formName) {
    differences.push_back({"changed", "", "", "form name", Change(a.formName, b.formName)});
  }
  if (a.scaleMode != b.scaleMode) {
    differences.push_back({"changed", "", "", "form ScaleMode",
                           std::to_string(a.scaleMode) + " -> " + std::to_string(b.scaleMode)});
  }
  const ControlIndex inA = IndexControls(a);
  const ControlIndex inB = IndexControls(b);
  for (const FormStateControlInfo& control : a.controls) {
    const auto other = inB.find(control.who);
    if (other == inB.end()) {
      differences.push_back({"only in A", control.who, "", "control", control.className});
    } else if (control.className != other->second->className) {
      differences.push_back({"class changed", control.who, "", "class",
                             Change(control.className, other->second->className)});
    } else {
      if (control.container != other->second->container) {
        differences.push_back({"changed", control.who, "", "container",
                               Change(control.container, other->second->container)});
      }
      AddDifferences(DescribeStream(control.stream), DescribeStream(other->second->stream),
                     control.who, differences);
    }
  }
  for (const FormStateControlInfo& control : b.controls) {
    if (!inA.contains(control.who)) {
      differences.push_back({"only in B", control.who, "", "control", control.className});
    }
  }
  return differences;
}

struct Wording {
  std::string_view equal, one, many;
};

int Report(const std::vector<Difference>& differences, bool withControls, const Wording& wording,
           std::ostream& out) {
  const auto cells = [&](const Difference& difference) {
    std::vector<std::string> row{std::string(difference.kind)};
    if (withControls) row.push_back(PlainForTerminal(difference.control));
    row.insert(row.end(),
               {PlainForTerminal(difference.key), difference.meaning, difference.values});
    return row;
  };
  TextTable table(
      "", withControls ? std::vector<std::size_t>{9, 0, 0, 0} : std::vector<std::size_t>{9, 0, 0});
  for (const Difference& difference : differences) table.Measure(cells(difference));
  for (const Difference& difference : differences) table.Print(cells(difference), out);
  if (differences.empty()) {
    out << wording.equal << "\n";
    return kExitOk;
  }
  out << differences.size() << " " << (differences.size() == 1 ? wording.one : wording.many)
      << "\n";
  return kExitFailed;
}

}  // namespace

int RunDiff(const std::string& first, const std::string& second, std::ostream& out,
            std::ostream& err) {
  const std::optional<Loaded> a = Load(first, err);
  const std::optional<Loaded> b = Load(second, err);
  if (!a || !b) return kExitUsage;

  if (a->formState && b->formState) {
    return Report(FormStateDifferences(*a->formState, *b->formState), true,
                  {"the form states are equal", "difference", "differences"}, out);
  }
  if (a->formState || b->formState) {
    out << (a->formState ? "A is a form state, B a stream\n" : "A is a stream, B a form state\n");
    return kExitFailed;
  }
  if (a->stream.className != b->stream.className) {
    out << "A is a " << PlainForTerminal(a->stream.className) << " stream, B a "
        << PlainForTerminal(b->stream.className) << " stream\n";
  }
  std::vector<Difference> differences;
  AddDifferences(a->stream, b->stream, "", differences);
  return Report(differences, false, {"the streams are equal", "entry differs", "entries differ"},
                out);
}

}  // namespace tavorin::cli
