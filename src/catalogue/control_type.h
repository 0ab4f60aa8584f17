// The control classes the component handles, by the type code a stream stores
// for each. The codes reach every stream written, so no value ever changes
// (Shape really does sit between DriveListBox and DirListBox).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavorin::detail {

enum class ControlType : std::int16_t {
  Nothing = 0,  // the Nothing stream: no control at all
  PictureBox = 1,
  Label = 2,
  TextBox = 3,
  Frame = 4,
  CommandButton = 5,
  CheckBox = 6,
  OptionButton = 7,
  ComboBox = 8,
  ListBox = 9,
  HScrollBar = 10,
  VScrollBar = 11,
  Timer = 12,
  DriveListBox = 13,
  Shape = 14,
  DirListBox = 15,
  FileListBox = 16,
  Line = 17,
  Image = 18,
  Data = 19,
};

inline constexpr ControlType kFirstControlType = ControlType::PictureBox;
inline constexpr ControlType kLastControlType = ControlType::Data;

constexpr std::int16_t TypeCode(ControlType type) noexcept {
  return static_cast<std::int16_t>(type);
}

/// The type a stored code names: nullopt for a code outside 0..19.
std::optional<ControlType> ControlTypeFromCode(std::int32_t code) noexcept;

/// The class name of a type ("Nothing" for ControlType::Nothing).
std::string_view ClassNameOf(ControlType type) noexcept;

/// The class name of a stored type code, "Nothing" for 0, and "" for any code
/// that names no class.
std::string_view TypeNameFromCode(std::int32_t code) noexcept;

/// The type of a class name (exact, case-sensitive); nullopt for any other
/// name, "Nothing" included since it names no class.
std::optional<ControlType> ControlTypeFromClassName(std::string_view className) noexcept;

}  // namespace tavorin::detail
