// The SVG icons that the launcher installs in the hicolor theme, built in.
#pragma once

#include <string_view>

namespace pivolane::launcher::freedesktop {

std::string_view ProgramIconSvg();
std::string_view DocumentIconSvg();

}  // namespace pivolane::launcher::freedesktop
