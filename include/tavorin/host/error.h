// RuntimeError: the one exception type of the host runtime and the component.
#pragma once

#include <stdexcept>
#include <string>

namespace tavorin::host {

/// A numbered run-time error. `what()` is the description.
///
/// The one error policy of the host and the component: a RuntimeError is an
/// expected failure (bytes that are no image, a missing file, a value out of
/// range). The steps that are best effort skip it, and the queries that never
/// raise turn it into false or "". Anything else thrown (std::bad_alloc, a
/// std::logic_error) is no such answer: nothing catches it on the way, and it
/// reaches the application. An allocation whose size comes from outside, such
/// as a file's length, is the exception: its failure is expected, and raised
/// as 7 "Out of memory".
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, std::string description, std::string source = {},
               std::string helpFile = {}, int helpContext = 0);

  int Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }
  const std::string& Source() const noexcept { return source_; }
  const std::string& HelpFile() const noexcept { return help_file_; }
  int HelpContext() const noexcept { return help_context_; }

 private:
  int number_;
  std::string description_;
  std::string source_;
  std::string help_file_;
  int help_context_;
};

/// The host's own error numbers.
namespace errors {
inline constexpr int kInvalidProcedureCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDiskFull = 61;
inline constexpr int kDeviceUnavailable = 68;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccessError = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kObjectNotSet = 91;
inline constexpr int kInvalidUseOfNull = 94;
inline constexpr int kInvalidFileFormat = 321;
inline constexpr int kObjectNotAnArray = 343;
inline constexpr int kInvalidPropertyValue = 380;
inline constexpr int kInvalidPropertyArrayIndex = 381;
inline constexpr int kPropertyReadOnly = 383;
inline constexpr int kNoSuchMember = 438;
inline constexpr int kInvalidPicture = 481;
inline constexpr int kUnableToBind = 545;
inline constexpr int kInvalidArgument = 3001;
inline constexpr int kNoCurrentRecord = 3021;
inline constexpr int kCouldNotFindFile = 3024;
inline constexpr int kCannotFindInputTable = 3078;
inline constexpr int kItemNotFound = 3265;
}  // namespace errors

/// The runtime's description of a host error number ("Overflow" for 6);
/// "Application-defined or object-defined error" for numbers it does not know.
std::string HostErrorDescription(int number);

/// Raises the host error `number` with its standard description.
[[noreturn]] void RaiseHostError(int number);

}  // namespace tavorin::host
