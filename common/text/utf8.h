// UTF-8 text cut to a number of bytes without splitting a character, and its
// control characters told from the others.
#pragma once

#include <cstddef>
#include <string_view>

namespace pivolane::text {

// The longest start of utf8 that has at most maxBytes bytes and ends at a
// character boundary.
std::string_view CutAtCharacter(std::string_view utf8, std::size_t maxBytes);

// The length in bytes of the control character (U+0000 to U+001F, U+007F,
// U+0080 to U+009F) that starts at utf8[at]; 0 when another character, or
// nothing, starts there.
std::size_t ControlCharacterLength(std::string_view utf8, std::size_t at);

}  // namespace pivolane::text
