#include "common/picture/gif_decoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "common/picture/picture_format.h"

namespace pivolane::picture {

namespace {

struct MemoryStream {
  std::span<const std::uint8_t> bytes;
  std::size_t at = 0;
};

extern "C" int ReadGifBytes(GifFileType* gif, GifByteType* data, int length) {
  auto* stream = static_cast<MemoryStream*>(gif->UserData);
  const std::size_t count =
      std::min(static_cast<std::size_t>(std::max(length, 0)), stream->bytes.size() - stream->at);
  std::memcpy(data, stream->bytes.data() + stream->at, count);
  stream->at += count;
  return static_cast<int>(count);
}

struct CloseGif {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using GifHandle = std::unique_ptr<GifFileType, CloseGif>;

// Skips an extension's data blocks; the graphic control extension tells
// which colour index, if any, is transparent.
bool ReadExtension(GifFileType* gif, int& transparent, const DecodeBudget& budget) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4)
    transparent = (block[1] & 0x01) != 0 ? block[4] : -1;
  for (std::size_t blocks = 0; block != nullptr; ++blocks) {
    if (blocks % 1024 == 0 && budget.Exhausted()) return false;
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

// The rows of an interlaced frame come in four passes.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  constexpr std::array<int, 4> kStart = {0, 4, 2, 1};
  constexpr std::array<int, 4> kStep = {8, 8, 4, 2};
  for (std::size_t pass = 0; pass < 4; ++pass) {
    for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
  }
  return order;
}

std::optional<Pixels> ReadFirstFrame(GifFileType* gif, int transparent,
                                     const DecodeBudget& budget) {
  if (DGifGetImageDesc(gif) == GIF_ERROR) return std::nullopt;
  const GifImageDesc& frame = gif->Image;
  const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
  if (frame.Width <= 0 || frame.Height <= 0 || frame.Left < 0 || frame.Top < 0 ||
      colours == nullptr) {
    return std::nullopt;
  }
  const int width = std::max<int>(gif->SWidth, frame.Left + frame.Width);
  const int height = std::max<int>(gif->SHeight, frame.Top + frame.Height);
  if (!WithinDecodeLimits({width, height}) ||
      !DecodeBudget::Fits(std::uint64_t(width) * static_cast<unsigned>(height), 3, frame.Width))
    return std::nullopt;

  Pixels out{width, height, 3, {}};
  out.bytes.assign(std::size_t(width) * std::size_t(height) * 3, 0);
  std::vector<GifPixelType> line(static_cast<std::size_t>(frame.Width));
  int rowsRead = 0;
  for (const int y : RowOrder(frame.Height, frame.Interlace)) {
    if (budget.Exhausted()) return std::nullopt;
    if (DGifGetLine(gif, line.data(), frame.Width) == GIF_ERROR) break;  // keep the rows so far
    ++rowsRead;
    std::uint8_t* row =
        out.bytes.data() + (std::size_t(frame.Top + y) * std::size_t(width) + frame.Left) * 3;
    for (const GifPixelType index : line) {
      if (index != transparent && index < colours->ColorCount) {
        const GifColorType& colour = colours->Colors[index];
        row[0] = colour.Red;
        row[1] = colour.Green;
        row[2] = colour.Blue;
      }
      row += 3;
    }
  }
  if (rowsRead == 0) return std::nullopt;
  return out;
}

}  // namespace

std::optional<Pixels> DecodeGif(std::span<const std::uint8_t> bytes, const DecodeBudget& budget) {
  MemoryStream stream{bytes, 0};
  int error = 0;
  const GifHandle gif(DGifOpen(&stream, ReadGifBytes, &error));
  if (!gif) return std::nullopt;
  int transparent = -1;
  for (;;) {
    if (budget.Exhausted()) return std::nullopt;
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) return std::nullopt;
    switch (record) {
      case IMAGE_DESC_RECORD_TYPE:
        return ReadFirstFrame(gif.get(), transparent, budget);
      case EXTENSION_RECORD_TYPE:
        if (!ReadExtension(gif.get(), transparent, budget)) return std::nullopt;
        break;
      default:
        return std::nullopt;  // the end, or garbage, before any frame
    }
  }
}

}  // namespace pivolane::picture
