// An 8-bit grey picture (0 black, 255 white), one byte a pixel, rows without padding; what
// the page renderer and the picture decoders give the code reader.
#pragma once

#include <cstdint>
#include <vector>

namespace bvr::pdf {

struct GreyImage {
  int width = 0;
  int height = 0;
  double dpi = 0;  // pixels per inch; 0 when the picture does not say
  std::vector<std::uint8_t> pixels;

  std::uint8_t At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

}  // namespace bvr::pdf
