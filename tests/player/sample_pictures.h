// Small pictures of one colour in every format a show may hold, made in
// memory for the player's tests.
#pragma once

#include <cstdint>
#include <vector>

namespace pivolane::test_pictures {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
  std::uint8_t r, g, b;
};

Bytes SampleJpeg(int width, int height, Rgb colour);
Bytes SamplePng(int width, int height, Rgb colour);
Bytes SampleBmp(int width, int height, Rgb colour);
Bytes SampleGif(int width, int height, Rgb colour);
// An icon with one 32-bit BMP entry, fully opaque.
Bytes SampleIco(int size, Rgb colour);

}  // namespace pivolane::test_pictures
