#include "stream/stream_flags.h"

namespace tavorin::detail {
namespace {

constexpr std::uint32_t kVersionMask = 0x0000000Fu;
constexpr std::uint32_t kSignatureMask = 0x000000F0u;
constexpr std::uint32_t kCustomDefaultsBit = 0x00000100u;
constexpr unsigned kTypeCodeShift = 24;

// Flags are handled as unsigned words so that type codes of 128 and above
// land in the sign bit instead of overflowing.
std::int32_t ToLong(std::uint32_t word) { return static_cast<std::int32_t>(word); }
std::uint32_t ToWord(std::int32_t value) { return static_cast<std::uint32_t>(value); }

}  // namespace

DecodedStreamFlags DecodeStreamFlags(std::int32_t flags) noexcept {
  const std::uint32_t word = ToWord(flags);
  return DecodedStreamFlags{
      .version = ToLong(word & kVersionMask),
      .signature = ToLong(word & kSignatureMask),
      .customDefaults = (word & kCustomDefaultsBit) != 0,
      .typeCode = ToLong(word >> kTypeCodeShift),
  };
}

std::int32_t EncodeStreamFlags(const StreamFlagFields& fields) noexcept {
  const DecodedStreamFlags base = DecodeStreamFlags(fields.baseWord.value_or(0));
  const std::uint32_t version = ToWord(fields.version.value_or(base.version));
  const std::uint32_t signature = ToWord(fields.signature.value_or(base.signature));
  const bool customDefaults = fields.customDefaults.value_or(base.customDefaults);
  const std::uint32_t typeCode = ToWord(fields.typeCode.value_or(base.typeCode));
  return ToLong(version | signature | (customDefaults ? kCustomDefaultsBit : 0u) |
                (typeCode << kTypeCodeShift));
}

std::int32_t CurrentStreamFlags(ControlType type, bool customDefaults) noexcept {
  return EncodeStreamFlags({.version = kStreamVersion,
                            .signature = kStreamSignatureField,
                            .customDefaults = customDefaults,
                            .typeCode = TypeCode(type)});
}

}  // namespace tavorin::detail
