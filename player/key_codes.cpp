#include "player/key_codes.h"

#include <FL/Enumerations.H>

#include "common/playback/input_codes.h"

namespace pivolane::player {

namespace code = playback::input_code;

int InputCodeForKey(int flKey) {
  switch (flKey) {
    case FL_Enter:
    case FL_KP_Enter:
      return code::kEnter;
    case ' ':
      return code::kSpace;
    case FL_Right:
      return code::kRightArrow;
    case FL_Left:
      return code::kLeftArrow;
    case FL_BackSpace:
      return code::kBackspace;
    case FL_Escape:
      return code::kEscape;
    default:
      return code::kOtherKey;
  }
}

int InputCodeForButton(int flButton) {
  switch (flButton) {
    case FL_LEFT_MOUSE:
      return code::kLeftButton;
    case FL_MIDDLE_MOUSE:
      return code::kMiddleButton;
    case FL_RIGHT_MOUSE:
      return code::kRightButton;
    default:
      return code::kOtherKey;
  }
}

bool CompletesDoubleClick(int clicks) {
  return clicks % 2 == 1;
}

}  // namespace pivolane::player
