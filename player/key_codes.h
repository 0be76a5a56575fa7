// FLTK keys and mouse buttons as the input codes of playback (input_codes.h).
#pragma once

namespace pivolane::player {

// Keys without an action of their own give input_code::kOtherKey.
int InputCodeForKey(int flKey);
// FLTK numbers the buttons 1 left, 2 middle, 3 right.
int InputCodeForButton(int flButton);

}  // namespace pivolane::player
