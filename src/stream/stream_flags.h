// The stream flags: the one Long under the envelope key "@SF#" that marks a
// bag image as a control stream and names the control's class.
//
//   bits 0..3    version            (written as 1)
//   bits 4..7    signature          (written as 3, so the low byte is 0x31)
//   bit  8       custom-defaults    (1: written against a custom defaults stream)
//   bits 9..23   reserved           (0)
//   bits 24..31  control type code  (0 in the Nothing stream)
//
// These positions reach every stored stream and never change.
#pragma once

#include <cstdint>
#include <optional>

#include "catalogue/control_type.h"

namespace tavorin::detail {

/// The version every writer stores.
inline constexpr std::int32_t kStreamVersion = 1;
/// The signature field as it stands in the flags (3 shifted into bits 4..7);
/// a stream is valid exactly when its signature field equals this.
inline constexpr std::int32_t kStreamSignatureField = 0x30;

/// The arguments of EncodeStreamFlags; each one left out keeps the field of
/// `baseWord` (itself 0 when left out).
struct StreamFlagFields {
  std::optional<std::int32_t> baseWord = std::nullopt;
  /// Or-ed into the result as given, not masked to bits 0..3.
  std::optional<std::int32_t> version = std::nullopt;
  /// Or-ed into the result as given (0x30 for signature 3).
  std::optional<std::int32_t> signature = std::nullopt;
  std::optional<bool> customDefaults = std::nullopt;
  /// Shifted into bits 24..31; bits above 31 fall off.
  std::optional<std::int32_t> typeCode = std::nullopt;
};

/// The four fields of a flags Long.
struct DecodedStreamFlags {
  std::int32_t version = 0;     ///< flags & 0x0F
  std::int32_t signature = 0;   ///< flags & 0xF0 (0x30 for a valid stream)
  bool customDefaults = false;  ///< bit 8
  std::int32_t typeCode = 0;    ///< bits 24..31, 0 to 255
};

std::int32_t EncodeStreamFlags(const StreamFlagFields& fields = {}) noexcept;
DecodedStreamFlags DecodeStreamFlags(std::int32_t flags) noexcept;

/// The flags every writer stores for a control of `type`.
std::int32_t CurrentStreamFlags(ControlType type, bool customDefaults) noexcept;

}  // namespace tavorin::detail
