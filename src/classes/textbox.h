// The TextBox property set: its catalogue with every shared group, the text
// selection, and data binding.
#pragma once

#include <tavorin/host/control.h>
#include <tavorin/host/property_bag.h>
#include <tavorin/host/variant.h>

#include "property_set.h"

namespace tavorin::detail {

void CopyTextBox(const ComponentSettings& settings, host::Control& source,
                 host::Control& destination);
host::ByteArray TextBoxToStream(const ComponentSettings& settings, host::Control& source,
                                const host::Variant& customDefaults);
void StreamToTextBox(const ComponentSettings& settings, const host::ByteArray& stream,
                     host::Control& destination, const host::Variant& customDefaults);

}  // namespace tavorin::detail
