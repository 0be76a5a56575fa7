#include "player/maximise_window.h"

#include <FL/x.H>

namespace pivolane::player {

void MaximiseWindow(Fl_Window& window) {
  // The extended window manager hints' way: a _NET_WM_STATE request sent to
  // the root window, adding both maximised states at once.
  constexpr long kAddState = 1;
  XEvent request{};
  request.xclient.type = ClientMessage;
  request.xclient.window = fl_xid(&window);
  request.xclient.message_type = XInternAtom(fl_display, "_NET_WM_STATE", False);
  request.xclient.format = 32;
  request.xclient.data.l[0] = kAddState;
  request.xclient.data.l[1] =
      static_cast<long>(XInternAtom(fl_display, "_NET_WM_STATE_MAXIMIZED_VERT", False));
  request.xclient.data.l[2] =
      static_cast<long>(XInternAtom(fl_display, "_NET_WM_STATE_MAXIMIZED_HORZ", False));
  request.xclient.data.l[3] = 1;  // the request comes from an ordinary application
  XSendEvent(fl_display, RootWindow(fl_display, fl_screen), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &request);
  XFlush(fl_display);
}

}  // namespace pivolane::player
