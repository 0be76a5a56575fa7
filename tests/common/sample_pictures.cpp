#include "tests/common/sample_pictures.h"

#include <cstdio>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>
#include <png.h>

#include <cstdlib>
#include <stdexcept>

#include "tests/common/picture_samples.h"

namespace pivolane::test_pictures {

namespace ps = picture_samples;

namespace {

// A baseline JPEG of RGB rows, pixel(x, y) giving each pixel.
template <class PixelAt>
Bytes EncodeJpeg(int width, int height, bool progressive, PixelAt pixel) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);  // errors end the test program: fine here
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row;
  while (info.next_scanline < info.image_height) {
    row.clear();
    for (int x = 0; x < width; ++x) {
      const Rgb colour = pixel(x, static_cast<int>(info.next_scanline));
      row.insert(row.end(), {colour.r, colour.g, colour.b});
    }
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

}  // namespace

Bytes SampleJpeg(int width, int height, Rgb colour, bool progressive) {
  return EncodeJpeg(width, height, progressive, [&](int, int) { return colour; });
}

Bytes QuartersJpeg(int width, int height) {
  return EncodeJpeg(width, height, false, [&](int x, int y) {
    const bool left = x < width / 2;
    if (y < height / 2) return left ? Rgb{255, 0, 0} : Rgb{0, 255, 0};
    return left ? Rgb{0, 0, 255} : Rgb{255, 255, 255};
  });
}

Bytes WithExifOrientation(const Bytes& jpeg, unsigned orientation, bool bigEndian, unsigned type) {
  const auto u16 = [&](Bytes& out, unsigned v) { bigEndian ? ps::Be16(out, v) : ps::Le16(out, v); };
  const auto u32 = [&](Bytes& out, std::uint32_t v) {
    bigEndian ? ps::Be32(out, v) : ps::Le32(out, v);
  };
  Bytes exif;
  ps::Text(exif, "Exif");
  exif.insert(exif.end(), {0, 0});
  ps::Text(exif, bigEndian ? "MM" : "II");
  u16(exif, 42);
  u32(exif, 8);  // the first IFD right after the header
  u16(exif, 2);  // entries: another tag first, then the orientation
  for (const unsigned tag : {0x010Fu, 0x0112u}) {
    u16(exif, tag);
    u16(exif, tag == 0x0112 ? type : 2);
    u32(exif, 1);
    u16(exif, tag == 0x0112 ? orientation : 0);
    u16(exif, 0);
  }
  u32(exif, 0);  // no next IFD
  Bytes out(jpeg.begin(), jpeg.begin() + 2);
  out.insert(out.end(), {0xFF, 0xE1});
  ps::Be16(out, static_cast<unsigned>(exif.size() + 2));
  out.insert(out.end(), exif.begin(), exif.end());
  out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
  return out;
}

Bytes WithDeclaredJpegSize(Bytes jpeg, int width, int height) {
  for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
      jpeg[i + 5] = static_cast<std::uint8_t>(height >> 8);
      jpeg[i + 6] = static_cast<std::uint8_t>(height);
      jpeg[i + 7] = static_cast<std::uint8_t>(width >> 8);
      jpeg[i + 8] = static_cast<std::uint8_t>(width);
      return jpeg;
    }
  }
  throw std::runtime_error("no start of frame");
}

Bytes WithLastScanRepeated(const Bytes& jpeg, int times) {
  std::size_t last = 0;
  for (std::size_t i = 2; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) last = i;
  }
  const std::size_t end = jpeg.size() - 2;  // the end-of-picture marker
  Bytes out(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(end));
  for (int k = 0; k < times; ++k) {
    out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(last),
               jpeg.begin() + static_cast<std::ptrdiff_t>(end));
  }
  out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

Bytes SamplePng(int width, int height, Rgb colour) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  Bytes pixels;
  for (int i = 0; i < width * height; ++i)
    pixels.insert(pixels.end(), {colour.r, colour.g, colour.b});
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) {
    throw std::runtime_error("PNG size");
  }
  Bytes out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr)) {
    throw std::runtime_error("PNG write");
  }
  out.resize(size);
  return out;
}

Bytes SampleBmp(int width, int height, Rgb colour) {
  const int stride = (width * 3 + 3) / 4 * 4;
  Bytes out;
  ps::Text(out, "BM");
  ps::Le32(out, static_cast<std::uint32_t>(54 + stride * height));
  ps::Le32(out, 0);
  ps::Le32(out, 54);
  ps::InfoHeader(out, width, height, 24);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) out.insert(out.end(), {colour.b, colour.g, colour.r});
    out.insert(out.end(), static_cast<std::size_t>(stride - width * 3), 0);
  }
  return out;
}

// Every pixel is written as a literal code right after a clear code, so the
// codes stay 3 bits wide and no compression is needed.
Bytes SampleGif(int width, int height, Rgb colour) {
  Bytes out;
  ps::Text(out, "GIF89a");
  ps::Le16(out, static_cast<unsigned>(width));
  ps::Le16(out, static_cast<unsigned>(height));
  out.insert(out.end(), {0x81, 0, 0});  // global table of 4 colours
  out.insert(out.end(), {colour.r, colour.g, colour.b});
  out.insert(out.end(), 9, 0);
  out.push_back(0x2C);
  ps::Le16(out, 0);
  ps::Le16(out, 0);
  ps::Le16(out, static_cast<unsigned>(width));
  ps::Le16(out, static_cast<unsigned>(height));
  out.push_back(0);
  out.push_back(2);  // minimum code size: clear is 4, end is 5

  Bytes data;
  unsigned buffer = 0;
  int bits = 0;
  const auto emit = [&](unsigned code) {
    buffer |= code << bits;
    bits += 3;
    while (bits >= 8) {
      data.push_back(static_cast<std::uint8_t>(buffer));
      buffer >>= 8;
      bits -= 8;
    }
  };
  for (int i = 0; i < width * height; ++i) {
    emit(4);
    emit(0);
  }
  emit(5);
  if (bits > 0) data.push_back(static_cast<std::uint8_t>(buffer));
  for (std::size_t at = 0; at < data.size(); at += 255) {
    const std::size_t length = std::min<std::size_t>(255, data.size() - at);
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
               data.begin() + static_cast<std::ptrdiff_t>(at + length));
  }
  out.push_back(0);
  out.push_back(0x3B);
  return out;
}

Bytes SampleIco(int size, Rgb colour) {
  Bytes entry;
  ps::InfoHeader(entry, size, 2 * size, 32);
  for (int i = 0; i < size * size; ++i)
    entry.insert(entry.end(), {colour.b, colour.g, colour.r, 255});
  entry.insert(entry.end(), static_cast<std::size_t>((size + 31) / 32 * 4 * size), 0);
  return ps::Ico({{size, size, 32, entry}});
}

}  // namespace pivolane::test_pictures
