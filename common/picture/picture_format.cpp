#include "common/picture/picture_format.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "common/picture/byte_view.h"

namespace pivolane::picture {

namespace {

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Sides beyond the limit are all alike: too large.
int ClampedSide(std::int64_t side) {
  return static_cast<int>(std::min<std::int64_t>(side, kMaxSide + 1));
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> prefix) {
  return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

bool StartsWithText(std::span<const std::uint8_t> bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                    [](char c, std::uint8_t b) { return static_cast<std::uint8_t>(c) == b; });
}

// JPEG markers that carry no length: TEM and the restart markers.
bool IsMarkerWithoutLength(std::uint8_t marker) {
  return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// The size in the first start-of-frame segment.
std::optional<Dimensions> JpegDimensions(std::span<const std::uint8_t> bytes) {
  std::optional<Dimensions> size;
  ForEachJpegSegment(bytes, [&](std::uint8_t marker, std::span<const std::uint8_t> data) {
    const bool startOfFrame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (!startOfFrame) return true;
    // Precision, then height and width.
    const ByteView in(data);
    if (in.Has(0, 5)) size = Dimensions{in.Be16(3), in.Be16(1)};
    return false;
  });
  return size;
}

std::optional<Dimensions> PngDimensions(const ByteView& in) {
  // The IHDR chunk comes first: length, "IHDR", width, height.
  if (!in.Has(8, 16) || in.Be32(12) != 0x49484452) return std::nullopt;
  return Dimensions{ClampedSide(in.Be32(16)), ClampedSide(in.Be32(20))};
}

// The logical screen, and the first frame's descriptor after the colour
// table and any extension blocks.
std::optional<Dimensions> GifDimensions(const ByteView& in) {
  if (!in.Has(6, 7)) return std::nullopt;
  Dimensions size{in.Le16(6), in.Le16(8)};
  const std::uint8_t packed = in.U8(10);
  std::uint64_t at = 13;
  if ((packed & 0x80) != 0) at += 3u << ((packed & 0x07) + 1);
  while (in.Has(at, 1)) {
    const std::uint8_t introducer = in.U8(static_cast<std::size_t>(at));
    if (introducer == 0x2C) {
      if (!in.Has(at, 10)) return std::nullopt;
      const auto descriptor = static_cast<std::size_t>(at);
      size.width = std::max<int>(size.width, in.Le16(descriptor + 5));
      size.height = std::max<int>(size.height, in.Le16(descriptor + 7));
      return size;
    }
    if (introducer != 0x21 || !in.Has(at, 2)) return std::nullopt;
    at += 2;  // introducer and label, then data sub-blocks up to an empty one
    for (;;) {
      if (!in.Has(at, 1)) return std::nullopt;
      const std::uint8_t length = in.U8(static_cast<std::size_t>(at));
      at += 1 + std::uint64_t{length};
      if (length == 0) break;
    }
  }
  return std::nullopt;
}

std::optional<Dimensions> BmpDimensions(const ByteView& in) {
  if (!in.Has(14, 4)) return std::nullopt;
  const std::uint32_t headerSize = in.Le32(14);
  if (headerSize == 12) {  // the old core header: 16-bit sizes
    if (!in.Has(18, 4)) return std::nullopt;
    return Dimensions{in.Le16(18), in.Le16(20)};
  }
  if (headerSize < 40 || !in.Has(18, 8)) return std::nullopt;
  const auto width = static_cast<std::int32_t>(in.Le32(18));
  const auto height = static_cast<std::int32_t>(in.Le32(22));  // negative: rows top to bottom
  if (width < 0 || height == std::numeric_limits<std::int32_t>::min()) return std::nullopt;
  return Dimensions{ClampedSide(width), ClampedSide(std::abs(height))};
}

}  // namespace

PictureFormat DetectPictureFormat(std::span<const std::uint8_t> bytes) {
  static constexpr std::array<std::uint8_t, 3> kJpeg = {0xFF, 0xD8, 0xFF};
  static constexpr std::array<std::uint8_t, 4> kIco = {0x00, 0x00, 0x01, 0x00};
  if (StartsWith(bytes, kJpeg)) return PictureFormat::kJpeg;
  if (StartsWith(bytes, kPngSignature)) return PictureFormat::kPng;
  if (StartsWithText(bytes, "GIF87a") || StartsWithText(bytes, "GIF89a"))
    return PictureFormat::kGif;
  if (StartsWithText(bytes, "BM")) return PictureFormat::kBmp;
  if (StartsWith(bytes, kIco)) return PictureFormat::kIco;
  return PictureFormat::kUnknown;
}

std::optional<Dimensions> DeclaredDimensions(std::span<const std::uint8_t> bytes) {
  const ByteView in(bytes);
  switch (DetectPictureFormat(bytes)) {
    case PictureFormat::kJpeg:
      return JpegDimensions(bytes);
    case PictureFormat::kPng:
      return PngDimensions(in);
    case PictureFormat::kGif:
      return GifDimensions(in);
    case PictureFormat::kBmp:
      return BmpDimensions(in);
    case PictureFormat::kIco:
    case PictureFormat::kUnknown:
      break;
  }
  return std::nullopt;
}

void ForEachJpegSegment(
    std::span<const std::uint8_t> bytes,
    const std::function<bool(std::uint8_t marker, std::span<const std::uint8_t> data)>& visit) {
  const ByteView in(bytes);
  std::size_t at = 2;
  while (in.Has(at, 4)) {
    if (in.U8(at) != 0xFF) return;
    const std::uint8_t marker = in.U8(at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (IsMarkerWithoutLength(marker)) {
      at += 2;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return;  // a scan, or the end
    const std::uint16_t length = in.Be16(at + 2);
    if (length < 2) return;
    const std::size_t dataAt = at + 4;
    const std::size_t dataLength = std::min<std::size_t>(length - 2u, bytes.size() - dataAt);
    if (!visit(marker, in.Sub(dataAt, dataLength))) return;
    at += 2 + std::size_t{length};
  }
}

int JpegScanCount(std::span<const std::uint8_t> bytes, int limit) {
  const ByteView in(bytes);
  int scans = 0;
  std::size_t at = 2;
  while (scans <= limit && in.Has(at, 2)) {
    if (in.U8(at) != 0xFF) {  // entropy-coded data: on to its next 0xFF
      const auto next =
          std::find(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end(), 0xFF);
      at = static_cast<std::size_t>(next - bytes.begin());
      continue;
    }
    const std::uint8_t marker = in.U8(at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker == 0x00 || IsMarkerWithoutLength(marker)) {  // a stuffed 0xFF byte, a restart
      at += 2;
      continue;
    }
    if (marker == 0xD9 || !in.Has(at, 4)) break;  // the end of the picture
    if (marker == 0xDA) ++scans;
    at += 2 + std::size_t{in.Be16(at + 2)};
  }
  return scans;
}

bool WithinDecodeLimits(Dimensions dimensions) {
  return dimensions.width > 0 && dimensions.height > 0 && dimensions.width <= kMaxSide &&
         dimensions.height <= kMaxSide &&
         std::int64_t{dimensions.width} * dimensions.height <= kMaxPixelCount;
}

}  // namespace pivolane::picture
