// Reading the files the commands are given, with a one-line reason for every
// file that cannot be read.
#pragma once

#include <optional>
#include <string>

#include <tavorin/tavorin.h>

namespace tavorin::cli {

struct FileBytes {
  /// The file's bytes; nullopt when it could not be read.
  std::optional<host::ByteArray> bytes;
  /// Why it could not be read ("no such file", "is a folder", ...).
  std::string problem;
};

FileBytes ReadFileBytes(const std::string& path);

}  // namespace tavorin::cli
