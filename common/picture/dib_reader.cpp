#include "common/picture/dib_reader.h"

#include <algorithm>
#include <bit>
#include <limits>

#include "common/picture/byte_view.h"
#include "common/picture/picture_format.h"

namespace pivolane::picture {

namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::int32_t kMaxIconSide = 256;

enum Compression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kAlphaBitFields = 6,
};

// One colour channel of 16- and 32-bit pixels: the bits it takes, scaled to 8 bits.
class ChannelMask {
 public:
  ChannelMask() = default;
  explicit ChannelMask(std::uint32_t mask)
      : mask_(mask),
        shift_(mask == 0 ? 0 : static_cast<unsigned>(std::countr_zero(mask))),
        max_(mask >> shift_) {}
  bool Present() const { return max_ != 0; }
  std::uint8_t Extract(std::uint32_t pixel) const {
    const std::uint32_t value = (pixel & mask_) >> shift_;  // at most max_
    return static_cast<std::uint8_t>((std::uint64_t{value} * 255 + max_ / 2) / max_);
  }

 private:
  std::uint32_t mask_ = 0;
  unsigned shift_ = 0;
  std::uint32_t max_ = 0;
};

struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  unsigned bitCount = 0;
  std::uint32_t compression = kRgb;
  std::uint64_t paletteAt = 0;
  std::uint64_t paletteSize = 0;
  unsigned paletteEntryBytes = 4;
  std::uint64_t pixelsAt = 0;
  std::uint64_t stride = 0;
  ChannelMask red, green, blue, alpha;
};

bool UsesPalette(const Layout& layout) {
  return layout.bitCount <= 8;
}

// Checks the header's fields against each other; the pixel data's place is
// up to the caller. headerAt is where the header starts in in.
std::optional<Layout> ReadHeader(const ByteView& in, std::uint64_t headerAt) {
  if (!in.Has(headerAt, 4)) return std::nullopt;
  const auto at = static_cast<std::size_t>(headerAt);
  const std::uint32_t headerSize = in.Le32(at);
  Layout layout;
  std::uint64_t coloursUsed = 0;
  std::int64_t height = 0;
  if (headerSize == kCoreHeaderSize) {
    if (!in.Has(headerAt, kCoreHeaderSize)) return std::nullopt;
    layout.width = in.Le16(at + 4);
    height = in.Le16(at + 6);
    layout.bitCount = in.Le16(at + 10);
    layout.paletteEntryBytes = 3;
  } else {
    if (headerSize < kInfoHeaderSize || !in.Has(headerAt, kInfoHeaderSize)) return std::nullopt;
    const auto width = static_cast<std::int32_t>(in.Le32(at + 4));
    if (width < 0) return std::nullopt;
    layout.width = width;
    height = static_cast<std::int32_t>(in.Le32(at + 8));
    layout.bitCount = in.Le16(at + 14);
    layout.compression = in.Le32(at + 16);
    coloursUsed = in.Le32(at + 32);
  }
  layout.topDown = height < 0;
  if (height < 0) height = -height;
  if (height > std::numeric_limits<int>::max()) return std::nullopt;
  layout.height = static_cast<int>(height);
  layout.paletteAt = headerAt + headerSize;

  const bool fields = layout.compression == kBitFields || layout.compression == kAlphaBitFields;
  switch (layout.compression) {
    case kRgb:
      break;
    case kRle8:
    case kRle4:
      if (layout.bitCount != (layout.compression == kRle8 ? 8u : 4u) || layout.topDown)
        return std::nullopt;
      break;
    case kBitFields:
    case kAlphaBitFields:
      if (layout.bitCount != 16 && layout.bitCount != 32) return std::nullopt;
      break;
    default:
      return std::nullopt;  // JPEG or PNG inside a bitmap, or unknown
  }
  switch (layout.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
      break;
    case 16:
      if (!fields) {
        layout.red = ChannelMask(0x7C00);
        layout.green = ChannelMask(0x03E0);
        layout.blue = ChannelMask(0x001F);
      }
      break;
    case 32:
      if (!fields) {
        layout.red = ChannelMask(0xFF0000);
        layout.green = ChannelMask(0xFF00);
        layout.blue = ChannelMask(0xFF);
      }
      break;
    default:
      return std::nullopt;
  }
  if (fields) {
    // The masks end the info header of later versions; after a plain info
    // header they come right after it, before the palette.
    const bool inHeader = headerSize >= kInfoHeaderSize + 12;
    const std::uint64_t masksAt = inHeader ? headerAt + kInfoHeaderSize : layout.paletteAt;
    const bool withAlpha = layout.compression == kAlphaBitFields || headerSize >= 56;
    const std::uint64_t masksLength = withAlpha ? 16 : 12;
    if (!in.Has(masksAt, masksLength)) return std::nullopt;
    const auto m = static_cast<std::size_t>(masksAt);
    layout.red = ChannelMask(in.Le32(m));
    layout.green = ChannelMask(in.Le32(m + 4));
    layout.blue = ChannelMask(in.Le32(m + 8));
    if (withAlpha) layout.alpha = ChannelMask(in.Le32(m + 12));
    if (!inHeader) layout.paletteAt += masksLength;
  }
  if (UsesPalette(layout)) {
    const std::uint64_t fullPalette = std::uint64_t{1} << layout.bitCount;
    layout.paletteSize = coloursUsed == 0 ? fullPalette : coloursUsed;
    if (layout.paletteSize > fullPalette) return std::nullopt;
    if (!in.Has(layout.paletteAt, layout.paletteSize * layout.paletteEntryBytes))
      return std::nullopt;
  }
  layout.pixelsAt = layout.paletteAt + layout.paletteSize * layout.paletteEntryBytes;
  layout.stride =
      (std::uint64_t{static_cast<unsigned>(layout.width)} * layout.bitCount + 31) / 32 * 4;
  if (!WithinDecodeLimits({layout.width, layout.height})) return std::nullopt;
  if (!DecodeBudget::Fits(std::uint64_t(layout.width) * static_cast<unsigned>(layout.height), 4))
    return std::nullopt;
  return layout;
}

class Decoder {
 public:
  Decoder(const ByteView& in, const Layout& layout, const DecodeBudget& budget)
      : in_(in), layout_(layout), budget_(budget) {
    out_.width = layout.width;
    out_.height = layout.height;
    out_.channels = 4;
    out_.bytes.resize(std::size_t(layout.width) * std::size_t(layout.height) * 4);
    for (std::size_t i = 3; i < out_.bytes.size(); i += 4) out_.bytes[i] = 0xFF;
  }

  // Uncompressed rows: the stride bytes of each row lie inside the data.
  bool DecodeRows() {
    for (int stored = 0; stored < layout_.height; ++stored) {
      if (budget_.Exhausted()) return false;
      const std::uint64_t row = layout_.pixelsAt + layout_.stride * static_cast<unsigned>(stored);
      for (int x = 0; x < layout_.width; ++x) {
        if (!ReadPixel(static_cast<std::size_t>(row), x, Pixel(x, stored))) return false;
      }
    }
    return true;
  }

  // Run-length rows, from the bottom row up. A stream that stops early keeps
  // what it has drawn; the pixels it skips stay black.
  bool DecodeRunLengths() {
    const bool eightBits = layout_.compression == kRle8;
    std::uint64_t at = layout_.pixelsAt;
    int x = 0;
    int stored = 0;
    for (std::uint64_t commands = 0; in_.Has(at, 2) && stored < layout_.height; ++commands) {
      if (commands % 4096 == 0 && budget_.Exhausted()) return false;
      const unsigned count = in_.U8(static_cast<std::size_t>(at));
      const unsigned value = in_.U8(static_cast<std::size_t>(at + 1));
      at += 2;
      if (count > 0) {  // count pixels of one index, or of two alternating ones
        for (unsigned k = 0; k < count && x < layout_.width; ++k, ++x) {
          const unsigned index = eightBits ? value : (k % 2 == 0 ? value >> 4 : value & 0x0F);
          if (!PutIndex(index, Pixel(x, stored))) return false;
        }
      } else if (value == 0) {  // end of the row
        x = 0;
        ++stored;
        if (budget_.Exhausted()) return false;
      } else if (value == 1) {  // end of the bitmap
        break;
      } else if (value == 2) {  // move right and up
        if (!in_.Has(at, 2)) break;
        x = std::min(x + in_.U8(static_cast<std::size_t>(at)), layout_.width);
        stored += in_.U8(static_cast<std::size_t>(at + 1));
        at += 2;
      } else {  // value indices given one by one, padded to an even length
        const std::uint64_t length = eightBits ? value : (value + 1) / 2;
        if (!in_.Has(at, length)) break;
        for (unsigned k = 0; k < value && x < layout_.width; ++k, ++x) {
          const std::uint8_t packed =
              in_.U8(static_cast<std::size_t>(at + (eightBits ? k : k / 2)));
          const unsigned index = eightBits ? packed : (k % 2 == 0 ? packed >> 4 : packed & 0x0F);
          if (!PutIndex(index, Pixel(x, stored))) return false;
        }
        at += (length + 1) / 2 * 2;
      }
    }
    return true;
  }

  // An icon's mask: set bits are transparent. Used only when the colours
  // carry no transparency of their own.
  void ApplyMask(std::uint64_t maskAt, std::uint64_t maskStride) {
    for (int stored = 0; stored < layout_.height; ++stored) {
      const std::uint64_t row = maskAt + maskStride * static_cast<unsigned>(stored);
      for (int x = 0; x < layout_.width; ++x) {
        const std::uint8_t bits =
            in_.U8(static_cast<std::size_t>(row + static_cast<unsigned>(x) / 8));
        Pixel(x, stored)[3] = ((bits >> (7 - x % 8)) & 1) != 0 ? 0x00 : 0xFF;
      }
    }
  }

  // An alpha channel that is zero everywhere was not meant as one: such
  // bitmaps are opaque, or take their transparency from an icon's mask.
  bool ColoursCarryAlpha() const {
    if (!layout_.alpha.Present()) return false;
    for (std::size_t i = 3; i < out_.bytes.size(); i += 4) {
      if (out_.bytes[i] != 0) return true;
    }
    return false;
  }
  void MakeOpaque() {
    for (std::size_t i = 3; i < out_.bytes.size(); i += 4) out_.bytes[i] = 0xFF;
  }

  Pixels Take() { return std::move(out_); }

 private:
  std::uint8_t* Pixel(int x, int stored) {
    const int y = layout_.topDown ? stored : layout_.height - 1 - stored;
    return &out_.bytes[(std::size_t(y) * std::size_t(layout_.width) + std::size_t(x)) * 4];
  }

  bool PutIndex(unsigned index, std::uint8_t* rgba) const {
    if (index >= layout_.paletteSize) return false;
    const auto entry =
        static_cast<std::size_t>(layout_.paletteAt + index * layout_.paletteEntryBytes);
    rgba[0] = in_.U8(entry + 2);
    rgba[1] = in_.U8(entry + 1);
    rgba[2] = in_.U8(entry);
    return true;
  }

  bool ReadPixel(std::size_t row, int x, std::uint8_t* rgba) const {
    const auto ux = static_cast<unsigned>(x);
    switch (layout_.bitCount) {
      case 24: {
        const std::size_t at = row + ux * 3;
        rgba[0] = in_.U8(at + 2);
        rgba[1] = in_.U8(at + 1);
        rgba[2] = in_.U8(at);
        return true;
      }
      case 16:
      case 32: {
        const std::uint32_t pixel =
            layout_.bitCount == 16 ? in_.Le16(row + ux * 2) : in_.Le32(row + ux * 4);
        rgba[0] = layout_.red.Present() ? layout_.red.Extract(pixel) : 0;
        rgba[1] = layout_.green.Present() ? layout_.green.Extract(pixel) : 0;
        rgba[2] = layout_.blue.Present() ? layout_.blue.Extract(pixel) : 0;
        if (layout_.alpha.Present()) rgba[3] = layout_.alpha.Extract(pixel);
        return true;
      }
      default: {
        const unsigned bit = ux * layout_.bitCount;
        const std::uint8_t packed = in_.U8(row + bit / 8);
        const unsigned index =
            (packed >> (8 - layout_.bitCount - bit % 8)) & ((1u << layout_.bitCount) - 1);
        return PutIndex(index, rgba);
      }
    }
  }

  const ByteView& in_;
  const Layout& layout_;
  const DecodeBudget& budget_;
  Pixels out_;
};

}  // namespace

std::optional<Pixels> DecodeBmp(std::span<const std::uint8_t> file, const DecodeBudget& budget) {
  const ByteView in(file);
  if (!in.Has(0, kFileHeaderSize) || in.U8(0) != 'B' || in.U8(1) != 'M') return std::nullopt;
  std::optional<Layout> layout = ReadHeader(in, kFileHeaderSize);
  if (!layout) return std::nullopt;
  // The file header names where the pixels start; 0 leaves them right after the palette.
  const std::uint32_t pixelsAt = in.Le32(10);
  if (pixelsAt != 0) layout->pixelsAt = pixelsAt;
  const bool runLengths = layout->compression == kRle8 || layout->compression == kRle4;
  if (!runLengths &&
      !in.Has(layout->pixelsAt, layout->stride * static_cast<unsigned>(layout->height)))
    return std::nullopt;
  Decoder decoder(in, *layout, budget);
  if (!(runLengths ? decoder.DecodeRunLengths() : decoder.DecodeRows())) return std::nullopt;
  if (layout->alpha.Present() && !decoder.ColoursCarryAlpha()) decoder.MakeOpaque();
  return decoder.Take();
}

std::optional<Pixels> DecodeIconBitmap(std::span<const std::uint8_t> entry,
                                       const DecodeBudget& budget) {
  const ByteView in(entry);
  if (!in.Has(0, kInfoHeaderSize) || in.Le32(0) < kInfoHeaderSize) return std::nullopt;
  std::optional<Layout> layout = ReadHeader(in, 0);
  if (!layout || layout->compression != kRgb || layout->topDown || layout->bitCount == 16 ||
      layout->width < 1 || layout->width > kMaxIconSide || layout->height < 2 ||
      layout->height > 2 * kMaxIconSide) {
    return std::nullopt;
  }
  // The colour rows, then as many mask rows: the header counts both.
  layout->height /= 2;
  if (layout->bitCount == 32) layout->alpha = ChannelMask(0xFF000000);
  const std::uint64_t maskAt =
      layout->pixelsAt + layout->stride * static_cast<unsigned>(layout->height);
  const std::uint64_t maskStride = (std::uint64_t(layout->width) + 31) / 32 * 4;
  // The mask is the last part: when it lies inside the entry, everything does.
  if (!in.Has(maskAt, maskStride * static_cast<unsigned>(layout->height))) return std::nullopt;
  Decoder decoder(in, *layout, budget);
  if (!decoder.DecodeRows()) return std::nullopt;
  if (!decoder.ColoursCarryAlpha()) decoder.ApplyMask(maskAt, maskStride);
  return decoder.Take();
}

}  // namespace pivolane::picture
