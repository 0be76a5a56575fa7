// The playback window's area, known before the toolkit sets itself up on the
// display, which takes it a while (locale, input methods, atoms, screens):
// the first slide starts loading meanwhile.
#pragma once

#include <X11/Xlib.h>

namespace pivolane::player {

struct ScreenArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Asks over a connection of its own unless the toolkit has its display open
// already (the password dialog opened it). The connection stays open for as
// long as the object lives, which must be until the toolkit has its own: an
// X server that loses its last client starts afresh. Without a display the
// toolkit is asked, and ends the program with its message.
class EarlyDisplay {
 public:
  EarlyDisplay();
  ~EarlyDisplay();
  EarlyDisplay(const EarlyDisplay&) = delete;
  EarlyDisplay& operator=(const EarlyDisplay&) = delete;

  // The desktop's work area as the window manager states it, else the whole
  // screen: where the toolkit puts a maximised window.
  const ScreenArea& area() const { return area_; }

 private:
  Display* display_ = nullptr;
  ScreenArea area_;
};

}  // namespace pivolane::player
