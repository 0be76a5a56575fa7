// Text split into lines, as the update's files and server replies hold them.
#pragma once

#include <string_view>
#include <vector>

namespace pivolane::update {

// The lines of text without their ends (LF or CR LF); a text ending with a
// line end has no empty last line.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace pivolane::update
