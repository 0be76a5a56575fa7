#include "common/picture/ico_reader.h"

#include "common/picture/byte_view.h"
#include "common/picture/dib_reader.h"
#include "common/picture/picture_format.h"

namespace pivolane::picture {

namespace {

constexpr std::size_t kDirectoryHeaderSize = 6;
constexpr std::size_t kDirectoryEntrySize = 16;

struct DirectoryEntry {
  int area = 0;
  int bitCount = 0;
  std::uint32_t size = 0;
  std::uint32_t offset = 0;
};

bool Larger(const DirectoryEntry& a, const DirectoryEntry& b) {
  return a.area != b.area ? a.area > b.area : a.bitCount > b.bitCount;
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
  std::optional<Pixels> pixels = DecodeIconBitmap(data);
  if (!pixels) return std::nullopt;
  return IcoPicture(std::move(*pixels));
}

}  // namespace pivolane::picture
