// Telling a slide picture's format from its first bytes, and reading the size
// its header declares, so that a picture too large to decode safely is refused
// before any decoder allocates memory for it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

namespace pivolane::picture {

enum class PictureFormat { kUnknown, kJpeg, kPng, kGif, kBmp, kIco };

PictureFormat DetectPictureFormat(std::span<const std::uint8_t> bytes);

struct Dimensions {
  int width = 0;
  int height = 0;
};

// The size that a JPEG, PNG, GIF or BMP header declares (for a GIF, the larger
// of its screen and its first frame in each direction); nullopt when the
// header cannot be read or the format is another one.
std::optional<Dimensions> DeclaredDimensions(std::span<const std::uint8_t> bytes);

// A JPEG's marker segments before its first scan, in order: each one's marker
// and its data after the length field, cut where the buffer ends. visit
// returns false to stop. The walk ends at a scan, the end of the picture, or
// bytes that are no marker.
void ForEachJpegSegment(
    std::span<const std::uint8_t> bytes,
    const std::function<bool(std::uint8_t marker, std::span<const std::uint8_t> data)>& visit);

// The scans of a JPEG stream, counted up to limit + 1 at most: its
// start-of-scan markers, found by walking its marker segments and, after each
// scan's header, its entropy-coded data up to the next marker. A segment is
// skipped whole, so that a thumbnail inside one is not counted.
int JpegScanCount(std::span<const std::uint8_t> bytes, int limit);

// Limits of the sizes the player decodes: no side above 32767 pixels and at
// most 2^27 pixels in all, which bounds a decoder's time. The memory it may
// take is bounded further by DecodeBudget (decode_budget.h).
inline constexpr int kMaxSide = 32767;
inline constexpr std::int64_t kMaxPixelCount = std::int64_t{1} << 27;

// Whether a picture of this size is within those limits and not empty.
bool WithinDecodeLimits(Dimensions dimensions);

}  // namespace pivolane::picture
