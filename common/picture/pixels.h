// A decoded picture: 8-bit channels, rows from top to bottom, no padding.
#pragma once

#include <cstdint>
#include <vector>

namespace pivolane::picture {

struct Pixels {
  int width = 0;
  int height = 0;
  int channels = 0;  // 3: RGB, 4: RGBA
  std::vector<std::uint8_t> bytes;
};

}  // namespace pivolane::picture
