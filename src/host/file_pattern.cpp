#include <optional>
#include <string_view>

#include "host/ascii_case.h"
#include "host/file_system.h"

namespace tavorin::host::detail {
namespace {

// Stray bytes that begin no valid UTF-8 sequence become code points of their
// own just past Unicode, where no decoded character lands, so they still
// match only themselves (and "?").
constexpr char32_t kStrayByteBase = 0x110000;

std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead >> 5) == 0x6) return 2;
  if ((lead >> 4) == 0xE) return 3;
  if ((lead >> 3) == 0x1E) return 4;
  return 0;
}

// The code point of the valid UTF-8 sequence of `length` bytes at `text`,
// or nothing when the bytes are no such sequence or decode beyond Unicode.
std::optional<char32_t> DecodeSequence(std::string_view text, std::size_t length) {
  if (length == 0 || length > text.size()) return std::nullopt;
  if (length == 1) return static_cast<unsigned char>(text[0]);
  char32_t point = static_cast<unsigned char>(text[0]) & (0x7Fu >> length);
  for (std::size_t k = 1; k < length; ++k) {
    const auto continuation = static_cast<unsigned char>(text[k]);
    if ((continuation & 0xC0) != 0x80) return std::nullopt;
    point = (point << 6) | (continuation & 0x3Fu);
  }
  if (point >= kStrayByteBase) return std::nullopt;
  return point;
}

// Code points with ASCII letters folded to lower case.
std::u32string FoldedCodePoints(std::string_view text) {
  std::u32string points;
  points.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = SequenceLength(lead);
    const std::optional<char32_t> point = DecodeSequence(text.substr(i), length);
    if (!point) {
      points.push_back(kStrayByteBase + lead);
      ++i;
    } else {
      points.push_back(length == 1 ? static_cast<unsigned char>(FoldAscii(text[i])) : *point);
      i += length;
    }
  }
  return points;
}

// Greedy matching that remembers only the last "*": on a mismatch it lets
// that star swallow one more character and retries. Each retry moves the
// remembered position forward, so the work is bounded by
// name length x pattern length and patterns like "*a*a*a*b" cannot blow up.
bool WildcardMatch(std::u32string_view name, std::u32string_view pattern) {
  constexpr std::size_t kNoStar = std::u32string_view::npos;
  std::size_t n = 0;
  std::size_t p = 0;
  std::size_t star = kNoStar;
  std::size_t resumeAt = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == U'*') {
      star = p++;
      resumeAt = n;
    } else if (star != kNoStar) {
      p = star + 1;
      n = ++resumeAt;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == U'*') ++p;
  return p == pattern.size();
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

FilePattern::FilePattern(const std::string& patterns) {
  std::string_view rest = patterns;
  while (true) {
    const std::size_t split = rest.find(';');
    const std::string_view one = TrimBlanks(rest.substr(0, split));
    if (!one.empty()) {
      const bool dotStar = one.size() >= 2 && one.substr(one.size() - 2) == ".*";
      alternatives_.push_back({FoldedCodePoints(one), dotStar});
    }
    if (split == std::string_view::npos) break;
    rest.remove_prefix(split + 1);
  }
}

bool FilePattern::Matches(const std::string& name) const {
  const std::u32string folded = FoldedCodePoints(name);
  const bool dotless = name.find('.') == std::string::npos;
  for (const Alternative& alternative : alternatives_) {
    const std::u32string_view pattern = alternative.pattern;
    if (WildcardMatch(folded, pattern)) return true;
    if (alternative.dotStarEnding && dotless &&
        WildcardMatch(folded, pattern.substr(0, pattern.size() - 2))) {
      return true;
    }
  }
  return false;
}

bool MatchesPattern(const std::string& name, const std::string& pattern) {
  return FilePattern(pattern).Matches(name);
}

}  // namespace tavorin::host::detail
