#include "common/playback/input_codes.h"

namespace pivolane::playback {

InputAction ActionForInput(int code) {
  switch (code) {
    case input_code::kLeftButton:
    case input_code::kEnter:
    case input_code::kSpace:
    case input_code::kRightArrow:
      return InputAction::kNext;
    case input_code::kRightButton:
    case input_code::kBackspace:
    case input_code::kLeftArrow:
      return InputAction::kPrevious;
    case input_code::kEscape:
      return InputAction::kEnd;
    default:
      return InputAction::kNone;
  }
}

}  // namespace pivolane::playback
