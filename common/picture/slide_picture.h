// A slide picture as the playback frame shows it: decoded from memory in
// whichever format it has (told by its first bytes), turned upright as a
// photograph's EXIF data asks, fitted into the frame keeping its aspect
// ratio, never enlarged, and centred, over black. The player decodes every
// slide through here.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "common/picture/decode_budget.h"
#include "common/picture/pixels.h"
#include "common/playback/fit_geometry.h"

namespace pivolane::picture {

struct FittedPicture {
  Pixels pixels;                  // RGB, placement.width x placement.height
  playback::Placement placement;  // where in the frame
};

// nullopt when the picture cannot be decoded: an unknown format, damaged
// data, or more than the decode limits and the budget allow.
std::optional<FittedPicture> DecodeFitted(std::span<const std::uint8_t> bytes, playback::Size frame,
                                          const DecodeBudget& budget = {});

}  // namespace pivolane::picture
