// Explaining a stream in words: every stored key with what it stands for.
// Catalogued keys are two digits that mean something only within the class
// the stream's flags name; every other key is a fixed short code, or a list
// item key made of a letter and the item's index.
#include <tavorin/stream_info.h>

#include <array>
#include <cstdint>
#include <optional>

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/property_bag.h>

#include "catalogue/control_type.h"
#include "catalogue/defaults_catalogue.h"
#include "classes/item_key.h"
#include "classes/property_set.h"
#include "groups/shared_keys.h"
#include "stream/envelope.h"
#include "stream/stream_flags.h"

namespace tavorin {
namespace {

constexpr std::string_view kUnknownKey = "unknown key";

std::optional<std::string> ItemKeyMeaning(std::string_view key, const detail::PropertySet& set) {
  if (key.empty()) return std::nullopt;
  for (const detail::ItemColumn& column : set.itemColumns) {
    if (key.front() != column.letter) continue;
    if (const std::optional<int> index = detail::ItemIndexOf(key.substr(1))) {
      return "item " + std::to_string(*index) + " " + std::string(column.meaning);
    }
  }
  return std::nullopt;
}

// Shared keys first: every stream may hold them, whatever its class. The
// rest mean something only within the class the stream names.
std::string KeyMeaningText(std::string_view key, const detail::DefaultsCatalogue& catalogue,
                           const detail::PropertySet* set) {
  if (const detail::SharedKey* shared = detail::FindSharedKey(key)) {
    return std::string(shared->meaning);
  }
  if (const detail::CatalogueEntry* entry = catalogue.FindByKey(key)) {
    return std::string(entry->propertyName);
  }
  if (set == nullptr) return std::string(kUnknownKey);
  for (const detail::OwnKey& own : set->ownKeys) {
    if (own.key == key) return std::string(own.meaning);
  }
  if (std::optional<std::string> item = ItemKeyMeaning(key, *set)) return *item;
  return std::string(kUnknownKey);
}

// A stored object whose state no longer loads still has its place in the
// stream; it is shown as Empty rather than dropped.
host::Variant StoredValue(const host::PropertyBag& bag, std::string_view key) {
  try {
    return bag.ReadProperty(key);
  } catch (const host::RuntimeError&) {
    return host::Variant();
  }
}

// Fills in what the flags say; false (with the reason) when they do not make
// the bytes a stream.
bool ReadEnvelope(const host::PropertyBag& bag, StreamInfo& info, std::int32_t& typeCode) {
  const host::Variant stored = StoredValue(bag, detail::kStreamFlagsKey);
  if (stored.IsEmpty()) {
    info.reason = "no stream flags";
    return false;
  }
  std::int32_t flags = 0;
  try {
    flags = host::CLng(stored);
  } catch (const host::RuntimeError&) {
    info.reason = "stream flags are not a number";
    return false;
  }
  const detail::DecodedStreamFlags decoded = detail::DecodeStreamFlags(flags);
  typeCode = decoded.typeCode;
  info.className = std::string(detail::TypeNameFromCode(decoded.typeCode));
  info.requiresDefaults = decoded.customDefaults;
  info.version = decoded.version;
  if (decoded.signature != detail::kStreamSignatureField) {
    info.reason = "wrong signature";
    return false;
  }
  try {
    info.controlName = host::CStr(bag.ReadProperty(detail::kControlNameKey, std::string()));
  } catch (const host::RuntimeError&) {
    info.controlName.clear();  // a name that is no text counts as none
  }
  return true;
}

}  // namespace

StreamInfo DescribeStream(const host::ByteArray& stream) {
  StreamInfo info;
  if (stream.empty()) {
    info.reason = "empty file";
    return info;
  }
  host::PropertyBag bag;
  try {
    bag.SetContents(stream);
  } catch (const host::RuntimeError& error) {
    info.reason = "not a property bag image: " + error.Description();
    return info;
  }
  std::int32_t typeCode = detail::TypeCode(detail::ControlType::Nothing);
  info.isStream = ReadEnvelope(bag, info, typeCode);
  const std::optional<detail::ControlType> type = detail::ControlTypeFromCode(typeCode);
  const detail::DefaultsCatalogue catalogue =
      type ? detail::BuildDefaultsCatalogue(*type) : detail::DefaultsCatalogue();
  const detail::PropertySet* set = type ? detail::FindPropertySet(*type) : nullptr;
  for (const std::string& key : bag.Names()) {
    info.entries.push_back({key, KeyMeaningText(key, catalogue, set), StoredValue(bag, key)});
  }
  return info;
}

std::vector<std::string> CataloguedProperties(std::string_view className) {
  std::vector<std::string> names;
  const std::optional<detail::ControlType> type = detail::ControlTypeFromClassName(className);
  if (!type) return names;
  for (const detail::CatalogueEntry& entry : detail::BuildDefaultsCatalogue(*type)) {
    names.emplace_back(entry.propertyName);
  }
  return names;
}

}  // namespace tavorin
