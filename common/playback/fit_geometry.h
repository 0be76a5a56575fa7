// Where a slide picture goes in the playback frame: fitted into the frame
// keeping its aspect ratio, never enlarged, and centred. Sizes are in the
// window's own units (pixels on Linux).
#pragma once

namespace pivolane::playback {

struct Size {
  int width = 0;
  int height = 0;
};

struct Placement {
  int left = 0;  // relative to the frame
  int top = 0;
  int width = 0;
  int height = 0;
  bool stretched = false;  // false: the picture keeps its natural size
};

// A picture taller than the frame is first reduced to the frame's height; if
// it is then still wider than the frame, it is reduced to the frame's width.
Placement FitAndCentre(Size picture, Size frame);

}  // namespace pivolane::playback
