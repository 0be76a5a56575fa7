// The X display opened before the toolkit sets itself up on it, which takes
// it a while (input methods, atoms, screens): the playback window's area is
// known at once, so that the first slide starts loading meanwhile.
#pragma once

#include <X11/Xlib.h>

namespace pivolane::player {

struct ScreenArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

class EarlyDisplay {
 public:
  // The toolkit's display when it is open already (the password dialog
  // opened it), else a connection of its own. Without a display the area
  // comes from the toolkit, which then ends the program with its message.
  EarlyDisplay();
  // The desktop's work area, as the window manager states it, else the
  // whole screen: where the toolkit puts a maximised window.
  const ScreenArea& area() const { return area_; }
  // Lets the toolkit set itself up on the connection opened here.
  void HandToToolkit();

 private:
  Display* display_ = nullptr;  // opened here, not yet the toolkit's
  ScreenArea area_;
};

}  // namespace pivolane::player
