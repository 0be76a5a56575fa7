// The launcher's hand-off: the editor, from the launcher's own folder, with
// the document named on the launcher's command line.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pivolane::launcher {

// The editor's program file beside the launcher's.
std::filesystem::path EditorProgram(const std::filesystem::path& launcherProgram);

// Starts the editor with the launcher's arguments (the desktop passes a
// document path as one argument, spaces included); does not wait for it.
// False when the editor could not be started.
bool LaunchEditor(const std::filesystem::path& launcherProgram,
                  const std::vector<std::string>& args);

}  // namespace pivolane::launcher
