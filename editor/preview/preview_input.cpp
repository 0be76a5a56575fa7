#include "editor/preview/preview_input.h"

#include "common/playback/input_codes.h"

namespace pivolane::editor {

namespace code = playback::input_code;

int InputCodeForQtKey(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return code::kEnter;
    case Qt::Key_Space:
      return code::kSpace;
    case Qt::Key_Right:
      return code::kRightArrow;
    case Qt::Key_Left:
      return code::kLeftArrow;
    case Qt::Key_Backspace:
      return code::kBackspace;
    case Qt::Key_Escape:
      return code::kEscape;
    default:
      return code::kOtherKey;
  }
}

int InputCodeForQtButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return code::kLeftButton;
    case Qt::RightButton:
      return code::kRightButton;
    case Qt::MiddleButton:
      return code::kMiddleButton;
    default:
      return code::kOtherKey;
  }
}

}  // namespace pivolane::editor
