// Conversions between the UTF-8 of the user interface and file names and the
// single-byte code page 1252 that the show files store. This is the only place
// where the two meet.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pivolane::text {

// UTF-8 to code page 1252; nullopt when a character has no code there (or the
// text is not valid UTF-8).
std::optional<std::string> ToCp1252(std::string_view utf8);
// As ToCp1252, but a character without a code becomes "?".
std::string ToCp1252Lossy(std::string_view utf8);
// Code page 1252 to UTF-8; every byte has a character.
std::string FromCp1252(std::string_view bytes);

// Removes trailing spaces (and the NULs of a field never written).
std::string_view TrimTrailingBlanks(std::string_view field);

}  // namespace pivolane::text
