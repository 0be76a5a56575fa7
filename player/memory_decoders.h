// JPEG and PNG decoding straight from memory, with the bounds of the buffer
// always respected (the toolkit's own in-memory JPEG reader has no length),
// so that a deciphered picture never has to be written to disk.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "common/picture/pixels.h"

namespace pivolane::player {

// RGB pixels; nullopt when the stream is not a JPEG the decoder can read or
// exceeds the decode limits. A stream cut short gives the part it holds.
std::optional<picture::Pixels> DecodeJpeg(std::span<const std::uint8_t> bytes);
// RGBA pixels; nullopt when the stream is damaged or exceeds the decode limits.
std::optional<picture::Pixels> DecodePng(std::span<const std::uint8_t> bytes);

}  // namespace pivolane::player
