#include "common/picture/orientation.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "common/picture/byte_view.h"

namespace pivolane::picture {

namespace {

constexpr std::uint8_t kApp1Marker = 0xE1;
constexpr std::array<std::uint8_t, 6> kExifHeader = {'E', 'x', 'i', 'f', 0, 0};
constexpr std::uint16_t kTiffMagic = 42;
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
constexpr std::size_t kEntrySize = 12;

// The integers of a TIFF block (what follows the EXIF header), in the byte
// order its first two bytes name. Callers check Has() first.
class TiffView {
 public:
  explicit TiffView(std::span<const std::uint8_t> bytes) : in_(bytes) {}
  bool Has(std::uint64_t at, std::uint64_t length) const { return in_.Has(at, length); }
  void UseBigEndian(bool bigEndian) { bigEndian_ = bigEndian; }
  std::uint16_t U16(std::size_t at) const { return bigEndian_ ? in_.Be16(at) : in_.Le16(at); }
  std::uint32_t U32(std::size_t at) const { return bigEndian_ ? in_.Be32(at) : in_.Le32(at); }

 private:
  ByteView in_;
  bool bigEndian_ = false;
};

// The orientation in a TIFF block's first IFD; kUpright when the block does
// not hold together or has no valid one.
Orientation OrientationInTiff(std::span<const std::uint8_t> tiff) {
  TiffView in(tiff);
  if (!in.Has(0, 8)) return Orientation::kUpright;
  if (tiff[0] == 'M' && tiff[1] == 'M') {
    in.UseBigEndian(true);
  } else if (tiff[0] != 'I' || tiff[1] != 'I') {
    return Orientation::kUpright;
  }
  if (in.U16(2) != kTiffMagic) return Orientation::kUpright;
  const std::uint32_t ifd = in.U32(4);
  if (!in.Has(ifd, 2)) return Orientation::kUpright;
  const std::uint16_t count = in.U16(ifd);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = ifd + 2 + i * kEntrySize;
    if (!in.Has(entry, kEntrySize)) break;
    if (in.U16(entry) != kOrientationTag) continue;
    // One SHORT, stored at the start of the value field.
    if (in.U16(entry + 2) != kShortType || in.U32(entry + 4) != 1) break;
    const std::uint16_t value = in.U16(entry + 8);
    if (value < 1 || value > 8) break;
    return static_cast<Orientation>(value);
  }
  return Orientation::kUpright;
}

}  // namespace

Orientation JpegOrientation(std::span<const std::uint8_t> bytes) {
  if (DetectPictureFormat(bytes) != PictureFormat::kJpeg) return Orientation::kUpright;
  Orientation orientation = Orientation::kUpright;
  ForEachJpegSegment(bytes, [&](std::uint8_t marker, std::span<const std::uint8_t> data) {
    const bool exif = marker == kApp1Marker && data.size() >= kExifHeader.size() &&
                      std::equal(kExifHeader.begin(), kExifHeader.end(), data.begin());
    if (!exif) return true;
    // The first EXIF segment decides, as in other viewers.
    orientation = OrientationInTiff(data.subspan(kExifHeader.size()));
    return false;
  });
  return orientation;
}

bool SwapsSides(Orientation orientation) {
  return orientation >= Orientation::kTransposed;
}

Dimensions AsShown(Dimensions stored, Orientation orientation) {
  if (!SwapsSides(orientation)) return stored;
  return {stored.height, stored.width};
}

Pixels TurnedUpright(const Pixels& stored, Orientation orientation) {
  const Dimensions shown = AsShown({stored.width, stored.height}, orientation);
  const std::ptrdiff_t width = stored.width;
  const std::ptrdiff_t last = std::ptrdiff_t{stored.height} * width - 1;
  // Which stored pixel the shown picture's top left one is, and how far on
  // in the stored pixels one step right and one step down in the shown
  // picture take.
  struct Walk {
    std::ptrdiff_t origin, right, down;
  };
  Walk walk{0, 1, width};
  switch (orientation) {
    case Orientation::kUpright:
      break;
    case Orientation::kMirrored:
      walk = {width - 1, -1, width};
      break;
    case Orientation::kTurned180:
      walk = {last, -1, -width};
      break;
    case Orientation::kFlipped:
      walk = {last - (width - 1), 1, -width};
      break;
    case Orientation::kTransposed:
      walk = {0, width, 1};
      break;
    case Orientation::kTurnedRight:
      walk = {last - (width - 1), -width, 1};
      break;
    case Orientation::kTransverse:
      walk = {last, -width, -1};
      break;
    case Orientation::kTurnedLeft:
      walk = {width - 1, width, -1};
      break;
  }
  const auto channels = static_cast<std::size_t>(stored.channels);
  Pixels out{shown.width, shown.height, stored.channels,
             std::vector<std::uint8_t>(stored.bytes.size())};
  std::uint8_t* target = out.bytes.data();
  for (int y = 0; y < shown.height; ++y) {
    std::ptrdiff_t from = walk.origin + y * walk.down;
    for (int x = 0; x < shown.width; ++x, from += walk.right, target += channels) {
      std::copy_n(stored.bytes.data() + static_cast<std::size_t>(from) * channels, channels,
                  target);
    }
  }
  return out;
}

}  // namespace pivolane::picture
