// The Label set: the runtime's label can ignore a BackColor given while it is
// transparent, so after the transfer the colour is given again, opaque for a
// moment, wherever it did not arrive.
#pragma once

#include "classes/property_set.h"

namespace tavorin::detail {

/// The copy repairs right after the catalogue-driven transfer, the read at
/// its very end; the write is the common pattern.
extern const ClassSteps kLabelSteps;

}  // namespace tavorin::detail
