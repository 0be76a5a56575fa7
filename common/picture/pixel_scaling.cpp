#include "common/picture/pixel_scaling.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pivolane::picture {

namespace {

// Weights are fixed point with 16 fraction bits and add up to exactly 1.
constexpr std::uint32_t kOne = 1u << 16;

struct Tap {
  int first = 0;                       // first source index
  std::vector<std::uint32_t> weights;  // of first, first + 1, ...
};

// For each of count output positions, the source positions it covers and
// how much of each.
std::vector<Tap> TapsFor(int sourceLength, int count) {
  std::vector<Tap> taps(static_cast<std::size_t>(count));
  const double scale = static_cast<double>(sourceLength) / count;
  for (int j = 0; j < count; ++j) {
    const double start = j * scale;
    const double end = std::min((j + 1) * scale, static_cast<double>(sourceLength));
    Tap& tap = taps[static_cast<std::size_t>(j)];
    tap.first = std::min(static_cast<int>(start), sourceLength - 1);
    const int last = std::clamp(static_cast<int>(std::ceil(end)) - 1, tap.first, sourceLength - 1);
    std::uint32_t given = 0;
    for (int i = tap.first; i <= last; ++i) {
      const double covered = std::min(end, i + 1.0) - std::max(start, static_cast<double>(i));
      const auto weight = static_cast<std::uint32_t>(std::lround(covered / (end - start) * kOne));
      tap.weights.push_back(std::min(weight, kOne - given));
      given += tap.weights.back();
    }
    tap.weights.back() += kOne - given;  // rounding leftovers go to the last source position
  }
  return taps;
}

}  // namespace

void FlattenOverBlack(Pixels& pixels) {
  if (pixels.channels != 4) return;
  const std::size_t count = pixels.bytes.size() / 4;
  std::uint8_t* out = pixels.bytes.data();
  const std::uint8_t* in = pixels.bytes.data();
  for (std::size_t i = 0; i < count; ++i, in += 4, out += 3) {
    const unsigned alpha = in[3];
    for (int c = 0; c < 3; ++c) out[c] = static_cast<std::uint8_t>((in[c] * alpha + 127) / 255);
  }
  pixels.bytes.resize(count * 3);
  pixels.bytes.shrink_to_fit();
  pixels.channels = 3;
}

Pixels ScaleSmoothly(const Pixels& source, int width, int height) {
  if (width == source.width && height == source.height) return source;
  const int channels = source.channels;
  const std::vector<Tap> columns = TapsFor(source.width, width);
  const std::vector<Tap> rows = TapsFor(source.height, height);
  const auto rowLength = static_cast<std::size_t>(width) * static_cast<std::size_t>(channels);

  // One output row at a time, so that the working memory is two rows: each
  // source row it covers is reduced across (kept with 8 more bits), then
  // the rows are averaged down.
  Pixels out{width, height, channels, std::vector<std::uint8_t>(rowLength * height)};
  std::vector<std::uint16_t> across(rowLength);
  std::vector<std::uint32_t> sums(rowLength);
  for (int y = 0; y < height; ++y) {
    const Tap& tap = rows[static_cast<std::size_t>(y)];
    std::fill(sums.begin(), sums.end(), 0);
    for (std::size_t k = 0; k < tap.weights.size(); ++k) {
      const std::uint8_t* in =
          source.bytes.data() + (tap.first + k) * static_cast<std::size_t>(source.width) * channels;
      std::uint16_t* reduced = across.data();
      for (const Tap& column : columns) {
        for (int c = 0; c < channels; ++c) {
          std::uint32_t sum = 0;
          const std::uint8_t* at = in + static_cast<std::size_t>(column.first) * channels + c;
          for (const std::uint32_t weight : column.weights) {
            sum += weight * *at;
            at += channels;
          }
          *reduced++ = static_cast<std::uint16_t>((sum + 128) >> 8);
        }
      }
      const std::uint32_t weight = tap.weights[k];
      for (std::size_t i = 0; i < rowLength; ++i) sums[i] += weight * across[i];
    }
    std::uint8_t* target = out.bytes.data() + static_cast<std::size_t>(y) * rowLength;
    for (std::size_t i = 0; i < rowLength; ++i)
      target[i] = static_cast<std::uint8_t>((std::uint64_t{sums[i]} + (1u << 23)) >> 24);
  }
  return out;
}

}  // namespace pivolane::picture
