#include "launcher/mod_main.h"

#include <filesystem>
#include <optional>

#include "common/platform/platform.h"
#include "launcher/install_update.h"
#include "launcher/launch_editor.h"
#include "launcher/mod_asso_extension.h"

namespace pivolane::launcher {

namespace fs = std::filesystem;

void Main(const std::string& commandLine, LauncherPrompts& prompts) {
  // TempFolder: where the update client leaves its files. A folder that is
  // refused (a link, someone else's) is put to the user like a failed step of
  // the installation; Cancel starts the editor without installing.
  std::optional<fs::path> tempFolder;
  AttemptStep(prompts, [&] { tempFolder = platform::UpdateFolder(); });
  const fs::path appFolder = platform::ProgramFolder();
  const fs::path launcher = appFolder / fs::canonical(platform::OwnProgramFile()).filename();

  RegisterAssociation(launcher);
  if (tempFolder) InstallUpdate(*tempFolder, appFolder, prompts);
  LaunchEditor(commandLine, appFolder, prompts);
}

}  // namespace pivolane::launcher
