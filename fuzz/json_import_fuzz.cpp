// The import of the text form on arbitrary text: a refusal is an acceptable
// result, a crash is not; and a document it takes must give bytes whose own
// text form imports to the same bytes again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

#include "json_cursor.h"
#include "stream_json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavorin::cli;
  tavorin::host::ByteArray bytes;
  try {
    bytes = ImportDocument(ParseJson(std::string_view(reinterpret_cast<const char*>(data), size)));
  } catch (const JsonRefusal&) {
    return 0;
  }
  try {
    if (ImportDocument(ExportDocument(bytes)) != bytes) std::abort();
  } catch (const std::exception&) {
    std::abort();  // what import made, export must take
  }
  return 0;
}
