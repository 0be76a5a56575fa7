#pragma once

#include <cstdint>

namespace pivolane::pivtool {

// The length of the player program that show files record.
std::int32_t CarriedPlayerSize();

}  // namespace pivolane::pivtool
