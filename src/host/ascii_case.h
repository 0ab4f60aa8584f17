// Case-insensitive text helpers with the runtime's habit: only the ASCII
// letters fold, every other byte compares as itself, so the result never
// depends on the process's locale.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace tavorin::host::detail {

inline char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string ToLowerAscii(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(), FoldAscii);
  return lowered;
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

/// Orders case-insensitively, and names that differ only in case by their
/// bytes, so that a listing never depends on the order the system returned.
inline bool LessIgnoringCase(const std::string& a, const std::string& b) {
  const std::string foldedA = ToLowerAscii(a);
  const std::string foldedB = ToLowerAscii(b);
  return foldedA != foldedB ? foldedA < foldedB : a < b;
}

}  // namespace tavorin::host::detail
