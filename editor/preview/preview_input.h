// Qt's keys and mouse buttons as the input codes of playback (input_codes.h).
#pragma once

#include <Qt>

namespace pivolane::editor {

// Keys without an action of their own give input_code::kOtherKey.
int InputCodeForQtKey(int key);
int InputCodeForQtButton(Qt::MouseButton button);

}  // namespace pivolane::editor
