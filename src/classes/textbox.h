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
                                const host::PropertyBag* customDefaults);
void StreamToTextBox(const ComponentSettings& settings, const host::PropertyBag& stream,
                     host::Control& destination, const host::PropertyBag* customDefaults);

}  // namespace tavorin::detail
