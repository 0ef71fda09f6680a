// The Windows GUID: names a device or an interface.
#pragma once

#include <cstdint>

struct GUID {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  uint8_t data4[8] = {};
};
