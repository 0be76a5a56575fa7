// Reading ICO files: the largest picture of the icon, from a bitmap or a PNG
// entry. Damaged files are refused.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <variant>

#include "common/picture/pixels.h"

namespace pivolane::picture {

// A PNG entry: the PNG stream itself, inside the ICO buffer, for a PNG decoder.
struct EmbeddedPng {
  std::span<const std::uint8_t> bytes;
};

// The decoded pixels (RGBA) of a BMP entry, or the PNG stream of a PNG entry.
using IcoPicture = std::variant<Pixels, EmbeddedPng>;

// The largest entry of the icon (by area, then by colour depth, then the first
// listed). nullopt when the file is no icon, an entry lies outside the file,
// or the chosen BMP entry is damaged or of a kind icons do not use.
std::optional<IcoPicture> ReadIco(std::span<const std::uint8_t> file);

}  // namespace pivolane::picture
