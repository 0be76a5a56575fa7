#include "common/picture/pixel_scaling.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace pivolane::picture {

namespace {

constexpr std::uint32_t kOne = 1u << 16;

// Does step(c) for each channel c, unrolled.
template <std::size_t kChannels, class Step>
inline void ForEachChannel(Step step) {
  [&]<std::size_t... c>(std::index_sequence<c...>) {
    (step(c), ...);
  }
  (std::make_index_sequence<kChannels>{});
}

// One source row reduced across, kept with 8 more bits.
template <std::size_t kChannels>
void ReduceRow(const std::uint8_t* in, const ScalingTaps& columns, std::uint16_t* out) {
  const std::uint32_t* weight = columns.weights.data();
  const std::size_t width = columns.first.size();
  for (std::size_t j = 0; j < width; ++j, out += kChannels) {
    std::uint32_t sums[kChannels] = {};
    const std::uint8_t* at = in + static_cast<std::size_t>(columns.first[j]) * kChannels;
    for (int k = columns.count[j]; k > 0; --k, ++weight, at += kChannels) {
      ForEachChannel<kChannels>([&](std::size_t c) { sums[c] += *weight * at[c]; });
    }
    ForEachChannel<kChannels>(
        [&](std::size_t c) { out[c] = static_cast<std::uint16_t>((sums[c] + 128) >> 8); });
  }
}

// sums += weight * row, in blocks the compiler turns into vector operations.
void Accumulate(std::uint32_t* sums, const std::uint16_t* row, std::uint32_t weight,
                std::size_t count) {
  constexpr std::size_t kBlock = 16;
  std::size_t i = 0;
  for (; i + kBlock <= count; i += kBlock) {
    for (std::size_t k = 0; k < kBlock; ++k) sums[i + k] += weight * row[i + k];
  }
  for (; i < count; ++i) sums[i] += weight * row[i];
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

ScalingTaps::ScalingTaps(int sourceLength, int length) {
  first.reserve(static_cast<std::size_t>(length));
  count.reserve(static_cast<std::size_t>(length));
  weightsAt.reserve(static_cast<std::size_t>(length));
  const double scale = static_cast<double>(sourceLength) / length;
  for (int j = 0; j < length; ++j) {
    const double start = j * scale;
    const double end = std::min((j + 1) * scale, static_cast<double>(sourceLength));
    const int from = std::min(static_cast<int>(start), sourceLength - 1);
    const int to = std::clamp(static_cast<int>(std::ceil(end)) - 1, from, sourceLength - 1);
    weightsAt.push_back(weights.size());
    std::uint32_t given = 0;
    for (int i = from; i <= to; ++i) {
      const double covered = std::min(end, i + 1.0) - std::max(start, static_cast<double>(i));
      const auto weight = static_cast<std::uint32_t>(std::lround(covered / (end - start) * kOne));
      weights.push_back(std::min(weight, kOne - given));
      given += weights.back();
    }
    weights.back() += kOne - given;  // rounding leftovers go to the last source position
    first.push_back(from);
    count.push_back(to - from + 1);
  }
}

RowScaler::RowScaler(int sourceWidth, int sourceHeight, int channels, int width, int height)
    : channels_(channels),
      columns_(sourceWidth, width),
      rows_(sourceHeight, height),
      reduced_(static_cast<std::size_t>(width) * static_cast<std::size_t>(channels)),
      sums_(reduced_.size()),
      out_{width, height, channels, std::vector<std::uint8_t>(reduced_.size() * height)} {}

void RowScaler::AddRow(const std::uint8_t* row) {
  const int sourceRow = nextSourceRow_++;
  if (channels_ == 4) {
    ReduceRow<4>(row, columns_, reduced_.data());
  } else {
    ReduceRow<3>(row, columns_, reduced_.data());
  }
  // The row counts towards the output row under way and, when it is the
  // last one that covers, also towards the next, which may start on it.
  while (nextRow_ < out_.height) {
    const auto y = static_cast<std::size_t>(nextRow_);
    const int k = sourceRow - rows_.first[y];
    if (k < 0 || k >= rows_.count[y]) return;
    const std::uint32_t weight = rows_.weights[rows_.weightsAt[y] + static_cast<std::size_t>(k)];
    Accumulate(sums_.data(), reduced_.data(), weight, sums_.size());
    if (k != rows_.count[y] - 1) return;
    std::uint8_t* target = out_.bytes.data() + y * sums_.size();
    for (std::size_t i = 0; i < sums_.size(); ++i) {
      target[i] = static_cast<std::uint8_t>((std::uint64_t{sums_[i]} + (1u << 23)) >> 24);
    }
    std::fill(sums_.begin(), sums_.end(), 0);
    ++nextRow_;
  }
}

std::optional<Pixels> ScaleSmoothly(const Pixels& source, int width, int height,
                                    const DecodeBudget& budget) {
  if (width == source.width && height == source.height) return source;
  RowScaler scaler(source.width, source.height, source.channels, width, height);
  const std::size_t stride = static_cast<std::size_t>(source.width) * source.channels;
  for (int y = 0; y < source.height; ++y) {
    if (budget.Exhausted()) return std::nullopt;
    scaler.AddRow(source.bytes.data() + static_cast<std::size_t>(y) * stride);
  }
  return scaler.Take();
}

}  // namespace pivolane::picture
