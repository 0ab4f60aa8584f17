// The tool's commands. Each writes its report to `out`, its complaints to
// `err`, and returns the process's exit status.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tavorin::cli {

/// Exit statuses shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  ///< a round trip failed, a file is no stream, streams differ
inline constexpr int kExitUsage = 2;   ///< bad arguments, unreadable input

/// Writes a sample control of every class the component handles to
/// `folder`, restores each onto a fresh form and compares the two forms.
int RunDemo(const std::string& folder, std::ostream& out, std::ostream& err);

/// Explains each file, as text or as a JSON array.
int RunInspect(const std::vector<std::string>& files, bool json, std::ostream& out,
               std::ostream& err);

/// The entries that differ between two streams.
int RunDiff(const std::string& first, const std::string& second, std::ostream& out,
            std::ostream& err);

}  // namespace tavorin::cli
