// The component's five settings as the groups and property sets read them
// during one call.
#pragma once

#include <cstdint>

namespace tavorin::detail {

struct ComponentSettings {
  bool setContainer = false;
  bool setTabIndex = false;
  bool sizeAccommodation = true;
  bool writeControlName = true;
  std::int16_t pictureOrImage = 0;  // 0: Picture; any other value: Image
};

}  // namespace tavorin::detail
