// Which way up a picture is stored. Cameras and phones store a photograph as
// the sensor saw it and say in its EXIF data how to turn it: a phone held
// upright writes kTurnedRight. Pictures are shown turned that way, while
// their files stay as they are.
#pragma once

#include <cstdint>
#include <span>

#include "common/picture/picture_format.h"
#include "common/picture/pixels.h"

namespace pivolane::picture {

// The EXIF orientation values, 1 to 8: what must be done to the stored
// picture to show it upright.
enum class Orientation : std::uint8_t {
  kUpright = 1,
  kMirrored = 2,  // left and right swapped
  kTurned180 = 3,
  kFlipped = 4,      // top and bottom swapped
  kTransposed = 5,   // mirrored across the diagonal from the top left
  kTurnedRight = 6,  // a quarter turn clockwise
  kTransverse = 7,   // mirrored across the diagonal from the top right
  kTurnedLeft = 8,   // a quarter turn anticlockwise
};

// The orientation tag (0x0112) of the first IFD in a JPEG's first "Exif"
// APP1 segment. kUpright for anything else: another format, no such tag, a
// value outside 1 to 8, or data that does not hold together. Reads only
// inside the buffer, whatever it holds.
Orientation JpegOrientation(std::span<const std::uint8_t> bytes);

// Whether showing the picture upright exchanges its width and height.
bool SwapsSides(Orientation orientation);

// The size of a picture of size stored once it is turned; as the turn
// exchanges the sides or not, the same also gives the stored size of a size
// to show.
Dimensions AsShown(Dimensions stored, Orientation orientation);

// The stored pixels turned upright.
Pixels TurnedUpright(const Pixels& stored, Orientation orientation);

}  // namespace pivolane::picture
