// FLTK keys and mouse buttons as the input codes of playback (input_codes.h).
#pragma once

namespace pivolane::player {

// Keys without an action of their own give input_code::kOtherKey.
int InputCodeForKey(int flKey);
// FLTK numbers the buttons 1 left, 2 middle, 3 right.
int InputCodeForButton(int flButton);
// Whether a press whose Fl::event_clicks() is clicks completes a double
// click. A double click is one press and then a double-click, which is no
// press: a third click is a press again, a fourth completes the second pair.
bool CompletesDoubleClick(int clicks);

}  // namespace pivolane::player
