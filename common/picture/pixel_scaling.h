// Pictures made ready for a black playback frame: transparency resolved over
// black, and reduced smoothly, each output pixel the average of the source
// area it covers.
#pragma once

#include <optional>

#include "common/picture/decode_budget.h"
#include "common/picture/pixels.h"

namespace pivolane::picture {

// RGBA pixels become the RGB pixels they show over black; RGB stays as it is.
void FlattenOverBlack(Pixels& pixels);

// The picture at width x height, by area averaging (a box filter): smooth
// when reducing, and exact when the size does not change. Both sides at
// least 1; source not empty. The working memory is two rows of the result.
// nullopt when the budget runs out first.
std::optional<Pixels> ScaleSmoothly(const Pixels& source, int width, int height,
                                    const DecodeBudget& budget = {});

}  // namespace pivolane::picture
