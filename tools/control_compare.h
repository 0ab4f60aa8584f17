// Comparing two controls of one class property by property.
#pragma once

#include <string>
#include <vector>

#include <tavorin/tavorin.h>

namespace tavorin::cli {

/// One line for each property in which `restored` differs from `original`:
/// every catalogued property of the class, the special ones the class offers
/// by name (selection, pictures, icons, data binding), and every list item.
std::vector<std::string> ControlDifferences(host::Control& original, host::Control& restored);

}  // namespace tavorin::cli
