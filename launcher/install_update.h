// Installation of the files that the update client left in the update folder,
// at the launcher's start, before the editor runs. Each file it replaces is
// first backed up beside itself with the ending ".old" (a second name for the
// same bytes), under an InstallationJournal; a failed step is put to the user,
// Retry repeating it and Cancel putting back every backup of this
// installation, by rename. The files of the update and the backups are deleted
// once the installation has finished either way. Whatever a step meets, and
// wherever the launcher is killed, a later start finishes what this one began:
// every program file new, or every one as it was.
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

// Installs every pending file of tempFolder into appFolder, or finishes the
// installation that an earlier start left, then removes the pending files and
// backups. A backup that cannot be put back is told in the box; when the user
// gives up, everything is left for the next start.
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
