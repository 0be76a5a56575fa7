#include "player/dialog_scale.h"

#include <FL/Fl.H>

#include <algorithm>
#include <cmath>

namespace pivolane::player {

namespace {
constexpr double kDesignHeight = 1080;
}  // namespace

double DialogScale(int screenHeight) {
  return std::max(1.0, screenHeight / kDesignHeight);
}

double ScreenDialogScale() {
  int x = 0, y = 0, width = 0, height = 0;
  Fl::screen_xywh(x, y, width, height, 0);
  return DialogScale(height);
}

int Scaled(int length, double scale) {
  return static_cast<int>(std::lround(length * scale));
}

}  // namespace pivolane::player
