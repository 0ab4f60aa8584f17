#include "classes/textbox.h"

#include <array>
#include <string>
#include <string_view>

#include <tavorin/host/controls.h>
#include <tavorin/host/convert.h>

#include "classes/set_call.h"
#include "groups/best_effort.h"
#include "groups/common_properties.h"
#include "groups/custom_defaults.h"
#include "groups/data_binding.h"

namespace tavorin::detail {
namespace {

constexpr std::int16_t kTextBoxTypeCode = 3;
constexpr GroupSwitches kTextBoxGroups{};

// The selection, applied after Text (it is measured in the text) and start
// before length (a new start clamps the length).
struct SelectionValue {
  std::string_view key;
  std::string_view property;
};

constexpr std::array<SelectionValue, 2> kSelection{{
    {"SS", "SelStart"},
    {"SL", "SelLength"},
}};

const host::Variant kNoSelection = host::Variant::Integer(0);

}  // namespace

void CopyTextBox(const ComponentSettings& settings, host::Control& source,
                 host::Control& destination) {
  RequireClass<host::TextBox>(source);
  RequireClass<host::TextBox>(destination);
  CopyCommonProperties(settings, source, destination,
                       BuildDefaultsCatalogue(kTextBoxTypeCode), kTextBoxGroups);
  for (const SelectionValue& selection : kSelection) {
    const std::string property(selection.property);
    TryStep([&] { destination.SetProperty(property, source.GetProperty(property)); });
  }
  CopyDataBinding(source, destination);
}

host::ByteArray TextBoxToStream(const ComponentSettings& settings, host::Control& source,
                                const host::PropertyBag* customDefaults) {
  RequireClass<host::TextBox>(source);
  StreamWriteCall call(settings, source, customDefaults, kTextBoxTypeCode, kTextBoxGroups);
  WriteCommonProperties(settings, source, call.Stream(), call.Catalogue(),
                        call.CustomDefaults(), kTextBoxGroups);
  for (const SelectionValue& selection : kSelection) {
    TryStep([&] {
      const host::Variant value = host::Variant::Long(
          host::CLng(source.GetProperty(std::string(selection.property))));
      // Against the built-in defaults the selection is always stored.
      const host::Variant defaultValue =
          call.CustomDefaults()
              ? EffectiveDefault(call.CustomDefaults(), selection.key, kNoSelection)
              : host::Variant::Missing();
      call.Stream().WriteProperty(std::string(selection.key), value, defaultValue);
    });
  }
  WriteDataBinding(source, call.Stream(), call.CustomDefaults());
  return call.Finish();
}

void StreamToTextBox(const ComponentSettings& settings, const host::PropertyBag& stream,
                     host::Control& destination, const host::PropertyBag* customDefaults) {
  RequireClass<host::TextBox>(destination);
  StreamReadCall call(settings, stream, destination, customDefaults, kTextBoxTypeCode,
                      kTextBoxGroups);
  if (!call.IsReadable()) return;
  ReadCommonProperties(settings, call.Stream(), destination, call.Catalogue(),
                       call.CustomDefaults(), kTextBoxGroups);
  for (const SelectionValue& selection : kSelection) {
    TryStep([&] {
      const host::Variant stored = call.Stream().ReadProperty(
          std::string(selection.key),
          EffectiveDefault(call.CustomDefaults(), selection.key, kNoSelection));
      destination.SetProperty(std::string(selection.property),
                              host::Variant::Long(host::CLng(stored)));
    });
  }
  ReadDataBinding(call.Stream(), destination, call.CustomDefaults());
}

}  // namespace tavorin::detail
