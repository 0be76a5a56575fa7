// Asks the window manager to maximise a window that is on screen, keeping
// its caption bar. Without a window manager nothing happens, and the window
// keeps the size it was given.
#pragma once

#include <FL/Fl_Window.H>

namespace pivolane::player {

void MaximiseWindow(Fl_Window& window);

}  // namespace pivolane::player
