// Turning each of a list of files into another file, beside it or in a
// folder: what export and import share. An input that is refused leaves no
// output behind, and an output is written whole or not at all.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <tavorin/tavorin.h>

namespace tavorin::cli {

/// What a conversion made of one input: the output's bytes, or why none.
struct Converted {
  host::ByteArray bytes;
  /// Non-empty when the input was refused.
  std::string refusal;
};

struct Conversion {
  /// Larger inputs are refused before they are read.
  std::uint64_t maxInputBytes = 0;
  /// The output's file name for an input's file name; nullopt when it has
  /// none, for the reason in `outputNameRule`.
  std::function<std::optional<std::string>(const std::string& inputName)> outputName;
  std::string outputNameRule;
  std::function<Converted(const host::ByteArray& input)> convert;
};

/// Converts each file, reporting "IN -> OUT" on `out` and every problem on
/// `err`. `folder` ("" for beside each input) is created when missing.
/// Returns kExitUsage when an input cannot be read or an output written,
/// else kExitFailed when an input was refused, else kExitOk.
int ConvertFiles(const std::vector<std::string>& files, const std::string& folder,
                 const Conversion& conversion, std::ostream& out, std::ostream& err);

}  // namespace tavorin::cli
