// The player's message box: a modal window titled with the application
// title, one text, an OK button, and for errors the critical-error sign.
#pragma once

#include <string>

#include "player/start_up.h"

namespace pivolane::player {

// Returns when the user has closed the box.
void ShowMessageBox(const std::string& text, MessageIcon icon);

}  // namespace pivolane::player
