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

/// Explains each stream or form-state file, as text or as a JSON array.
int RunInspect(const std::vector<std::string>& files, bool json, std::ostream& out,
               std::ostream& err);

/// The entries that differ between two streams; between two form states,
/// the controls, then the entries of each control's stream.
int RunDiff(const std::string& first, const std::string& second, std::ostream& out,
            std::ostream& err);

/// Writes each stream or form-state file as its JSON text form: FILE to
/// FILE.json, beside it or into `folder` ("" for beside).
int RunExport(const std::vector<std::string>& files, const std::string& folder, std::ostream& out,
              std::ostream& err);

/// Turns each JSON text form back into the exact stream or form state:
/// FILE.json to FILE, beside it or into `folder`. A document that is refused
/// gets the path at fault and no file.
int RunImport(const std::vector<std::string>& files, const std::string& folder, std::ostream& out,
              std::ostream& err);

}  // namespace tavorin::cli
