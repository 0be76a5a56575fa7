#include "common/picture/ico_reader.h"

#include "common/picture/byte_view.h"
#include "common/picture/picture_format.h"

namespace pivolane::picture {

namespace {

constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;
constexpr std::int32_t kMaxIconSide = 256;
constexpr std::uint32_t kInfoHeaderSize = 40;

struct DirectoryEntry {
  int area = 0;
  int bitCount = 0;
  std::uint32_t size = 0;
  std::uint32_t offset = 0;
};

bool Larger(const DirectoryEntry& a, const DirectoryEntry& b) {
  return a.area != b.area ? a.area > b.area : a.bitCount > b.bitCount;
}

// Rows are stored bottom to top and padded to 4 bytes; the colour rows are
// followed by a 1-bit mask whose set bits mark transparent pixels.
class BmpEntry {
 public:
  static std::optional<Pixels> Decode(const ByteView& in);

 private:
  explicit BmpEntry(const ByteView& in) : in_(in) {}
  bool ReadHeader();
  // Fills one RGBA pixel from the colour rows; false for a colour index
  // outside the palette.
  bool ReadColour(int x, int storedRow, std::uint8_t* rgba) const;
  bool Masked(int x, int storedRow) const;

  const ByteView& in_;
  int width_ = 0;
  int height_ = 0;
  int bitCount_ = 0;
  std::uint64_t paletteAt_ = 0;
  std::uint64_t paletteSize_ = 0;
  std::uint64_t colourAt_ = 0;
  std::uint64_t colourStride_ = 0;
  std::uint64_t maskAt_ = 0;
  std::uint64_t maskStride_ = 0;
};

bool BmpEntry::ReadHeader() {
  if (!in_.Has(0, kInfoHeaderSize)) return false;
  const std::uint32_t headerSize = in_.Le32(0);
  const auto width = static_cast<std::int32_t>(in_.Le32(4));
  const auto doubledHeight = static_cast<std::int32_t>(in_.Le32(8));  // colour rows and mask rows
  bitCount_ = in_.Le16(14);
  const std::uint32_t compression = in_.Le32(16);
  const std::uint32_t coloursUsed = in_.Le32(32);
  if (headerSize < kInfoHeaderSize || compression != 0 || width < 1 || width > kMaxIconSide ||
      doubledHeight < 2 || doubledHeight > 2 * kMaxIconSide) {
    return false;
  }
  if (bitCount_ != 1 && bitCount_ != 4 && bitCount_ != 8 && bitCount_ != 24 && bitCount_ != 32) {
    return false;
  }
  width_ = width;
  height_ = doubledHeight / 2;
  if (bitCount_ <= 8) {
    const std::uint32_t fullPalette = 1u << bitCount_;
    paletteSize_ = coloursUsed == 0 ? fullPalette : coloursUsed;
    if (paletteSize_ > fullPalette) return false;
  }
  paletteAt_ = headerSize;
  colourAt_ = paletteAt_ + paletteSize_ * 4;
  colourStride_ = (std::uint64_t(width_) * static_cast<unsigned>(bitCount_) + 31) / 32 * 4;
  maskAt_ = colourAt_ + colourStride_ * static_cast<unsigned>(height_);
  maskStride_ = (std::uint64_t(width_) + 31) / 32 * 4;
  // The mask is the last part: when it lies inside the entry, everything does.
  return in_.Has(maskAt_, maskStride_ * static_cast<unsigned>(height_));
}

bool BmpEntry::ReadColour(int x, int storedRow, std::uint8_t* rgba) const {
  const std::uint64_t row = colourAt_ + colourStride_ * static_cast<unsigned>(storedRow);
  std::size_t blue = 0;  // offset of the blue, green, red bytes
  if (bitCount_ >= 24) {
    blue = static_cast<std::size_t>(row + static_cast<unsigned>(x * bitCount_ / 8));
    rgba[3] = bitCount_ == 32 ? in_.U8(blue + 3) : 0xFF;
  } else {
    const unsigned bit = static_cast<unsigned>(x * bitCount_);
    const std::uint8_t packed = in_.U8(static_cast<std::size_t>(row + bit / 8));
    const unsigned index = (packed >> (8 - bitCount_ - bit % 8)) & ((1u << bitCount_) - 1);
    if (index >= paletteSize_) return false;
    blue = static_cast<std::size_t>(paletteAt_ + index * 4);
    rgba[3] = 0xFF;
  }
  rgba[0] = in_.U8(blue + 2);
  rgba[1] = in_.U8(blue + 1);
  rgba[2] = in_.U8(blue);
  return true;
}

bool BmpEntry::Masked(int x, int storedRow) const {
  const std::uint64_t row = maskAt_ + maskStride_ * static_cast<unsigned>(storedRow);
  return ((in_.U8(static_cast<std::size_t>(row + static_cast<unsigned>(x) / 8)) >> (7 - x % 8)) &
          1) != 0;
}

std::optional<Pixels> BmpEntry::Decode(const ByteView& in) {
  BmpEntry entry(in);
  if (!entry.ReadHeader()) return std::nullopt;
  Pixels out{entry.width_, entry.height_, 4, {}};
  out.bytes.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height) * 4);
  bool colourAlpha = false;  // 32-bit entries may carry their own transparency
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      std::uint8_t* rgba = &out.bytes[(static_cast<std::size_t>(y) * out.width + x) * 4];
      if (!entry.ReadColour(x, out.height - 1 - y, rgba)) return std::nullopt;
      colourAlpha = colourAlpha || (entry.bitCount_ == 32 && rgba[3] != 0);
    }
  }
  if (!colourAlpha) {
    for (int y = 0; y < out.height; ++y) {
      for (int x = 0; x < out.width; ++x) {
        out.bytes[(static_cast<std::size_t>(y) * out.width + x) * 4 + 3] =
            entry.Masked(x, out.height - 1 - y) ? 0x00 : 0xFF;
      }
    }
  }
  return out;
}

}  // namespace

std::optional<IcoPicture> ReadIco(std::span<const std::uint8_t> file) {
  const ByteView in(file);
  if (!in.Has(0, kDirectoryHeaderSize) || in.Le16(0) != 0 || in.Le16(2) != 1) return std::nullopt;
  const std::size_t count = in.Le16(4);
  if (count == 0 || !in.Has(kDirectoryHeaderSize, count * kDirectoryEntrySize)) return std::nullopt;

  DirectoryEntry best;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = kDirectoryHeaderSize + i * kDirectoryEntrySize;
    const int width = in.U8(at) == 0 ? 256 : in.U8(at);  // 0 stands for 256
    const int height = in.U8(at + 1) == 0 ? 256 : in.U8(at + 1);
    const DirectoryEntry entry{width * height, in.Le16(at + 6), in.Le32(at + 8), in.Le32(at + 12)};
    if (entry.size == 0 || !in.Has(entry.offset, entry.size)) return std::nullopt;
    if (i == 0 || Larger(entry, best)) best = entry;
  }

  const std::span<const std::uint8_t> data = in.Sub(best.offset, best.size);
  if (DetectPictureFormat(data) == PictureFormat::kPng) return EmbeddedPng{data};
  std::optional<Pixels> pixels = BmpEntry::Decode(ByteView(data));
  if (!pixels) return std::nullopt;
  return IcoPicture(std::move(*pixels));
}

}  // namespace pivolane::picture
