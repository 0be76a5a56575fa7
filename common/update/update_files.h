// The update client's files on this computer: downloads waiting in the
// update folder for the launcher to install them, and the launcher that the
// client replaces itself, with its backup.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/io/file.h"

namespace pivolane::update {

namespace fs = std::filesystem;

// The launcher installs every file of the update folder named with this
// prefix and the name of the file that it replaces.
inline constexpr std::string_view kPendingPrefix = "MAJPivolane";
// The launcher's program file in the program folder, and its backup.
inline constexpr std::string_view kLauncherName = "Pivolane";
inline constexpr std::string_view kBackupSuffix = ".old";

// updateFolder + "MAJPivolane" + name: a file that the launcher installs.
fs::path PendingFile(const fs::path& updateFolder, std::string_view name);
// Where a download is written and checked before it becomes a pending file:
// a hidden name that the launcher does not install, should the run be killed.
fs::path StagedFile(const fs::path& updateFolder, std::string_view name);

// A new private file (mode 0600) at path, where a download or the run's log is
// written: whatever the name held before, a leftover of an earlier run or a
// symbolic link, is removed, never followed, and the file is created
// exclusively, so that a link planted meanwhile makes it fail. Throws a
// Failure when the name cannot be freed or the file created.
io::File CreateNewFile(const fs::path& path);

// Deletes every pending and staged file of the update folder. Throws a
// Failure when one cannot be deleted.
void DeleteDownloads(const fs::path& updateFolder);

// Gives each staged download of names its pending name, and the permissions
// that it takes when the launcher installs it as a new file: those of a
// program (0755) when it is one (an ELF file or a script), else 0644, less
// the umask.
void PublishDownloads(const fs::path& updateFolder, const std::vector<std::string>& names);

// Copies the launcher to its backup, then writes newLauncher over it; both
// keep the launcher's permissions, and each file is written whole beside its
// target before it replaces it.
void ReplaceLauncher(const fs::path& programFolder, const fs::path& newLauncher);

}  // namespace pivolane::update
