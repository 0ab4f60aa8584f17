// `tavorin import`: the JSON text form of a stream or form state back into
// its exact bytes.
#include <cstdint>
#include <string_view>

#include "commands.h"
#include "file_conversion.h"
#include "json_cursor.h"
#include "stream_json.h"

namespace tavorin::cli {
namespace {

// Parsed, a document takes several times its size in memory; the text of
// the largest picture a stream can hold fits well within this.
constexpr std::uint64_t kMaxDocumentBytes = std::uint64_t{256} << 20;
constexpr std::string_view kSuffix = ".json";

}  // namespace

int RunImport(const std::vector<std::string>& files, const std::string& folder, std::ostream& out,
              std::ostream& err) {
  Conversion conversion;
  conversion.maxInputBytes = kMaxDocumentBytes;
  conversion.outputName = [](const std::string& name) -> std::optional<std::string> {
    if (name.size() <= kSuffix.size() || !name.ends_with(kSuffix)) return std::nullopt;
    return name.substr(0, name.size() - kSuffix.size());
  };
  conversion.outputNameRule = "the name must end in .json: the stream goes to the name without it";
  conversion.convert = [](const host::ByteArray& text) {
    Converted converted;
    try {
      converted.bytes = ImportDocument(
          ParseJson(std::string_view(reinterpret_cast<const char*>(text.data()), text.size())));
    } catch (const JsonRefusal& refusal) {
      converted.refusal = refusal.what();
    }
    return converted;
  };
  return ConvertFiles(files, folder, conversion, out, err);
}

}  // namespace tavorin::cli
