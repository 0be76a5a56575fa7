#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pivolane::cipher {

inline constexpr std::size_t kKeyLength = 2562;

extern const std::array<std::uint8_t, kKeyLength> masterKey;

}  // namespace pivolane::cipher
