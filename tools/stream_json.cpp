#include "stream_json.h"

#include <optional>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

#include "json_cursor.h"
#include "value_json.h"
#include "value_text.h"

namespace tavorin::cli {
namespace {

// ---------------------------------------------------------------------------
// Export.

Json EntryJson(const StreamEntryInfo& entry, Json value) {
  return {{"key", TextJson(entry.key)},
          {"meaning", entry.meaning},
          {"type", TypeLabel(entry.value)},
          {"value", std::move(value)}};
}

Json StreamDocument(const StreamInfo& info) {
  Json entries = Json::array();
  for (const StreamEntryInfo& entry : info.entries) {
    entries.push_back(EntryJson(entry, ValueJson(entry.value)));
  }
  return {{"format", kStreamFormat},
          {"envelope",
           {{"className", info.className},
            {"controlName", TextJson(info.controlName)},
            {"requiresDefaults", info.requiresDefaults},
            {"version", info.version}}},
          {"entries", std::move(entries)}};
}

// A byte array that is a stream (a control's, in a form state) as the
// stream's own document, so that it can be read and edited like one.
Json FormStateValueJson(const host::Variant& value) {
  if (value.Type() == host::VarType::ByteArray) {
    const StreamInfo info = DescribeStream(value.AsBytes());
    if (info.isStream) return {{"size", value.AsBytes().size()}, {"stream", StreamDocument(info)}};
  }
  return ValueJson(value);
}

Json FormStateDocument(const FormStateInfo& info) {
  Json controls = Json::array();
  for (const FormStateControlInfo& control : info.controls) {
    Json manifested{{"name", TextJson(control.name)}};
    if (control.index) manifested["index"] = *control.index;
    manifested["className"] = TextJson(control.className);
    manifested["container"] = TextJson(control.container);
    controls.push_back(std::move(manifested));
  }
  Json entries = Json::array();
  for (const StreamEntryInfo& entry : info.entries) {
    entries.push_back(EntryJson(entry, FormStateValueJson(entry.value)));
  }
  return {{"format", kFormStateFormat},
          {"manifest",
           {{"version", info.version},
            {"formName", TextJson(info.formName)},
            {"scaleMode", info.scaleMode},
            {"controls", std::move(controls)}}},
          {"entries", std::move(entries)}};
}

Json BuildDocument(const host::ByteArray& bytes) {
  const StreamInfo stream = DescribeStream(bytes);
  if (stream.isStream) return StreamDocument(stream);
  const FormStateInfo formState = DescribeFormState(bytes);
  if (formState.isFormState) return FormStateDocument(formState);
  throw std::invalid_argument("not a stream (" + stream.reason + ") nor a form state (" +
                              formState.reason + ")");
}

// ---------------------------------------------------------------------------
// Import.

class Importer {
 public:
  host::ByteArray Document(const JsonAt& root) {
    const JsonAt format = root.Field("format");
    if (format.Text() == kStreamFormat) return Stream(root);
    if (format.Text() == kFormStateFormat) return FormState(root);
    format.Refuse("must be \"" + std::string(kStreamFormat) + "\" or \"" +
                  std::string(kFormStateFormat) + "\"");
  }

  /// The fields for people met on the way, to be checked against the result.
  const std::vector<JsonAt>& ForPeople() const { return forPeople_; }

 private:
  host::ByteArray Stream(const JsonAt& at) {
    at.OnlyFields({"format", "envelope", "entries"});
    if (at.Field("format").Text() != kStreamFormat) {
      at.Field("format").Refuse("must be \"" + std::string(kStreamFormat) + "\"");
    }
    NoteForPeople(at.OptionalField("envelope"));
    const JsonAt entries = at.Field("entries");
    host::ByteArray bytes = Entries(entries, false);
    const StreamInfo info = DescribeStream(bytes);
    if (!info.isStream) entries.Refuse("make no stream: " + info.reason);
    return bytes;
  }

  host::ByteArray FormState(const JsonAt& at) {
    at.OnlyFields({"format", "manifest", "entries"});
    NoteForPeople(at.OptionalField("manifest"));
    const JsonAt entries = at.Field("entries");
    host::ByteArray bytes = Entries(entries, true);
    const FormStateInfo info = DescribeFormState(bytes);
    if (!info.isFormState) entries.Refuse("make no form state: " + info.reason);
    return bytes;
  }

  host::ByteArray Entries(const JsonAt& entries, bool nestsStreams) {
    host::PropertyBag bag;
    std::unordered_map<std::string, std::size_t> firstPlace;
    const std::size_t count = entries.Size();
    for (std::size_t place = 0; place < count; ++place) {
      const JsonAt entry = entries.Element(place);
      entry.OnlyFields({"key", "meaning", "type", "value"});
      const JsonAt keyAt = entry.Field("key");
      std::string key = TextFromJson(keyAt);
      const auto [first, isNew] = firstPlace.emplace(key, place);
      if (!isNew) {
        keyAt.Refuse("the key is given twice, first at " + entries.Path() + "[" +
                     std::to_string(first->second) + "]");
      }
      NoteForPeople(entry.OptionalField("meaning"));
      const JsonAt type = entry.Field("type");
      const JsonAt value = entry.Field("value");
      if (nestsStreams && type.Node() == "Byte()" && value.Node().is_object() &&
          value.Node().contains("stream")) {
        value.OnlyFields({"size", "stream"});
        NoteForPeople(value.OptionalField("size"));
        bag.WriteProperty(key, host::Variant::Bytes(Stream(value.Field("stream"))));
      } else {
        bag.WriteProperty(key, ValueFromJson(type, value, forPeople_));
      }
    }
    return bag.Contents();
  }

  void NoteForPeople(std::optional<JsonAt> field) {
    if (field) forPeople_.push_back(*std::move(field));
  }

  std::vector<JsonAt> forPeople_;
};

// The first place where `given` differs from what the entries give, with
// what they give there (null for a field they do not have).
struct Mismatch {
  std::string path;
  Json expected;
};

std::string Joined(const std::string& path, const std::string& name) { return path + "." + name; }

std::optional<Mismatch> FirstMismatch(const Json& given, const Json& expected,
                                      const std::string& path) {
  if (given == expected) return std::nullopt;
  if (given.is_object() && expected.is_object()) {
    for (const auto& [name, value] : given.items()) {
      const auto found = expected.find(name);
      if (found == expected.end()) return Mismatch{Joined(path, name), nullptr};
      if (auto mismatch = FirstMismatch(value, *found, Joined(path, name))) return mismatch;
    }
    for (const auto& [name, value] : expected.items()) {
      if (!given.contains(name)) return Mismatch{Joined(path, name), value};
    }
  }
  if (given.is_array() && expected.is_array() && given.size() == expected.size()) {
    for (std::size_t i = 0; i < given.size(); ++i) {
      if (auto mismatch =
              FirstMismatch(given[i], expected[i], path + "[" + std::to_string(i) + "]"))
        return mismatch;
    }
  }
  return Mismatch{path, expected};
}

// What the entries give, short enough for one line of a message.
std::string Shown(const Json& value) {
  constexpr std::size_t kLongest = 80;
  if (value.is_null()) return "nothing here";
  std::string text = value.dump(-1, ' ', true, Json::error_handler_t::replace);
  if (text.size() > kLongest) text = text.substr(0, kLongest - 3) + "...";
  return text;
}

void CheckAgrees(const JsonAt& given, const Json& exported) {
  const Json* expected =
      exported.contains(given.Pointer()) ? &exported.at(given.Pointer()) : nullptr;
  const std::optional<Mismatch> mismatch =
      FirstMismatch(given.Node(), expected ? *expected : Json(), given.Path());
  if (mismatch) {
    throw JsonRefusal(mismatch->path,
                      "does not agree with the entries, which give " + Shown(mismatch->expected));
  }
}

}  // namespace

Json ExportDocument(const host::ByteArray& bytes) {
  Json document = BuildDocument(bytes);
  // Values the runtime would hand back changed (none are known) must not be
  // written as if they were exact.
  try {
    if (ImportDocument(document) == bytes) return document;
  } catch (const JsonRefusal& refusal) {
    throw std::invalid_argument(std::string("its text form does not read back: ") + refusal.what());
  }
  throw std::invalid_argument("its text form does not give back the same bytes");
}

host::ByteArray ImportDocument(const Json& document) {
  Importer importer;
  host::ByteArray bytes = importer.Document(JsonAt(document));
  if (!importer.ForPeople().empty()) {
    const Json exported = BuildDocument(bytes);
    for (const JsonAt& given : importer.ForPeople()) CheckAgrees(given, exported);
  }
  return bytes;
}

}  // namespace tavorin::cli
