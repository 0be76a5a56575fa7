// UTF-8 text cut to a number of bytes without splitting a character.
#pragma once

#include <cstddef>
#include <string_view>

namespace pivolane::text {

// The longest start of utf8 that has at most maxBytes bytes and ends at a
// character boundary.
std::string_view CutAtCharacter(std::string_view utf8, std::size_t maxBytes);

}  // namespace pivolane::text
