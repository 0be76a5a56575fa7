#include <filesystem>

#include "common/platform/platform.h"
#include "launcher/launch_editor.h"

int main(int argc, char** argv) {
  const std::filesystem::path self =
      std::filesystem::canonical(pivolane::platform::OwnProgramFile());
  return pivolane::launcher::LaunchEditor(self, {argv + 1, argv + argc}) ? 0 : 1;
}
