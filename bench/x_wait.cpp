// The benchmark's clock on the display: waits until a window is named NAME
// and prints that moment, in seconds since the epoch. It sleeps on the X
// connection meanwhile, so it takes no processor time from what it measures.
// Usage: x_wait NAME [WINDOW]
//   with WINDOW (an id as xdotool prints it): until that window is so named;
//   without: until a top-level window so named is mapped.
// Prints "ready" once it watches, then the time.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <set>
#include <string>

namespace {

std::string NameOf(Display* display, Window window) {
  const Atom utf8Name = XInternAtom(display, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  std::string name;
  if (XGetWindowProperty(display, window, utf8Name, 0, 1024, False, utf8, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr) {
    name.assign(reinterpret_cast<char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  return name;
}

int Done() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::printf("%ld.%09ld\n", static_cast<long>(now.tv_sec), now.tv_nsec);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: x_wait NAME [WINDOW]\n");
    return 2;
  }
  const std::string wanted = argv[1];
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1;
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });  // windows that go away
  std::set<Window> mapped;
  if (argc == 3) {
    const Window window = std::strtoul(argv[2], nullptr, 0);
    XSelectInput(display, window, PropertyChangeMask);
    std::printf("ready\n");
    std::fflush(stdout);
    if (NameOf(display, window) == wanted) return Done();
    mapped.insert(window);
  } else {
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    std::printf("ready\n");
    std::fflush(stdout);
  }
  for (;;) {
    XEvent event;
    XNextEvent(display, &event);
    Window window = None;
    if (event.type == CreateNotify) {
      XSelectInput(display, event.xcreatewindow.window, PropertyChangeMask);
    } else if (event.type == MapNotify) {
      window = event.xmap.window;
      mapped.insert(window);
    } else if (event.type == PropertyNotify) {
      window = event.xproperty.window;
    }
    if (window != None && mapped.count(window) != 0 && NameOf(display, window) == wanted)
      return Done();
  }
}
