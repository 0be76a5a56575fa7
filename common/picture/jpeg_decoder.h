// JPEG decoding from memory with libjpeg, within a DecodeBudget: the size,
// the memory a progressive stream needs and the number of its scans are
// checked before the decoder allocates, and the budget between rows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "common/picture/decode_budget.h"
#include "common/picture/picture_format.h"
#include "common/picture/pixels.h"

namespace pivolane::picture {

// RGB pixels. With atLeast, the picture comes out at the smallest of the
// DCT's scales (1/8, 2/8 ... 8/8) that is still at least that large in both
// directions; without, at its natural size. nullopt when the stream is not
// a JPEG the decoder can read or exceeds the limits; a stream cut short
// gives the part it holds.
std::optional<Pixels> DecodeJpeg(std::span<const std::uint8_t> bytes,
                                 const DecodeBudget& budget = {},
                                 std::optional<Dimensions> atLeast = std::nullopt);

// The numerator over 8 of the smallest DCT scale at which natural comes out
// at least as large as wanted; 8 when none smaller does.
int JpegScaleFor(Dimensions natural, Dimensions wanted);

}  // namespace pivolane::picture
