// What the end-to-end test sees on the display:
//   window_probe quarters WINDOW  the size of what is not black in the window and the
//                                 colours of its quarters (R, G, B, W, ? other), top left,
//                                 top right, bottom left, bottom right: "160x320 BRWG"
//   window_probe pointer          "hidden" when the pointer shows no pixel, else "shown"
// and the one change it makes to it:
//   window_probe bind KEYSYM      binds KEYSYM (say "eacute") to a free keycode for good:
//                                 xdotool types a key missing from the keyboard map by
//                                 binding it for an instant, and a program that reads the
//                                 map late, on a busy machine, then gets another key
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

char ColourAt(XImage* image, int x, int y) {
  const unsigned long pixel = XGetPixel(image, x, y);
  const unsigned red = pixel >> 16 & 0xFF, green = pixel >> 8 & 0xFF, blue = pixel & 0xFF;
  if (red < 96 && green < 96 && blue < 96) return 'K';
  const bool r = red > 160, g = green > 160, b = blue > 160;
  if (r && g && b) return 'W';
  return r && !g && !b ? 'R' : g && !r && !b ? 'G' : b && !r && !g ? 'B' : '?';
}

void PrintQuarters(Display* display, Window window) {
  XWindowAttributes a;
  XGetWindowAttributes(display, window, &a);
  XImage* image = XGetImage(display, window, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
  int left = a.width, top = a.height, right = -1, bottom = -1;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      if (ColourAt(image, x, y) == 'K') continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  const int width = right - left + 1, height = bottom - top + 1;
  std::string quarters;
  for (const auto& [qx, qy] : {std::pair{1, 1}, {3, 1}, {1, 3}, {3, 3}}) {
    if (right >= 0) quarters += ColourAt(image, left + qx * width / 4, top + qy * height / 4);
  }
  std::printf("%dx%d %s\n", std::max(width, 0), std::max(height, 0), quarters.c_str());
  XDestroyImage(image);
}

// 0 once keysym is on a keycode that had no key, 1 when none is free.
int Bind(Display* display, KeySym keysym) {
  int low = 0, high = 0, perCode = 0;
  XDisplayKeycodes(display, &low, &high);
  KeySym* map = XGetKeyboardMapping(display, static_cast<KeyCode>(low), high - low + 1, &perCode);
  int status = 1;
  for (int code = high; code >= low && status != 0; --code) {
    const KeySym* syms = map + (code - low) * perCode;
    if (std::any_of(syms, syms + perCode, [](KeySym s) { return s != NoSymbol; })) continue;
    KeySym both[] = {keysym, keysym};  // without and with Shift
    XChangeKeyboardMapping(display, code, 2, both, 1);
    XSync(display, False);
    status = 0;
  }
  XFree(map);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr || argc < 2) return 2;
  if (std::string(argv[1]) == "bind" && argc == 3) {
    const KeySym keysym = XStringToKeysym(argv[2]);
    return keysym == NoSymbol ? 2 : Bind(display, keysym);
  }
  if (std::string(argv[1]) == "quarters" && argc == 3) {
    PrintQuarters(display, std::strtoul(argv[2], nullptr, 0));
  } else {
    XFixesCursorImage* cursor = XFixesGetCursorImage(display);
    const unsigned long* pixels = cursor->pixels;
    const bool hidden = std::none_of(pixels, pixels + cursor->width * cursor->height,
                                     [](unsigned long argb) { return (argb >> 24) != 0; });
    std::printf("%s\n", hidden ? "hidden" : "shown");
  }
  return 0;
}
