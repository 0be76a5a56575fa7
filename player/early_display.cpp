#include "player/early_display.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xatom.h>

namespace pivolane::player {

namespace {

ScreenArea WorkAreaOf(Display* display) {
  const int screen = DefaultScreen(display);
  ScreenArea area{0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)};
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom workArea = XInternAtom(display, "_NET_WORKAREA", True);
  if (workArea != None &&
      XGetWindowProperty(display, RootWindow(display, screen), workArea, 0, 4, False, XA_CARDINAL,
                         &type, &format, &count, &after, &data) == Success &&
      data != nullptr && format == 32 && count == 4) {
    const auto* values = reinterpret_cast<const long*>(data);
    area = {static_cast<int>(values[0]), static_cast<int>(values[1]), static_cast<int>(values[2]),
            static_cast<int>(values[3])};
  }
  if (data != nullptr) XFree(data);
  return area;
}

}  // namespace

EarlyDisplay::EarlyDisplay() {
  if (fl_display == nullptr) display_ = XOpenDisplay(nullptr);
  if (display_ != nullptr) {
    area_ = WorkAreaOf(display_);
  } else {
    Fl::screen_work_area(area_.x, area_.y, area_.width, area_.height);
  }
}

EarlyDisplay::~EarlyDisplay() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

}  // namespace pivolane::player
