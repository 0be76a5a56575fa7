// The texts of the launcher's boxes.
#pragma once

#include <filesystem>
#include <string>

namespace pivolane::launcher {

// "ERROR " + number + ": " + description.
std::string ErrorLine(int number, const std::string& description);

// The box of a failed step of the update installation: the application title
// followed by " : MainQXM Install Update", and the error line above the
// launcher's own version.
std::string InstallFailureTitle();
std::string InstallFailureText(int number, const std::string& description);

// The box of an editor that could not be started: the error line, then the
// program that was started.
std::string EditorStartFailureText(int number, const std::string& description,
                                   const std::filesystem::path& editor);

}  // namespace pivolane::launcher
