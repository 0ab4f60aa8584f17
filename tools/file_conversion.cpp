#include "file_conversion.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "commands.h"
#include "file_input.h"
#include "value_text.h"

namespace tavorin::cli {
namespace {

namespace fs = std::filesystem;

// The exit status of one file; `err` has heard why when it is not kExitOk.
int ConvertFile(const std::string& file, const std::string& folder, const Conversion& conversion,
                std::ostream& out, std::ostream& err) {
  const std::string shown = PlainForTerminal(file);
  const std::optional<std::string> name = conversion.outputName(fs::path(file).filename());
  if (!name) {
    err << shown << ": " << conversion.outputNameRule << "\n";
    return kExitUsage;
  }
  std::error_code ignored;
  const std::uintmax_t size = fs::file_size(file, ignored);
  if (!ignored && size > conversion.maxInputBytes) {
    err << shown << ": cannot be read: larger than " << conversion.maxInputBytes << " bytes\n";
    return kExitUsage;
  }
  const FileBytes input = ReadFileBytes(file);
  if (!input.bytes) {
    err << shown << ": cannot be read: " << MessageForTerminal(input.problem) << "\n";
    return kExitUsage;
  }
  const Converted converted = conversion.convert(*input.bytes);
  if (!converted.refusal.empty()) {
    err << shown << ": " << MessageForTerminal(converted.refusal) << "\n";
    return kExitFailed;
  }
  const std::string target =
      ((folder.empty() ? fs::path(file).parent_path() : fs::path(folder)) / *name).string();
  try {
    Tavorin().StreamToFile(converted.bytes, target);
  } catch (const host::RuntimeError& error) {
    err << PlainForTerminal(target)
        << ": cannot be written: " << MessageForTerminal(error.Description()) << "\n";
    return kExitUsage;
  }
  out << shown << " -> " << PlainForTerminal(target) << "\n";
  return kExitOk;
}

}  // namespace

int ConvertFiles(const std::vector<std::string>& files, const std::string& folder,
                 const Conversion& conversion, std::ostream& out, std::ostream& err) {
  if (!folder.empty()) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
      err << PlainForTerminal(folder)
          << ": cannot create the folder: " << MessageForTerminal(error.message()) << "\n";
      return kExitUsage;
    }
  }
  int status = kExitOk;
  for (const std::string& file : files) {
    status = std::max(status, ConvertFile(file, folder, conversion, out, err));
  }
  return status;
}

}  // namespace tavorin::cli
