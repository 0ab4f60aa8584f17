#include "stream/envelope.h"

#include <utility>

#include <tavorin/host/convert.h>
#include <tavorin/host/error.h>
#include <tavorin/host/property_bag.h>

#include "catalogue/control_type.h"
#include "stream/stream_flags.h"

namespace tavorin::detail {
namespace {

// The queries answer "no" for what the bytes get wrong: no bag image, a
// missing or non-numeric "@SF#", a name that is no text. The bag and the
// conversions raise all of those as RuntimeErrors; anything else propagates
// (see host/error.h).
template <typename Result, typename Query>
Result OrOnFailure(Result fallback, Query query) {
  try {
    return query();
  } catch (const host::RuntimeError&) {
    return fallback;
  }
}

// Reads the flags of a loaded bag and decodes them when the signature is
// right. Raises when "@SF#" does not convert to a Long.
std::optional<ValidStream> ValidFlags(const host::PropertyBag& bag) {
  const DecodedStreamFlags flags = DecodeStreamFlags(host::CLng(bag.ReadProperty(kStreamFlagsKey)));
  if (flags.signature != kStreamSignatureField) return std::nullopt;
  return ValidStream{flags.typeCode, flags.customDefaults};
}

}  // namespace

std::optional<LoadedStream> LoadValidStream(const host::ByteArray& stream) {
  return OrOnFailure<std::optional<LoadedStream>>(
      std::nullopt, [&]() -> std::optional<LoadedStream> {
        auto bag = std::make_unique<host::PropertyBag>();
        bag->SetContents(stream);
        const std::optional<ValidStream> flags = ValidFlags(*bag);
        if (!flags) return std::nullopt;
        return LoadedStream{std::move(bag), *flags};
      });
}

std::optional<LoadedStream> LoadValidStream(const host::Variant& stream) {
  if (stream.Type() != host::VarType::ByteArray) return std::nullopt;
  return LoadValidStream(StreamFromVariant(stream));
}

std::optional<std::int32_t> CheckStream(const host::ByteArray& stream) {
  if (const std::optional<LoadedStream> valid = LoadValidStream(stream))
    return valid->flags.typeCode;
  return std::nullopt;
}

bool StreamRequiresDefaults(const host::ByteArray& stream) {
  return OrOnFailure(false, [&] {
    host::PropertyBag bag;
    bag.SetContents(stream);
    const std::int32_t flags = host::CLng(bag.ReadProperty(kStreamFlagsKey, std::int32_t{0}));
    return DecodeStreamFlags(flags).customDefaults;
  });
}

std::string StreamControlName(const host::ByteArray& stream) {
  return OrOnFailure(std::string(), [&] {
    const std::optional<LoadedStream> valid = LoadValidStream(stream);
    if (!valid) return std::string();
    return host::CStr(valid->bag->ReadProperty(kControlNameKey, std::string()));
  });
}

host::ByteArray NothingToStream() {
  host::PropertyBag bag;
  bag.WriteProperty(kStreamFlagsKey, CurrentStreamFlags(ControlType::Nothing, false));
  return bag.Contents();
}

const host::ByteArray& StreamFromVariant(const host::Variant& value) noexcept {
  static const host::ByteArray kNoElements;
  const host::ByteArray* bytes = value.Get<host::ByteArray>();
  return bytes ? *bytes : kNoElements;
}

}  // namespace tavorin::detail
