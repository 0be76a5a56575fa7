// The player program: start-up, the playback window, and the end.
#pragma once

#include "player/start_up.h"

namespace pivolane::player {

// The program's entry: plays the show at the end of the player's own file.
int Main();

// Closes the windows and the player's own file, and ends the program with
// exitCode. The player writes no file, so it leaves none behind.
[[noreturn]] void EndShow(PlayerState& state, int exitCode);

}  // namespace pivolane::player
