// The form runtime's drive table: which native directory each drive letter
// stands for. The file controls see the file system only through it.
#pragma once

#include <string>

namespace tavorin::host {

/// Maps drive `letter` (a to z, either case) to the native `directory` for the
/// whole process, replacing any earlier mapping of that letter. The directory
/// is remembered as an absolute path, so later changes of the process's
/// working directory do not move the drive.
/// Raises 5 for a letter outside a to z and 76 when `directory` is not an
/// existing directory. By default `c:` is mapped to "/". Thread-safe.
void MapDrive(char letter, const std::string& directory);

/// Removes the mapping of drive `letter`; nothing happens when it is not
/// mapped. Raises 5 for a letter outside a to z. Thread-safe.
void UnmapDrive(char letter);

}  // namespace tavorin::host
