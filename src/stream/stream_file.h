// Stream files: a file that holds exactly the bytes of one stream, nothing
// before or after them. Paths are the platform's own (no drive letters).
#pragma once

#include <cstdint>
#include <string>

#include <tavorin/host/variant.h>

namespace tavorin::detail {

/// The largest file ReadStreamFile loads (1 GiB); a larger one raises
/// 7 "Out of memory" before anything is allocated.
inline constexpr std::uint64_t kMaxStreamFileBytes = std::uint64_t{1} << 30;

/// Replaces the file at `path` by the bytes of `stream`, all or nothing: the
/// bytes go to a new file beside it, which is flushed to disk and renamed
/// over the path, so a failure at any step leaves an older file exactly as it
/// was. The new file keeps the older file's permissions (and owner where
/// allowed), or gets 0666 less the umask. An empty `stream` touches nothing.
///
/// Refusals, each a host RuntimeError: 76 for a folder that does not exist;
/// 75 for a folder, a device or a pipe at the path, and for an empty path;
/// 70 for a file without write permission (a file with no write bit at all
/// counts as read-only even for root) or a folder that refuses new files;
/// 61 when the disk or the process's file size limit is full.
///
/// A path is taken literally: "*" and "?" are ordinary characters and never
/// reach any other file. A symbolic link at the path is replaced by the new
/// file, as deleting and recreating it would.
void WriteStreamFile(const host::ByteArray& stream, const std::string& path);

/// The whole content of the regular file at `path`, read at once into an
/// array allocated once to its length; an empty file gives an empty array.
/// Never creates a file. Refusals: 53 for no file in an existing folder,
/// 76 for a missing folder, 75 for a folder, a device or a pipe at the path,
/// 70 for a file that may not be read, 7 for a file above
/// kMaxStreamFileBytes or one too large to allocate.
host::ByteArray ReadStreamFile(const std::string& path);

}  // namespace tavorin::detail
