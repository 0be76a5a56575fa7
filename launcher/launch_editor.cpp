#include "launcher/launch_editor.h"

#include "common/platform/platform.h"

namespace pivolane::launcher {

std::filesystem::path EditorProgram(const std::filesystem::path& launcherProgram) {
  return launcherProgram.parent_path() / "pivedit";
}

bool LaunchEditor(const std::filesystem::path& launcherProgram,
                  const std::vector<std::string>& args) {
  return platform::StartDetached(EditorProgram(launcherProgram), args);
}

}  // namespace pivolane::launcher
