// Explaining a stream in words: every stored key with what it stands for.
// Catalogued keys are two digits that mean something only within the class
// the stream's flags name; every other key is a fixed short code, or a list
// item key made of a letter and the item's index.
#include <tavorin/stream_info.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <exception>
#include <optional>

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/property_bag.h>

#include "catalogue/defaults_catalogue.h"
#include "component/identification.h"
#include "stream/envelope.h"
#include "stream/stream_flags.h"

namespace tavorin {
namespace {

struct KeyMeaning {
  std::string_view key;
  std::string_view meaning;
};

// Every fixed key any stream may hold, besides the catalogued two-digit keys.
constexpr std::array<KeyMeaning, 25> kFixedKeys{{
    {detail::kStreamFlagsKey, "stream flags"},
    {detail::kControlNameKey, "control name"},
    {"CnS", "container scale mode"},
    {"CnN", "container name"},
    {"CnI", "container index"},
    {"TbI", "tab index"},
    {"DIc", "drag icon"},
    {"MIc", "mouse icon"},
    {"DsN", "data source name"},
    {"DsI", "data source index"},
    {"DtF", "data format"},
    {"DtM", "data member"},
    {"DFd", "data field"},
    {"DtC", "data changed"},
    {"SS", "selection start"},
    {"SL", "selection length"},
    {"Tx", "text"},
    {"Pc", "picture"},
    {"DoP", "down picture"},
    {"DiP", "disabled picture"},
    {"BCL", "list count"},
    {"LIn", "list index"},
    {"TIn", "top index"},
    {"NIn", "new index"},
    {"TPZ", "record position"},
}};

constexpr std::int32_t kComboBoxTypeCode = 8;
constexpr std::int32_t kListBoxTypeCode = 9;

// Item keys: the letter, then the item's index in plain decimal. Only the
// list classes store items, and only a ListBox stores their selection.
struct ItemKey {
  char letter;
  std::string_view what;
  bool listBoxOnly;
};

constexpr std::array<ItemKey, 3> kItemKeys{{
    {'I', "text", false},
    {'D', "data", false},
    {'S', "selected", true},
}};

// A list holds at most this many items, so no item index is larger.
constexpr int kLastItemIndex = 32766;

constexpr std::string_view kUnknownKey = "unknown key";

// The item index written after the letter: digits only, no sign, no leading
// zero (but "0" itself), within the list's bounds.
std::optional<int> ItemIndex(std::string_view digits) {
  if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) return std::nullopt;
  int index = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (index < 0 || index > kLastItemIndex) return std::nullopt;
  return index;
}

std::optional<std::string> ItemKeyMeaning(std::string_view key, std::int32_t typeCode) {
  if (typeCode != kComboBoxTypeCode && typeCode != kListBoxTypeCode) return std::nullopt;
  if (key.empty()) return std::nullopt;
  for (const ItemKey& item : kItemKeys) {
    if (key.front() != item.letter || (item.listBoxOnly && typeCode != kListBoxTypeCode)) {
      continue;
    }
    if (const std::optional<int> index = ItemIndex(key.substr(1))) {
      return "item " + std::to_string(*index) + " " + std::string(item.what);
    }
  }
  return std::nullopt;
}

std::string KeyMeaningText(std::string_view key, const detail::DefaultsCatalogue& catalogue,
                           std::int32_t typeCode) {
  for (const KeyMeaning& fixed : kFixedKeys) {
    if (fixed.key == key) return std::string(fixed.meaning);
  }
  if (const detail::CatalogueEntry* entry = catalogue.FindByKey(key)) {
    return std::string(entry->propertyName);
  }
  if (std::optional<std::string> item = ItemKeyMeaning(key, typeCode)) return *item;
  return std::string(kUnknownKey);
}

// A stored object whose state no longer loads still has its place in the
// stream; it is shown as Empty rather than dropped.
host::Variant StoredValue(const host::PropertyBag& bag, const std::string& key) {
  try {
    return bag.ReadProperty(key);
  } catch (const std::exception&) {
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
  } catch (const std::exception&) {
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
  } catch (const std::exception&) {
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
  try {
    host::PropertyBag bag;
    try {
      bag.SetContents(stream);
    } catch (const host::RuntimeError& error) {
      info.reason = "not a property bag image: " + error.Description();
      return info;
    }
    std::int32_t typeCode = detail::kNothingTypeCode;
    info.isStream = ReadEnvelope(bag, info, typeCode);
    const detail::DefaultsCatalogue catalogue =
        detail::BuildDefaultsCatalogue(static_cast<std::int16_t>(typeCode));
    for (const std::string& key : bag.Names()) {
      info.entries.push_back({key, KeyMeaningText(key, catalogue, typeCode), StoredValue(bag, key)});
    }
  } catch (const std::exception& error) {
    // Only exhaustion gets here (the bag checks its lengths against the input).
    info = StreamInfo{};
    info.reason = std::string("cannot be read: ") + error.what();
  }
  return info;
}

std::vector<std::string> CataloguedProperties(std::string_view className) {
  std::vector<std::string> names;
  const std::optional<std::int32_t> typeCode = detail::TypeCodeFromClassName(className);
  if (!typeCode) return names;
  for (const detail::CatalogueEntry& entry :
       detail::BuildDefaultsCatalogue(static_cast<std::int16_t>(*typeCode))) {
    names.emplace_back(entry.propertyName);
  }
  return names;
}

}  // namespace tavorin
