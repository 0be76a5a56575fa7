#include "common/playback/fit_geometry.h"

#include <algorithm>
#include <cmath>

namespace pivolane::playback {

Placement FitAndCentre(Size picture, Size frame) {
  frame.width = std::max(frame.width, 0);
  frame.height = std::max(frame.height, 0);
  double width = std::max(picture.width, 0);
  double height = std::max(picture.height, 0);
  bool stretched = false;
  if (height > frame.height) {
    stretched = true;
    width *= frame.height / height;
    height = frame.height;
  }
  if (width > frame.width) {
    stretched = true;
    height *= frame.width / width;
    width = frame.width;
  }
  Placement placement;
  placement.stretched = stretched;
  // A reduced picture keeps at least one pixel in each direction, so that a
  // very thin picture stays visible.
  const auto extent = [&](double value, int limit) {
    const int rounded = static_cast<int>(std::lround(value));
    return stretched && value > 0 ? std::clamp(rounded, std::min(1, limit), limit) : rounded;
  };
  placement.width = extent(width, frame.width);
  placement.height = extent(height, frame.height);
  placement.left = (frame.width - placement.width) / 2;
  placement.top = (frame.height - placement.height) / 2;
  return placement;
}

}  // namespace pivolane::playback
