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

// For each of count output positions, the source positions it covers
// (first, then count of them) and how much of each, back to back in weights.
struct Taps {
  std::vector<int> first;
  std::vector<int> count;
  std::vector<std::uint32_t> weights;
};

Taps TapsFor(int sourceLength, int length) {
  Taps taps;
  taps.first.reserve(static_cast<std::size_t>(length));
  taps.count.reserve(static_cast<std::size_t>(length));
  const double scale = static_cast<double>(sourceLength) / length;
  for (int j = 0; j < length; ++j) {
    const double start = j * scale;
    const double end = std::min((j + 1) * scale, static_cast<double>(sourceLength));
    const int first = std::min(static_cast<int>(start), sourceLength - 1);
    const int last = std::clamp(static_cast<int>(std::ceil(end)) - 1, first, sourceLength - 1);
    std::uint32_t given = 0;
    for (int i = first; i <= last; ++i) {
      const double covered = std::min(end, i + 1.0) - std::max(start, static_cast<double>(i));
      const auto weight = static_cast<std::uint32_t>(std::lround(covered / (end - start) * kOne));
      taps.weights.push_back(std::min(weight, kOne - given));
      given += taps.weights.back();
    }
    taps.weights.back() += kOne - given;  // rounding leftovers go to the last source position
    taps.first.push_back(first);
    taps.count.push_back(last - first + 1);
  }
  return taps;
}

// One source row reduced across, kept with 8 more bits.
template <int kChannels>
void ReduceRow(const std::uint8_t* in, const Taps& columns, std::uint16_t* out) {
  const std::uint32_t* weight = columns.weights.data();
  const std::size_t width = columns.first.size();
  for (std::size_t j = 0; j < width; ++j) {
    std::uint32_t sums[kChannels] = {};
    const std::uint8_t* at = in + static_cast<std::size_t>(columns.first[j]) * kChannels;
    for (int k = columns.count[j]; k > 0; --k, ++weight, at += kChannels) {
      for (int c = 0; c < kChannels; ++c) sums[c] += *weight * at[c];
    }
    for (int c = 0; c < kChannels; ++c) *out++ = static_cast<std::uint16_t>((sums[c] + 128) >> 8);
  }
}

template <int kChannels>
std::optional<Pixels> Scale(const Pixels& source, int width, int height,
                            const DecodeBudget& budget) {
  const Taps columns = TapsFor(source.width, width);
  const Taps rows = TapsFor(source.height, height);
  const std::size_t rowLength = static_cast<std::size_t>(width) * kChannels;
  const std::size_t sourceStride = static_cast<std::size_t>(source.width) * kChannels;

  // One output row at a time, so that the working memory is a few rows: each
  // source row it covers is reduced across, then the rows are averaged down.
  // Neighbouring output rows share at most one source row, reduced once.
  Pixels out{width, height, kChannels, std::vector<std::uint8_t>(rowLength * height)};
  std::vector<std::uint16_t> reduced(rowLength);
  std::vector<std::uint16_t> shared(rowLength);
  int sharedRow = -1;
  std::vector<std::uint32_t> sums(rowLength);
  const std::uint32_t* weight = rows.weights.data();
  for (int y = 0; y < height; ++y) {
    if (budget.Exhausted()) return std::nullopt;
    std::fill(sums.begin(), sums.end(), 0);
    const int first = rows.first[static_cast<std::size_t>(y)];
    const int count = rows.count[static_cast<std::size_t>(y)];
    for (int k = 0; k < count; ++k, ++weight) {
      const int row = first + k;
      const bool last = k == count - 1;
      std::vector<std::uint16_t>& across = row == sharedRow ? shared : last ? shared : reduced;
      if (row != sharedRow) {
        ReduceRow<kChannels>(source.bytes.data() + static_cast<std::size_t>(row) * sourceStride,
                             columns, across.data());
        if (last) sharedRow = row;
      }
      for (std::size_t i = 0; i < rowLength; ++i) sums[i] += *weight * across[i];
    }
    std::uint8_t* target = out.bytes.data() + static_cast<std::size_t>(y) * rowLength;
    for (std::size_t i = 0; i < rowLength; ++i)
      target[i] = static_cast<std::uint8_t>((std::uint64_t{sums[i]} + (1u << 23)) >> 24);
  }
  return out;
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

std::optional<Pixels> ScaleSmoothly(const Pixels& source, int width, int height,
                                    const DecodeBudget& budget) {
  if (width == source.width && height == source.height) return source;
  return source.channels == 4 ? Scale<4>(source, width, height, budget)
                              : Scale<3>(source, width, height, budget);
}

}  // namespace pivolane::picture
