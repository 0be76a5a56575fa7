// The exact bytes of the player program pivplay, built into the programs
// that write self-running shows: a show starts with these bytes, and its
// header's PlayerSize is their length.
#pragma once

#include <cstdint>
#include <span>

namespace pivolane {

std::span<const std::uint8_t> CarriedPlayer();

}  // namespace pivolane
