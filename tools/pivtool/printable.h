// Text from a show file made safe to print on a terminal.
#pragma once

#include <string>
#include <string_view>

namespace pivolane::pivtool {

// utf8 with its control characters written as escapes ("\x1B", "\u009B") and
// each backslash doubled, so that a title can neither drive the terminal nor
// pass for an escape.
std::string Printable(std::string_view utf8);

}  // namespace pivolane::pivtool
