// Reading an untrusted JSON document field by field, every refusal naming the
// path at fault ("entries[3].value").
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace tavorin::cli {

/// Documents keep their fields in the order written, so that the text form
/// reads in the order a person expects.
using Json = nlohmann::ordered_json;

/// Why a document was refused, and where.
class JsonRefusal : public std::runtime_error {
 public:
  JsonRefusal(std::string path, const std::string& why);
  /// "entries[3].value"; "" for the document as a whole.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

/// The deepest nesting ParseJson accepts: the text form of a form state
/// needs nine levels (a name as base64 in a data format in a nested stream).
inline constexpr std::size_t kMaxJsonDepth = 16;

/// The document in `text`. Refuses text that is no JSON (with the line and
/// column), nests deeper than kMaxJsonDepth, or gives a field of an object
/// twice; never recurses with the depth of the input.
Json ParseJson(std::string_view text);

/// A node of a parsed document with its path from the root. It refers to the
/// document, which must outlive it.
class JsonAt {
 public:
  explicit JsonAt(const Json& root);

  const Json& Node() const { return *node_; }
  const std::string& Path() const { return path_; }
  /// The same place as a JSON pointer, to find it in another document.
  const Json::json_pointer& Pointer() const { return pointer_; }

  [[noreturn]] void Refuse(const std::string& why) const;

  /// The field `name` of an object; refuses a node that is no object and an
  /// object without it.
  JsonAt Field(std::string_view name) const;
  std::optional<JsonAt> OptionalField(std::string_view name) const;
  /// Refuses an object holding a field not in `names`.
  void OnlyFields(std::initializer_list<std::string_view> names) const;

  /// The number of elements of an array; refuses any other node.
  std::size_t Size() const;
  JsonAt Element(std::size_t index) const;

  /// The node as a JSON string, Boolean, or whole number within the bounds.
  const std::string& Text() const;
  bool Boolean() const;
  std::int64_t Integer(std::int64_t lowest, std::int64_t highest) const;

 private:
  JsonAt(const Json& node, std::string path, Json::json_pointer pointer);

  const Json* node_;
  std::string path_;
  Json::json_pointer pointer_;
};

}  // namespace tavorin::cli
