// GIF decoding from memory with giflib, within a DecodeBudget: only the
// first frame is read, over black, and its size is checked before anything
// is allocated for it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "common/picture/decode_budget.h"
#include "common/picture/pixels.h"

namespace pivolane::picture {

// RGB pixels of the logical screen (grown to hold the first frame when it
// does not), black where the frame leaves it empty or is transparent.
// nullopt when the stream holds no readable frame or exceeds the limits; a
// frame cut short gives the rows it holds.
std::optional<Pixels> DecodeGif(std::span<const std::uint8_t> bytes,
                                const DecodeBudget& budget = {});

}  // namespace pivolane::picture
