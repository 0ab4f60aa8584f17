#include "host/file_system.h"

#include <algorithm>
#include <string_view>
#include <system_error>

#include <tavorin/host/error.h>

#include "host/ascii_case.h"

namespace tavorin::host::detail {
namespace {

namespace fs = std::filesystem;

// A runtime path taken apart: the drive and the folders below its root.
struct RuntimePath {
  char drive = 'c';
  std::vector<std::string> folders;
};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Applies the names of `text` one by one to `folders`. ".." at the root stays
// at the root, so no path text can reach above the drive's directory.
void WalkFolders(std::string_view text, std::vector<std::string>& folders) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = start;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    const std::string_view name = text.substr(start, end - start);
    if (name == "..") {
      if (!folders.empty()) folders.pop_back();
    } else if (!name.empty() && name != ".") {
      folders.emplace_back(name);
    }
    start = end + 1;
  }
}

RuntimePath ParsePath(std::string_view text, const RuntimePath& base) {
  if (text.find('\0') != std::string_view::npos) {
    RaiseHostError(errors::kInvalidProcedureCall);
  }
  RuntimePath result = base;
  if (text.size() >= 2 && text[1] == ':') {
    const char drive = RequireDriveLetter(text[0]);
    if (drive != base.drive) result = RuntimePath{drive, {}};
    text.remove_prefix(2);
  }
  if (!text.empty() && IsSeparator(text.front())) result.folders.clear();
  WalkFolders(text, result.folders);
  return result;
}

std::string FormatPath(const RuntimePath& path) {
  std::string text = RootOf(path.drive);
  for (std::size_t i = 0; i < path.folders.size(); ++i) {
    if (i > 0) text += '\\';
    text += path.folders[i];
  }
  return text;
}

[[noreturn]] void RaiseFileSystemError(const std::error_code& error) {
  if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory ||
      error == std::errc::too_many_symbolic_link_levels || error == std::errc::filename_too_long) {
    RaiseHostError(errors::kPathNotFound);
  }
  if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted) {
    RaiseHostError(errors::kPermissionDenied);
  }
  RaiseHostError(errors::kPathFileAccessError);
}

// Names of the entries of a directory that `keep(name, status)` accepts,
// sorted for display. `status` follows symlinks; an entry whose status cannot
// be read (a dangling or looping link) is never kept.
template <typename Keep>
std::vector<std::string> ListDirectory(const std::string& runtimePath, Keep keep) {
  RequireDirectory(runtimePath);
  std::error_code error;
  fs::directory_iterator entry(ToNativePath(runtimePath), error);
  std::vector<std::string> names;
  for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
    std::string name = entry->path().filename().string();
    if (name.find('\\') != std::string::npos) continue;
    std::error_code statusError;
    const fs::file_status status = entry->status(statusError);
    if (!statusError && keep(name, status)) names.push_back(std::move(name));
  }
  if (error) RaiseFileSystemError(error);
  std::sort(names.begin(), names.end(), LessIgnoringCase);
  return names;
}

}  // namespace

std::string NormalizePath(const std::string& path, const std::string& current) {
  return FormatPath(ParsePath(path, ParsePath(current, RuntimePath{})));
}

fs::path ToNativePath(const std::string& runtimePath) {
  const RuntimePath parsed = ParsePath(runtimePath, RuntimePath{});
  fs::path native = DriveDirectory(parsed.drive);
  for (const std::string& folder : parsed.folders) native /= folder;
  return native;
}

void RequireDirectory(const std::string& runtimePath) {
  std::error_code error;
  const fs::file_status status = fs::status(ToNativePath(runtimePath), error);
  if (fs::is_directory(status)) return;
  if (error) RaiseFileSystemError(error);
  RaiseHostError(errors::kPathNotFound);
}

std::vector<std::string> SubFolders(const std::string& runtimePath) {
  return ListDirectory(runtimePath, [](const std::string&, const fs::file_status& status) {
    return fs::is_directory(status);
  });
}

bool PassesFilter(bool hidden, bool readOnly, const FileAttributeFilter& filter) {
  if (hidden && !filter.hidden) return false;
  if (readOnly && !filter.readOnly) return false;
  return hidden || readOnly || filter.normal || filter.archive;
}

std::vector<std::string> MatchingFiles(const std::string& runtimePath, const std::string& pattern,
                                       const FileAttributeFilter& filter) {
  const FilePattern matcher(pattern);
  return ListDirectory(runtimePath, [&](const std::string& name, const fs::file_status& status) {
    if (!fs::is_regular_file(status) || !matcher.Matches(name)) return false;
    const bool hidden = name.front() == '.';
    const bool readOnly = (status.permissions() & fs::perms::owner_write) == fs::perms::none;
    return PassesFilter(hidden, readOnly, filter);
  });
}

}  // namespace tavorin::host::detail
