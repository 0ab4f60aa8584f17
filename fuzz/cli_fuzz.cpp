// The tool's inspect (text and JSON) and diff on two arbitrary files, run as
// the tool runs them: nothing may escape, the JSON must parse, a stream must
// equal itself, and the text report must stay in proportion to the file.
//
// Input: one byte that says where the first file ends, then both files.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include <tavorin/tavorin.h>

#include "commands.h"

namespace {

// Room for the header, the column padding of every row and the widest
// escaping of every byte; a report past it grows faster than its input.
constexpr std::size_t kReportBytesPerInputByte = 200;
constexpr std::size_t kReportBytesAtLeast = 4096;

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "cli-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    return std::filesystem::path(pattern);
  }();
  return folder;
}

std::string Written(const char* name, const std::uint8_t* data, std::size_t size) {
  const std::string path = (Folder() / name).string();
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavorin::cli;
  if (size == 0) return 0;
  const std::size_t firstSize = (size - 1) * data[0] / 255;
  const std::string a = Written("a", data + 1, firstSize);
  const std::string b = Written("b", data + 1 + firstSize, size - 1 - firstSize);

  std::ostringstream text, complaints;
  RunInspect({a}, false, text, complaints);
  if (text.str().size() + complaints.str().size() >
      kReportBytesAtLeast + kReportBytesPerInputByte * firstSize) {
    std::abort();
  }
  std::ostringstream json;
  RunInspect({a, b}, true, json, complaints);
  const nlohmann::json reports = nlohmann::json::parse(json.str());  // throws: a finding
  if (!reports.is_array() || reports.size() != 2) std::abort();

  std::ostringstream differences;
  const int itself = RunDiff(a, a, differences, complaints);
  if (reports[0]["isStream"] == true && itself != kExitOk) std::abort();
  RunDiff(a, b, differences, complaints);
  return 0;
}
