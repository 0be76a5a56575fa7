// Text split into lines and pieces, as the update's files and server replies
// hold them.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace pivolane::update {

// The lines of text without their ends (LF or CR LF); a text ending with a
// line end has no empty last line.
std::vector<std::string_view> SplitLines(std::string_view text);

// How much of text a piece of at most size bytes takes without cutting a
// UTF-8 character in two (a character longer than size is cut).
std::size_t Utf8PieceLength(std::string_view text, std::size_t size);

}  // namespace pivolane::update
