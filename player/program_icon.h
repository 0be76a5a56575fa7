// The program icon on every window of the player: the editor's program icon,
// drawn at build time at a few sizes (icon/rasterise_icon.cpp).
#pragma once

#include <cstdint>

namespace pivolane::player {

struct ProgramIconImage {
  int size;                  // width and height in pixels
  const std::uint8_t* rgba;  // size x size pixels, rows top first
};

inline constexpr int kProgramIconCount = 3;
extern const ProgramIconImage kProgramIcons[kProgramIconCount];

// Every window opened from now on carries the icon.
void UseProgramIcon();

}  // namespace pivolane::player
