#include "stream/stream_file.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <new>
#include <optional>

#include <tavorin/host/error.h>

#include "stream/envelope.h"

namespace tavorin::detail {
namespace {

namespace errors = host::errors;

// How the platform's error codes reach the caller. ENOENT is told apart
// further by whether the folder exists (53 or 76). Anything unlisted is 75.
struct ErrnoMapping {
  int error;
  int hostNumber;
};
constexpr ErrnoMapping kHostErrorsByErrno[] = {
    {ENOENT, errors::kFileNotFound},
    {ENOTDIR, errors::kPathNotFound},
    {ENAMETOOLONG, errors::kPathNotFound},
    {ELOOP, errors::kPathNotFound},
    {EISDIR, errors::kPathFileAccessError},
    {EACCES, errors::kPermissionDenied},
    {EPERM, errors::kPermissionDenied},
    {EROFS, errors::kPermissionDenied},
    {ETXTBSY, errors::kPermissionDenied},
    {EBUSY, errors::kPermissionDenied},
    {ENOSPC, errors::kDiskFull},
    {EDQUOT, errors::kDiskFull},
    {EFBIG, errors::kDiskFull},
    {ENOMEM, errors::kOutOfMemory},
};

// Keeps the temporary name within the platform's 255-byte name limit.
constexpr std::size_t kMaxLeafBytesInTemporaryName = 200;
constexpr int kTemporaryNameAttempts = 100;
constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

[[noreturn]] void RaiseFileError(int error, const std::string& path) {
  if (error == ENOENT && !IsFolder(FolderOf(path))) host::RaiseHostError(errors::kPathNotFound);
  for (const ErrnoMapping& mapping : kHostErrorsByErrno) {
    if (mapping.error == error) host::RaiseHostError(mapping.hostNumber);
  }
  host::RaiseHostError(errors::kPathFileAccessError);
}

// A path the platform would silently shorten (an embedded NUL) or that names
// nothing at all.
void RequireUsablePath(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) {
    host::RaiseHostError(errors::kPathFileAccessError);
  }
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  /// The result of close(2): a failure there can be the first report of a
  /// write that did not reach the disk.
  int Close() {
    if (fd_ < 0) return 0;
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// The file at the path that a write will replace; nullopt when there is none.
// Refuses what must not be replaced.
std::optional<struct stat> FileToReplace(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return std::nullopt;  // a missing folder shows when the file is made
    RaiseFileError(errno, path);
  }
  if (!S_ISREG(info.st_mode)) host::RaiseHostError(errors::kPathFileAccessError);
  // access() grants root every write, so a file whose mode has no write bit
  // is read-only whoever asks.
  if ((info.st_mode & kAnyWriteBit) == 0) host::RaiseHostError(errors::kPermissionDenied);
  if (::access(path.c_str(), W_OK) != 0) RaiseFileError(errno, path);
  return info;
}

// "<folder>/.<name>.<pid>-<serial>.tmp": hidden, beside the target so that
// the rename stays within one file system.
std::string TemporaryName(const std::string& target, unsigned long serial) {
  const std::size_t slash = target.rfind('/');
  const std::size_t leafStart = slash == std::string::npos ? 0 : slash + 1;
  return target.substr(0, leafStart) + "." +
         target.substr(leafStart, kMaxLeafBytesInTemporaryName) + "." + std::to_string(::getpid()) +
         "-" + std::to_string(serial) + ".tmp";
}

// The new content, written beside the file it will replace. Until Commit
// succeeds, destroying it removes it again, so every failure leaves the
// folder as it was.
class ReplacementFile {
 public:
  explicit ReplacementFile(const std::string& target) : target_(target) {
    static std::atomic<unsigned long> nextSerial{0};
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
      path_ = TemporaryName(target, nextSerial++);
      file_ = std::make_unique<FileDescriptor>(
          ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666));
      if (file_->IsOpen()) return;
      if (errno != EEXIST) break;
    }
    const int error = errno;
    file_.reset();
    RaiseFileError(error, target);
  }

  ~ReplacementFile() {
    if (!file_) return;
    file_->Close();
    ::unlink(path_.c_str());
  }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  void TakePermissionsOf(const struct stat& original) {
    if (::fchown(file_->get(), original.st_uid, original.st_gid) != 0) {
      // Only root may hand a file to another owner; anyone else keeps theirs.
    }
    if (::fchmod(file_->get(), original.st_mode & kPermissionBits) != 0) Fail();
  }

  void Write(const host::ByteArray& bytes) {
    // Writing past the process's file-size limit does not fail: the process
    // is killed (SIGXFSZ). Refuse what cannot fit before the first byte.
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
        bytes.size() > limit.rlim_cur) {
      host::RaiseHostError(errors::kDiskFull);
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t result = ::write(file_->get(), bytes.data() + written, bytes.size() - written);
      if (result < 0 && errno == EINTR) continue;
      if (result < 0) Fail();
      if (result == 0) host::RaiseHostError(errors::kDiskFull);
      written += static_cast<std::size_t>(result);
    }
  }

  /// Puts the new file in place of the target. Only after this is the old
  /// content gone, and the new one is on disk by then.
  void Commit() {
    if (::fsync(file_->get()) != 0) Fail();
    if (file_->Close() != 0) Fail();
    if (::rename(path_.c_str(), target_.c_str()) != 0) Fail();
    file_.reset();
    SyncFolder();
  }

 private:
  [[noreturn]] void Fail() const { RaiseFileError(errno, target_); }

  // Makes the rename itself durable. The new file is already in place, so a
  // failure here has nothing left to undo and is not reported.
  void SyncFolder() const {
    const FileDescriptor folder(
        ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.IsOpen() && ::fsync(folder.get()) != 0) {
      // See above: nothing to undo.
    }
  }

  std::string target_;
  std::string path_;
  std::unique_ptr<FileDescriptor> file_;  // empty once committed
};

// Reads into bytes[done..size); the number of bytes read, fewer only at the
// end of the file.
std::size_t ReadInto(int fd, host::ByteArray& bytes, std::size_t done, const std::string& path) {
  while (done < bytes.size()) {
    const ssize_t result = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (result < 0 && errno == EINTR) continue;
    if (result < 0) RaiseFileError(errno, path);
    if (result == 0) break;
    done += static_cast<std::size_t>(result);
  }
  return done;
}

void Resize(host::ByteArray& bytes, std::size_t size) {
  if (size > kMaxStreamFileBytes) host::RaiseHostError(errors::kOutOfMemory);
  try {
    bytes.resize(size);
  } catch (const std::bad_alloc&) {
    host::RaiseHostError(errors::kOutOfMemory);
  }
}

// Files whose length the system does not know ahead (those of /proc report
// 0) are read in growing steps until their end, within the same limit.
constexpr std::size_t kFirstUnknownLengthStep = 64 * 1024;

}  // namespace

void WriteStreamFile(const host::ByteArray& stream, const std::string& path) {
  if (IsEmptyArray(stream)) return;
  RequireUsablePath(path);
  const std::optional<struct stat> original = FileToReplace(path);
  ReplacementFile replacement(path);
  if (original) replacement.TakePermissionsOf(*original);
  replacement.Write(stream);
  replacement.Commit();
}

host::ByteArray ReadStreamFile(const std::string& path) {
  RequireUsablePath(path);
  // O_NONBLOCK: opening a pipe must not wait for a writer; it changes
  // nothing for a regular file.
  const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!file.IsOpen()) RaiseFileError(errno, path);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) RaiseFileError(errno, path);
  if (!S_ISREG(info.st_mode)) host::RaiseHostError(errors::kPathFileAccessError);
  if (static_cast<std::uint64_t>(info.st_size) > kMaxStreamFileBytes) {
    host::RaiseHostError(errors::kOutOfMemory);
  }
  host::ByteArray bytes;
  const auto reported = static_cast<std::size_t>(info.st_size);
  Resize(bytes, reported);
  std::size_t done = ReadInto(file.get(), bytes, 0, path);
  // The file shrank since its length was taken: a partial array would pass
  // for the whole stream.
  if (done < reported) host::RaiseHostError(errors::kPathFileAccessError);
  if (reported == 0) {
    // Growing past the limit raises in Resize, so the loop ends.
    for (std::size_t step = kFirstUnknownLengthStep; done == bytes.size(); step *= 2) {
      Resize(bytes, std::min(done + step, kMaxStreamFileBytes + 1));
      done = ReadInto(file.get(), bytes, done, path);
    }
    bytes.resize(done);
  }
  return bytes;
}

}  // namespace tavorin::detail
