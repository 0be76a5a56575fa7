// PNG decoding from memory with libpng, within a DecodeBudget: the size is
// checked before the pixels are allocated, the chunks that libpng keeps
// are bounded in number and size, and the budget is watched between rows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "common/picture/decode_budget.h"
#include "common/picture/pixels.h"

namespace pivolane::picture {

// RGBA pixels; nullopt when the stream is damaged or exceeds the limits.
std::optional<Pixels> DecodePng(std::span<const std::uint8_t> bytes,
                                const DecodeBudget& budget = {});

}  // namespace pivolane::picture
