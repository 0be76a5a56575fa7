#include "common/picture/png_decoder.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/picture/picture_format.h"

namespace pivolane::picture {

namespace {

// Ancillary chunks libpng keeps (text, profiles, palettes it does not
// need): few, and small, so that a stream of millions of them or one
// compressed profile that inflates to gigabytes costs neither time nor memory.
constexpr png_uint_32 kMaxKeptChunks = 64;
constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t{4} << 20;

struct MemoryStream {
  std::span<const std::uint8_t> bytes;
  std::size_t at = 0;
};

extern "C" void ReadPngBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* stream = static_cast<MemoryStream*>(png_get_io_ptr(png));
  if (length > stream->bytes.size() - stream->at) png_error(png, "the stream is cut short");
  std::memcpy(data, stream->bytes.data() + stream->at, length);
  stream->at += length;
}

// Errors end decoding through the jump set up in DecodePng, and neither
// errors nor warnings are printed.
extern "C" void LeaveOnPngError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
extern "C" void IgnorePngWarning(png_structp, png_const_charp) {}

// Frees libpng's structures however decoding ends.
class PngReader {
 public:
  PngReader()
      : png_(png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, LeaveOnPngError,
                                    IgnorePngWarning)),
        info_(png_ ? png_create_info_struct(png_) : nullptr) {}
  ~PngReader() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  bool Ready() const { return png_ != nullptr && info_ != nullptr; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_;
  png_infop info_;
};

// Reads the rows into out once the header is known; png_error (a longjmp)
// ends it early.
void ReadRows(png_structp png, png_infop info, const DecodeBudget& budget, Pixels& out) {
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const int colourType = png_get_color_type(png, info);
  png_set_expand(png);  // palettes and small grey levels to 8 bits, tRNS to alpha
  png_set_strip_16(png);
  if ((colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
  if ((colourType & PNG_COLOR_MASK_ALPHA) == 0 && !png_get_valid(png, info, PNG_INFO_tRNS))
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != png_size_t{width} * 4) png_error(png, "unexpected row layout");

  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.channels = 4;
  out.bytes.resize(std::size_t{width} * height * 4);
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < height; ++y) {
      if (budget.Exhausted()) png_error(png, "over the time budget");
      png_read_row(png, out.bytes.data() + std::size_t{y} * width * 4, nullptr);
    }
  }
  // The rest of the stream is not read: whatever follows the last row is
  // of no use here, however long it inflates.
}

}  // namespace

std::optional<Pixels> DecodePng(std::span<const std::uint8_t> bytes, const DecodeBudget& budget) {
  PngReader reader;
  if (!reader.Ready()) return std::nullopt;
  png_structp png = reader.png();
  png_infop info = reader.info();
  MemoryStream stream{bytes, 0};
  // Declared before setjmp: nothing with a destructor is skipped by longjmp.
  Pixels out;
  if (setjmp(png_jmpbuf(png)) != 0) return std::nullopt;
  png_set_read_fn(png, &stream, ReadPngBytes);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_set_chunk_cache_max(png, kMaxKeptChunks);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!WithinDecodeLimits({static_cast<int>(width), static_cast<int>(height)}) ||
      !DecodeBudget::Fits(std::uint64_t{width} * height, 4)) {
    return std::nullopt;
  }
  ReadRows(png, info, budget, out);
  return out;
}

}  // namespace pivolane::picture
