// The files that make the desktop open slide-show documents with the launcher:
// the MIME package, the desktop entry and the two icons, under a data folder
// ($XDG_DATA_HOME for one user, /usr/share for the system).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pivolane::launcher::freedesktop {

struct AssociationFile {
  std::filesystem::path relativePath;  // under the data folder
  std::string content;
};

// The files for launcher, in the order to write them, the MIME package last.
std::vector<AssociationFile> AssociationFiles(const std::filesystem::path& launcher);

// Where the MIME package lies under a data folder.
std::filesystem::path MimePackagePath(const std::filesystem::path& dataFolder);
// Where update-mime-database puts the type that it compiled from the package:
// its presence tells that the whole registration completed.
std::filesystem::path CompiledTypePath(const std::filesystem::path& dataFolder);
// Where the desktop entry lies under a data folder.
std::filesystem::path DesktopEntryPath(const std::filesystem::path& dataFolder);

}  // namespace pivolane::launcher::freedesktop
