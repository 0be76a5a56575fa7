// Device-independent bitmaps, the pixel data of BMP files and of an icon's
// bitmap entries, decoded from memory: the core, info and later headers, 1 to
// 32 bits per pixel, palettes, bit fields and run-length rows. Damaged
// bitmaps, and bitmaps beyond the decode limits or the budget, are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "common/picture/decode_budget.h"
#include "common/picture/pixels.h"

namespace pivolane::picture {

// A BMP file: the 14-byte file header, then the bitmap. RGBA pixels.
std::optional<Pixels> DecodeBmp(std::span<const std::uint8_t> file,
                                const DecodeBudget& budget = {});

// An icon's bitmap entry: an info header whose height counts the colour rows
// and the mask rows, the palette, the colour rows, then a 1-bit mask whose
// set bits mark transparent pixels. Icons are uncompressed, of 1, 4, 8, 24
// or 32 bits per pixel, at most 256 pixels a side. RGBA pixels.
std::optional<Pixels> DecodeIconBitmap(std::span<const std::uint8_t> entry,
                                       const DecodeBudget& budget = {});

}  // namespace pivolane::picture
