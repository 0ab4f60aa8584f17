#include <tavorin/host/drives.h>

#include <array>
#include <mutex>
#include <optional>
#include <system_error>

#include <tavorin/host/error.h>

#include "host/ascii_case.h"
#include "host/file_system.h"

namespace tavorin::host {
namespace {

constexpr int kLetterCount = 26;

// One slot per letter, guarded by one mutex: the table is tiny and changed
// rarely, while the file controls read it on every path they resolve.
struct DriveTable {
  std::mutex mutex;
  std::array<std::optional<std::filesystem::path>, kLetterCount> directories;

  DriveTable() { directories['c' - 'a'] = std::filesystem::path("/"); }
};

DriveTable& Table() {
  static DriveTable table;
  return table;
}

std::size_t SlotOf(char letter) {
  return static_cast<std::size_t>(detail::RequireDriveLetter(letter) - 'a');
}

}  // namespace

void MapDrive(char letter, const std::string& directory) {
  const std::size_t slot = SlotOf(letter);
  std::error_code error;
  if (directory.empty() || directory.find('\0') != std::string::npos ||
      !std::filesystem::is_directory(directory, error)) {
    RaiseHostError(errors::kPathNotFound);
  }
  std::filesystem::path absolute = std::filesystem::absolute(directory, error);
  if (error) RaiseHostError(errors::kPathNotFound);
  DriveTable& table = Table();
  const std::lock_guard lock(table.mutex);
  table.directories[slot] = absolute.lexically_normal();
}

void UnmapDrive(char letter) {
  const std::size_t slot = SlotOf(letter);
  DriveTable& table = Table();
  const std::lock_guard lock(table.mutex);
  table.directories[slot].reset();
}

namespace detail {

char RequireDriveLetter(char letter) {
  const char lowered = FoldAscii(letter);
  if (lowered < 'a' || lowered > 'z') RaiseHostError(errors::kInvalidProcedureCall);
  return lowered;
}

std::vector<std::string> DriveEntries() {
  DriveTable& table = Table();
  const std::lock_guard lock(table.mutex);
  std::vector<std::string> entries;
  for (std::size_t slot = 0; slot < table.directories.size(); ++slot) {
    if (table.directories[slot]) {
      entries.push_back(std::string{static_cast<char>('a' + slot), ':'});
    }
  }
  return entries;
}

std::filesystem::path DriveDirectory(char letter) {
  const std::size_t slot = SlotOf(letter);
  DriveTable& table = Table();
  const std::lock_guard lock(table.mutex);
  if (!table.directories[slot]) RaiseHostError(errors::kDeviceUnavailable);
  return *table.directories[slot];
}

char DriveLetterOf(const std::string& drive) {
  if (drive.empty() || (drive.size() > 1 && drive[1] != ':')) {
    RaiseHostError(errors::kInvalidProcedureCall);
  }
  const char letter = RequireDriveLetter(drive.front());
  DriveDirectory(letter);  // raises 68 when the drive is not mapped
  return letter;
}

std::string RootOf(char letter) { return std::string{RequireDriveLetter(letter), ':', '\\'}; }

std::string CurrentDirectoryOf(char letter) { return RootOf(letter); }

}  // namespace detail
}  // namespace tavorin::host
