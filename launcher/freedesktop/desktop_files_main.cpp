// Writes the association files for an installation: the desktop entry that
// starts the launcher at its installed place, the MIME package and the icons,
// under a data folder. Used when installing, never installed itself.
//   pivolane-desktop-files DATA_FOLDER INSTALLED_LAUNCHER
// Prints each file written, one a line.
#include <iostream>

#include "common/errors.h"
#include "launcher/freedesktop/association_files.h"
#include "launcher/freedesktop/key_file.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  using namespace pivolane::launcher::freedesktop;
  if (argc != 3) {
    std::cerr << "usage: pivolane-desktop-files DATA_FOLDER INSTALLED_LAUNCHER\n";
    return 2;
  }
  try {
    for (const auto& file : AssociationFiles(argv[2])) {
      const fs::path path = fs::path(argv[1]) / file.relativePath;
      fs::create_directories(path.parent_path());
      WriteTextFile(path, file.content);
      std::cout << path.string() << "\n";
    }
  } catch (const std::exception& failure) {
    std::cerr << "pivolane-desktop-files: " << failure.what() << "\n";
    return 1;
  }
  return 0;
}
