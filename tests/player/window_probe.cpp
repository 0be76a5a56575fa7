// What the end-to-end tests see on the display:
//   window_probe quarters WINDOW  the size of what is not black in the window
//                                 and the colours of its quarters, top left,
//                                 top right, bottom left, bottom right: "160x320 BRWG"
//                                 (R red, G green, B blue, W white, ? other)
//   window_probe pointer          "hidden" when the pointer shows no pixel, else "shown"
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Rgb {
  unsigned r, g, b;
};

Rgb PixelAt(XImage* image, int x, int y) {
  const unsigned long pixel = XGetPixel(image, x, y);
  return {static_cast<unsigned>((pixel & image->red_mask) >> 16),
          static_cast<unsigned>((pixel & image->green_mask) >> 8),
          static_cast<unsigned>(pixel & image->blue_mask)};
}

char ColourName(Rgb c) {
  const bool r = c.r > 160, g = c.g > 160, b = c.b > 160;
  const bool dark = c.r < 96 && c.g < 96 && c.b < 96;
  if (r && g && b) return 'W';
  if (r && !g && !b) return 'R';
  if (g && !r && !b) return 'G';
  if (b && !r && !g) return 'B';
  return dark ? 'K' : '?';
}

int Quarters(Display* display, Window window) {
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) return 1;
  XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (image == nullptr) return 1;
  int left = attributes.width, top = attributes.height, right = -1, bottom = -1;
  for (int y = 0; y < attributes.height; ++y) {
    for (int x = 0; x < attributes.width; ++x) {
      if (ColourName(PixelAt(image, x, y)) == 'K') continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) {
    std::printf("0x0\n");
  } else {
    const int width = right - left + 1, height = bottom - top + 1;
    std::string quarters;
    for (const auto& [qx, qy] : {std::pair{1, 1}, {3, 1}, {1, 3}, {3, 3}}) {
      quarters += ColourName(PixelAt(image, left + qx * width / 4, top + qy * height / 4));
    }
    std::printf("%dx%d %s\n", width, height, quarters.c_str());
  }
  XDestroyImage(image);
  return 0;
}

int Pointer(Display* display) {
  XFixesCursorImage* cursor = XFixesGetCursorImage(display);
  if (cursor == nullptr) return 1;
  const unsigned long* pixels = cursor->pixels;
  const bool hidden = std::none_of(pixels, pixels + cursor->width * cursor->height,
                                   [](unsigned long argb) { return (argb >> 24) != 0; });
  std::printf("%s\n", hidden ? "hidden" : "shown");
  XFree(cursor);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return 1;
  if (argc == 3 && std::strcmp(argv[1], "quarters") == 0) {
    return Quarters(display, std::strtoul(argv[2], nullptr, 0));
  }
  if (argc == 2 && std::strcmp(argv[1], "pointer") == 0) return Pointer(display);
  std::fprintf(stderr, "usage: window_probe quarters WINDOW | window_probe pointer\n");
  return 2;
}
