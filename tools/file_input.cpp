#include "file_input.h"

#include <filesystem>
#include <system_error>

namespace tavorin::cli {

FileBytes ReadFileBytes(const std::string& path) {
  // The component reports a folder as a path/file access error; say plainly.
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) return {std::nullopt, "is a folder"};
  try {
    return {Tavorin().StreamFromFile(path), ""};
  } catch (const host::RuntimeError& error) {
    return {std::nullopt, error.Description()};
  }
}

}  // namespace tavorin::cli
