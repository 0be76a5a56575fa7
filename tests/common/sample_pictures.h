// Small pictures of one colour in every format a show may hold, made in
// memory for the picture and player tests.
#pragma once

#include <cstdint>
#include <vector>

namespace pivolane::test_pictures {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
  std::uint8_t r, g, b;
};

// progressive: several scans, each refining the whole picture.
Bytes SampleJpeg(int width, int height, Rgb colour, bool progressive = false);
// width x height in four quarters: red top left, green top right, blue
// bottom left, white bottom right. Quarters of whole 16-pixel blocks keep
// their colours clean.
Bytes QuartersJpeg(int width, int height);
// jpeg with an EXIF segment after its start that gives orientation as its
// orientation tag (of the TIFF type SHORT unless type says another), in
// either byte order.
Bytes WithExifOrientation(const Bytes& jpeg, unsigned orientation, bool bigEndian = false,
                          unsigned type = 3);
// jpeg with another size in its start-of-frame segment and its data kept: a
// few bytes whose header asks for much more.
Bytes WithDeclaredJpegSize(Bytes jpeg, int width, int height);
// jpeg with its last scan repeated, times more times.
Bytes WithLastScanRepeated(const Bytes& jpeg, int times);
Bytes SamplePng(int width, int height, Rgb colour);
Bytes SampleBmp(int width, int height, Rgb colour);
Bytes SampleGif(int width, int height, Rgb colour);
// An icon with one 32-bit BMP entry, fully opaque.
Bytes SampleIco(int size, Rgb colour);

}  // namespace pivolane::test_pictures
