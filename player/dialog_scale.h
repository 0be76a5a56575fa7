// The player's dialogs are laid out for a screen of 1080 lines and drawn
// larger on a taller one, fonts and sizes together, so that a 4K screen shows
// them at the size a 1080p one does. They are never drawn smaller.
#pragma once

namespace pivolane::player {

// The scale for a screen of that height in pixels: at least 1.
double DialogScale(int screenHeight);

// The scale of the screen the dialogs show on (the first one).
double ScreenDialogScale();

// A length in pixels, or a font size, laid out at scale 1, drawn at scale.
int Scaled(int length, double scale);

}  // namespace pivolane::player
