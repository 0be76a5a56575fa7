// Pictures made ready for a black playback frame: transparency resolved over
// black, and reduced smoothly, each output pixel the average of the source
// area it covers.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "common/picture/decode_budget.h"
#include "common/picture/pixels.h"

namespace pivolane::picture {

// RGBA pixels become the RGB pixels they show over black; RGB stays as it is.
void FlattenOverBlack(Pixels& pixels);

// For each of count output positions, the source positions it covers
// (first, then count of them) and how much of each, back to back in weights:
// fixed point with 16 fraction bits, adding up to exactly 1.
struct ScalingTaps {
  ScalingTaps(int sourceLength, int length);
  std::vector<int> first;
  std::vector<int> count;
  std::vector<std::size_t> weightsAt;
  std::vector<std::uint32_t> weights;
};

// Reduces a picture by area averaging (a box filter) while its rows come in,
// top first, so that the whole source is never held: each output row is made
// as soon as the source rows it covers have come. Smooth when reducing,
// exact when the size does not change.
class RowScaler {
 public:
  // Sides at least 1; channels 3 or 4.
  RowScaler(int sourceWidth, int sourceHeight, int channels, int width, int height);
  // The next source row: sourceWidth pixels of channels bytes.
  void AddRow(const std::uint8_t* row);
  // The result, once every source row has come.
  Pixels Take() { return std::move(out_); }

 private:
  int channels_;
  ScalingTaps columns_;
  ScalingTaps rows_;
  int nextSourceRow_ = 0;
  int nextRow_ = 0;
  std::vector<std::uint16_t> reduced_;  // one source row reduced across, 8 more bits
  std::vector<std::uint32_t> sums_;     // the output row under way
  Pixels out_;
};

// The picture at width x height through a RowScaler. Both sides at least 1;
// source not empty. nullopt when the budget runs out first.
std::optional<Pixels> ScaleSmoothly(const Pixels& source, int width, int height,
                                    const DecodeBudget& budget = {});

}  // namespace pivolane::picture
