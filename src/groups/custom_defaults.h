// Custom defaults: a caller may pass a stream of the same class whose values
// replace the built-in defaults key by key. The public operation loads it into
// a bag once per call; every group and set takes its defaults from here.
//
// A custom default is taken in the type the key is stored as before it is
// compared or used: a custom stream holding the Long 5 under a String key
// must not make every text that merely converts to 5 ("05", "5.0") count as
// equal to it and come back as "5".
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

namespace tavorin::detail {

/// The default of `key` in this call as it stands: the custom defaults bag's
/// value under the key, or `builtIn` when there is no custom defaults bag
/// (nullptr) or it lacks the key. For objects, which compare by their stored
/// images and are never converted.
host::Variant EffectiveDefault(const host::PropertyBag* customDefaults, std::string_view key,
                               const host::Variant& builtIn);

/// The default of a key in one call, for the full expression that asks for it:
/// the built-in default itself, never copied (a catalogue walk takes one per
/// property, and the copies cost about 4% of a text box's write and read), or
/// the custom value that replaces it.
class CallDefault {
 public:
  /// Refers to `builtIn`, which must outlive the CallDefault.
  static CallDefault BuiltIn(const host::Variant& builtIn) { return CallDefault(&builtIn, {}); }
  static CallDefault Custom(host::Variant custom) {
    return CallDefault(nullptr, std::move(custom));
  }

  operator const host::Variant&() const { return builtIn_ != nullptr ? *builtIn_ : custom_; }

 private:
  CallDefault(const host::Variant* builtIn, host::Variant custom)
      : builtIn_(builtIn), custom_(std::move(custom)) {}

  const host::Variant* builtIn_;
  host::Variant custom_;
};

/// The default a value of `valueType` is written against, and the default a
/// read falls back to, when there are custom defaults: the forms below.
CallDefault CustomDefaultForWriting(const host::PropertyBag& customDefaults, std::string_view key,
                                    const host::Variant& builtIn, std::int16_t valueType);
CallDefault CustomDefaultForReading(const host::PropertyBag& customDefaults, std::string_view key,
                                    const host::Variant& builtIn, std::int16_t valueType);

/// The default a value of `valueType` is written against: the custom value
/// converted to that type. A custom value that does not convert matches no
/// value, so the value is always stored (Missing). Inline: without custom
/// defaults a call is then a test, where the call out of line cost 3.7% of a
/// text box's write and read.
inline CallDefault DefaultForWriting(const host::PropertyBag* customDefaults, std::string_view key,
                                     const host::Variant& builtIn, std::int16_t valueType) {
  if (customDefaults == nullptr) return CallDefault::BuiltIn(builtIn);
  return CustomDefaultForWriting(*customDefaults, key, builtIn, valueType);
}

/// The default a read falls back to: the custom value converted to
/// `valueType`, or `builtIn` when it does not convert.
inline CallDefault DefaultForReading(const host::PropertyBag* customDefaults, std::string_view key,
                                     const host::Variant& builtIn, std::int16_t valueType) {
  if (customDefaults == nullptr) return CallDefault::BuiltIn(builtIn);
  return CustomDefaultForReading(*customDefaults, key, builtIn, valueType);
}

}  // namespace tavorin::detail
