// The key of one column of one list item: the column's letter followed by the
// item's index in plain decimal, with no sign and no leading zero ("I0",
// "D12", "S32766"). A list of 32,767 items stores about 100,000 of them, so
// a key is built on the stack rather than as a string of its own.
#pragma once

#include <array>
#include <charconv>
#include <optional>
#include <string_view>

#include <tavorin/host/lists.h>

namespace tavorin::detail {

/// The keys of one item: its index is written once, each column's letter
/// put in front of it in turn.
class ItemKey {
 public:
  explicit ItemKey(int index) {
    const auto end = std::to_chars(text_.data() + 1, text_.data() + text_.size(), index).ptr;
    size_ = static_cast<std::size_t>(end - text_.data());
  }

  /// The key of the item's column `letter`; valid until the next call.
  std::string_view For(char letter) {
    text_[0] = letter;
    return {text_.data(), size_};
  }

 private:
  // A letter, a sign and the ten digits of any int.
  std::array<char, 12> text_{};
  std::size_t size_ = 0;
};

/// The item index that `digits` (a key without its letter) names: digits
/// only, no sign, no leading zero but "0" itself, within a list's bounds.
inline std::optional<int> ItemIndexOf(std::string_view digits) {
  if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) return std::nullopt;
  int index = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  if (index < 0 || index >= host::ListControl::kMaxItems) return std::nullopt;
  return index;
}

}  // namespace tavorin::detail
