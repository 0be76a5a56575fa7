// The launcher's start: one pass that registers the document type, installs
// the update files waiting in the update folder, and hands over to the editor.
#pragma once

#include <string>

#include "launcher/launcher_prompts.h"

namespace pivolane::launcher {

// commandLine is the launcher's arguments as one text (CommandLineText).
void Main(const std::string& commandLine, LauncherPrompts& prompts);

}  // namespace pivolane::launcher
