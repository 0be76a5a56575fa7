#include "player/memory_decoders.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <png.h>

#include <vector>

#include "common/picture/picture_format.h"

namespace pivolane::player {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return.
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

extern "C" void LeaveOnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}

// Warnings (a stream cut short, for one) are not shown.
extern "C" void IgnoreJpegMessage(j_common_ptr, int) {}

// CMYK rows to RGB. Adobe's writers store the four inks inverted.
void CmykRowToRgb(const std::uint8_t* cmyk, std::uint8_t* rgb, unsigned width, bool inverted) {
  for (unsigned x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
    for (int c = 0; c < 3; ++c) {
      const unsigned ink = inverted ? cmyk[c] : 255u - cmyk[c];
      rgb[c] = static_cast<std::uint8_t>(ink * k / 255);
    }
  }
}

}  // namespace

std::optional<picture::Pixels> DecodeJpeg(std::span<const std::uint8_t> bytes) {
  jpeg_decompress_struct info{};
  JpegErrors errors{};
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = LeaveOnJpegError;
  errors.manager.emit_message = IgnoreJpegMessage;
  // Declared before setjmp: nothing with a destructor is skipped by longjmp.
  picture::Pixels out;
  std::vector<std::uint8_t> cmykRow;
  if (setjmp(errors.jump) != 0) {
    jpeg_destroy_decompress(&info);
    return std::nullopt;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (!picture::WithinDecodeLimits(
          {static_cast<int>(info.image_width), static_cast<int>(info.image_height)})) {
    jpeg_destroy_decompress(&info);
    return std::nullopt;
  }
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_start_decompress(&info);
  out.width = static_cast<int>(info.output_width);
  out.height = static_cast<int>(info.output_height);
  out.channels = 3;
  const std::size_t stride = std::size_t{info.output_width} * 3;
  out.bytes.resize(stride * info.output_height);
  if (cmyk) cmykRow.resize(std::size_t{info.output_width} * 4);
  while (info.output_scanline < info.output_height) {
    std::uint8_t* row = out.bytes.data() + stride * info.output_scanline;
    JSAMPROW target = cmyk ? cmykRow.data() : row;
    jpeg_read_scanlines(&info, &target, 1);
    if (cmyk) CmykRowToRgb(cmykRow.data(), row, info.output_width, info.saw_Adobe_marker != 0);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return out;
}

std::optional<picture::Pixels> DecodePng(std::span<const std::uint8_t> bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0)
    return std::nullopt;
  if (!picture::WithinDecodeLimits(
          {static_cast<int>(std::min<png_uint_32>(image.width, picture::kMaxSide + 1)),
           static_cast<int>(std::min<png_uint_32>(image.height, picture::kMaxSide + 1))})) {
    png_image_free(&image);
    return std::nullopt;
  }
  image.format = PNG_FORMAT_RGBA;
  picture::Pixels out{static_cast<int>(image.width), static_cast<int>(image.height), 4, {}};
  out.bytes.resize(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, out.bytes.data(), 0, nullptr) == 0) {
    png_image_free(&image);
    return std::nullopt;
  }
  return out;
}

}  // namespace pivolane::player
