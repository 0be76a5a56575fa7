// Installation of the files that the update client left in the update folder,
// at the launcher's start, before the editor runs. Each file it replaces is
// first backed up beside itself with the ending ".old"; a failed step is put to
// the user, Retry repeating it and Cancel putting every backup back; the files
// of the update and the backups are deleted at the end in both cases.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

#include "launcher/launcher_prompts.h"

namespace pivolane::launcher {

namespace fs = std::filesystem;

// The name of a file waiting for installation: this prefix, then the name of
// its target in the program folder.
inline constexpr std::string_view kUpdatePrefix = "MAJPivolane";
// The ending of a backup beside its target.
inline constexpr std::string_view kBackupEnding = ".old";

// Installs every pending file of tempFolder into appFolder, then removes the
// pending files and backups that are left with CleanUpdateFiles.
void InstallUpdate(const fs::path& tempFolder, const fs::path& appFolder, LauncherPrompts& prompts);

// Deletes every pending file of tempFolder and every backup of appFolder. A file
// that cannot be deleted is put to the user: Retry tries again, Cancel leaves
// it.
void CleanUpdateFiles(const fs::path& tempFolder, const fs::path& appFolder,
                      LauncherPrompts& prompts);

// Runs step until it succeeds, putting each failure to the user in the box of
// the update installation; false when the user cancelled.
bool AttemptStep(LauncherPrompts& prompts, const std::function<void()>& step);

}  // namespace pivolane::launcher
