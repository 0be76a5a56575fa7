// The document-type association: slide-show documents (".pvl") open with the
// launcher, which hands them to the editor. Each platform implements this
// header in a folder of its own.
#pragma once

#include <filesystem>

namespace pivolane::launcher {

// True when the type is already associated for this user, so that nothing is
// written (a file edited by hand stays as it is).
bool IsAssociated(const std::filesystem::path& launcher);

// Writes the association for launcher when IsAssociated is false, or when the
// launcher recorded at the last registration no longer exists (it was moved),
// and records launcher in the settings store. Failures are reported on the
// standard error and tried again at the next start; they never stop the
// launcher.
void RegisterAssociation(const std::filesystem::path& launcher);

}  // namespace pivolane::launcher
