// `tavorin export`: each stream or form-state file as its JSON text form.
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "file_conversion.h"
#include "stream/stream_file.h"
#include "stream_json.h"

namespace tavorin::cli {

int RunExport(const std::vector<std::string>& files, const std::string& folder, std::ostream& out,
              std::ostream& err) {
  Conversion conversion;
  conversion.maxInputBytes = detail::kMaxStreamFileBytes;
  conversion.outputName = [](const std::string& name) { return name + ".json"; };
  conversion.convert = [](const host::ByteArray& stream) {
    Converted converted;
    try {
      const std::string text = ExportDocument(stream).dump(2) + "\n";
      converted.bytes.assign(text.begin(), text.end());
    } catch (const std::invalid_argument& refusal) {
      converted.refusal = refusal.what();
    }
    return converted;
  };
  return ConvertFiles(files, folder, conversion, out, err);
}

}  // namespace tavorin::cli
