// The file system as the form runtime's file controls see it.
//
// Runtime paths are written the runtime's way: a lower-case drive letter, a
// colon and backslash-separated folder names ("c:\dir\sub"; a drive's root
// is "c:\"). Each drive letter stands for a native directory through the
// process-wide drive table (<tavorin/host/drives.h>). Every failure is a
// RuntimeError: 5 for malformed input, 68 for an unmapped drive, 76 for a
// missing folder, 70 for a refused one and 75 for any other failure of the
// file system.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tavorin::host::detail {

/// `letter` in lower case; raises 5 for a letter outside a to z.
char RequireDriveLetter(char letter);

/// One entry per mapped drive, in letter order: "c:", "d:", ...
std::vector<std::string> DriveEntries();

/// The lower-case drive letter that `drive` names: "c", "c:", "C:\", a list
/// entry of DriveEntries or any path that starts with a drive letter.
/// Raises 5 when it does not start with a letter, 68 when the drive is not
/// mapped.
char DriveLetterOf(const std::string& drive);

/// The native directory that drive `letter` stands for; 5 for a letter
/// outside a to z, 68 when the drive is not mapped.
std::filesystem::path DriveDirectory(char letter);

/// "c:\" for 'c' or 'C'; 5 for a letter outside a to z.
std::string RootOf(char letter);

/// The runtime path a drive starts at. The host keeps no current folder per
/// drive, so this is always the drive's root.
std::string CurrentDirectoryOf(char letter);

/// `path` made absolute in the canonical runtime form. "/" and "\" both
/// separate; "." and ".." are resolved textually and never climb above the
/// drive root. A path without a drive ("sub", "\dir") is taken on the drive
/// of `current`; a drive-relative path ("d:sub") is taken from `current` when
/// `current` is on that drive, else from that drive's root. A `current`
/// without a drive stands on "c:\". Raises 5 for a drive position that holds
/// no letter ("1:\x") and for an embedded NUL. Does not touch the disk.
std::string NormalizePath(const std::string& path, const std::string& current);

/// The native path of a runtime path (normalized against "c:\" first).
/// Raises 68 for an unmapped drive.
std::filesystem::path ToNativePath(const std::string& runtimePath);

/// Raises 76 unless `runtimePath` is an existing directory (symlinks
/// followed), 70 when the system refuses to look, 68 for an unmapped drive.
void RequireDirectory(const std::string& runtimePath);

/// The names of the folders in `runtimePath`, hidden ones included, sorted
/// case-insensitively. A symlink counts as a folder when it leads to one.
/// Names that a runtime path cannot express (holding a backslash) are left
/// out. Raises like RequireDirectory.
std::vector<std::string> SubFolders(const std::string& runtimePath);

/// Which kinds of file a listing shows. On this host a name that begins with
/// a dot is hidden, a file whose owner lacks write permission is read-only
/// (the file's own flag, whoever the process runs as), every other regular
/// file is normal and archive, and no file is a system file.
struct FileAttributeFilter {
  bool archive = true;
  bool hidden = false;
  bool normal = true;
  bool readOnly = true;
  bool system = false;
};

/// Whether a file with these attributes is listed under `filter`: a hidden
/// file only when `hidden` is on, a read-only file only when `readOnly` is
/// on, and a file that is neither only when `normal` or `archive` is on.
bool PassesFilter(bool hidden, bool readOnly, const FileAttributeFilter& filter);

/// The names of the regular files (symlinks followed) in `runtimePath` that
/// match `pattern` and pass `filter`, sorted case-insensitively. Names holding
/// a backslash are left out. Raises like RequireDirectory.
std::vector<std::string> MatchingFiles(const std::string& runtimePath, const std::string& pattern,
                                       const FileAttributeFilter& filter);

/// A file pattern list as the file controls take it: one or more patterns
/// separated by ";" (blanks around each ignored), where "*" stands for any
/// run of characters and "?" for exactly one (a UTF-8 character, not a
/// byte), compared case-insensitively (ASCII letters). A pattern ending in
/// ".*" also matches a name without any dot, so "*.*" matches every name. A
/// list with no pattern in it matches nothing. Matching one name takes time
/// at most proportional to the name's length times the pattern's length.
class FilePattern {
 public:
  explicit FilePattern(const std::string& patterns);
  bool Matches(const std::string& name) const;

 private:
  struct Alternative {
    std::u32string pattern;
    bool dotStarEnding = false;  // also tried without its ".*" on dotless names
  };
  std::vector<Alternative> alternatives_;
};

/// FilePattern(pattern).Matches(name).
bool MatchesPattern(const std::string& name, const std::string& pattern);

}  // namespace tavorin::host::detail
