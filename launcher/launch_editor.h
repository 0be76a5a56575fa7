// The launcher's hand-off: the editor, from the launcher's own folder, with
// the document named on the launcher's command line.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "launcher/launcher_prompts.h"

namespace pivolane::launcher {

// The launcher's arguments as one text, joined by spaces. The desktop passes a
// document path as one argument.
std::string CommandLineText(const std::vector<std::string>& arguments);

// The text for the editor: without its first and last characters when both
// are double quotes (the quoted form of the association), otherwise as it is.
std::string EditorParameter(const std::string& commandLine);

// The editor's program file in the launcher's folder.
std::filesystem::path EditorProgram(const std::filesystem::path& appFolder);

// Starts the editor with the parameter of commandLine as its one argument (none
// when the text is empty); does not wait for it. A failed start is reported
// in a box.
void LaunchEditor(const std::string& commandLine, const std::filesystem::path& appFolder,
                  LauncherPrompts& prompts);

}  // namespace pivolane::launcher
