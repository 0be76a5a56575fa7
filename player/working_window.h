// A small window that says the player is working while a long step runs
// after the password dialog, so that the wait does not look like a hang.
#pragma once

#include <functional>
#include <string>

namespace pivolane::player {

// Shows text in a window titled with the application title, with the busy
// pointer, and runs work on a thread of its own meanwhile, so that the window
// stays drawn. Returns once work has ended and the window is gone; a failure
// of work is thrown here. The caller leaves alone whatever work uses until
// then.
void RunWithWorkingWindow(const std::string& text, const std::function<void()>& work);

}  // namespace pivolane::player
