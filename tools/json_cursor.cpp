#include "json_cursor.h"

#include <algorithm>
#include <unordered_set>
#include <utility>
#include <vector>

namespace tavorin::cli {
namespace {

std::string Joined(const std::string& path, std::string_view name) {
  return path.empty() ? std::string(name) : path + "." + std::string(name);
}

// Where the parser stands, for the checks nlohmann leaves to its caller: how
// deep, and which fields each open object has given so far.
class ParseWatch {
 public:
  bool operator()(int /*depth*/, Json::parse_event_t event, Json& parsed) {
    switch (event) {
      case Json::parse_event_t::object_start:
      case Json::parse_event_t::array_start:
        if (open_.size() >= kMaxJsonDepth) {
          throw JsonRefusal(Path(),
                            "nested deeper than " + std::to_string(kMaxJsonDepth) + " levels");
        }
        open_.push_back({event == Json::parse_event_t::object_start, {}, {}, 0});
        break;
      case Json::parse_event_t::key:
        open_.back().field = parsed.get<std::string>();
        if (!open_.back().fields.insert(open_.back().field).second) {
          throw JsonRefusal(Path(), "the field is given twice");
        }
        break;
      case Json::parse_event_t::object_end:
      case Json::parse_event_t::array_end:
        open_.pop_back();
        ElementDone();
        break;
      case Json::parse_event_t::value:
        ElementDone();
        break;
    }
    return true;
  }

 private:
  struct Open {
    bool isObject;
    std::unordered_set<std::string> fields;
    std::string field;  // the one being read
    std::size_t index;  // of the element being read
  };

  void ElementDone() {
    if (!open_.empty() && !open_.back().isObject) ++open_.back().index;
  }

  std::string Path() const {
    std::string path;
    for (const Open& open : open_) {
      path =
          open.isObject ? Joined(path, open.field) : path + "[" + std::to_string(open.index) + "]";
    }
    return path;
  }

  std::vector<Open> open_;
};

// nlohmann's message without its "[json.exception.parse_error.101] " prefix.
std::string WithoutPrefix(const char* message) {
  const std::string_view text(message);
  const std::size_t end = text.find("] ");
  return std::string(end == std::string_view::npos ? text : text.substr(end + 2));
}

}  // namespace

JsonRefusal::JsonRefusal(std::string path, const std::string& why)
    : std::runtime_error((path.empty() ? std::string("document") : path) + ": " + why),
      path_(std::move(path)) {}

Json ParseJson(std::string_view text) {
  try {
    return Json::parse(text.begin(), text.end(), ParseWatch());
  } catch (const Json::exception& error) {
    throw JsonRefusal("", "not JSON: " + WithoutPrefix(error.what()));
  }
}

JsonAt::JsonAt(const Json& root) : node_(&root) {}

JsonAt::JsonAt(const Json& node, std::string path, Json::json_pointer pointer)
    : node_(&node), path_(std::move(path)), pointer_(std::move(pointer)) {}

void JsonAt::Refuse(const std::string& why) const { throw JsonRefusal(path_, why); }

std::optional<JsonAt> JsonAt::OptionalField(std::string_view name) const {
  if (!node_->is_object()) Refuse("must be an object");
  const auto found = node_->find(name);
  if (found == node_->end()) return std::nullopt;
  return JsonAt(*found, Joined(path_, name), pointer_ / std::string(name));
}

JsonAt JsonAt::Field(std::string_view name) const {
  std::optional<JsonAt> field = OptionalField(name);
  if (!field) Refuse("the field \"" + std::string(name) + "\" is missing");
  return *std::move(field);
}

void JsonAt::OnlyFields(std::initializer_list<std::string_view> names) const {
  if (!node_->is_object()) Refuse("must be an object");
  for (const auto& [name, value] : node_->items()) {
    if (std::find(names.begin(), names.end(), name) == names.end()) {
      throw JsonRefusal(Joined(path_, name), "no such field here");
    }
  }
}

std::size_t JsonAt::Size() const {
  if (!node_->is_array()) Refuse("must be an array");
  return node_->size();
}

JsonAt JsonAt::Element(std::size_t index) const {
  return JsonAt((*node_)[index], path_ + "[" + std::to_string(index) + "]", pointer_ / index);
}

const std::string& JsonAt::Text() const {
  if (!node_->is_string()) Refuse("must be a string");
  return node_->get_ref<const std::string&>();
}

bool JsonAt::Boolean() const {
  if (!node_->is_boolean()) Refuse("must be true or false");
  return node_->get<bool>();
}

std::int64_t JsonAt::Integer(std::int64_t lowest, std::int64_t highest) const {
  const auto refuse = [&] {
    Refuse("must be a whole number from " + std::to_string(lowest) + " to " +
           std::to_string(highest));
  };
  if (node_->is_number_unsigned()) {
    const auto value = node_->get<std::uint64_t>();
    if (highest < 0 || value > static_cast<std::uint64_t>(highest)) refuse();
    return static_cast<std::int64_t>(value);
  }
  if (!node_->is_number_integer()) refuse();
  const auto value = node_->get<std::int64_t>();
  if (value < lowest || value > highest) refuse();
  return value;
}

}  // namespace tavorin::cli
