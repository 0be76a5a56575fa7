// What the about box asks of the desktop: who is logged on, what the build
// runs on, and which system-information program is installed.
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "common/platform/platform.h"

namespace pivolane::platform {

namespace {

// Graphical tools that show the system's hardware and activity, the most
// informative first.
constexpr const char* kSystemInformationPrograms[] = {
    "hardinfo",  "gnome-system-monitor", "plasma-systemmonitor",
    "ksysguard", "mate-system-monitor",  "xfce4-taskmanager",
    "lxtask"};

bool IsExecutableFile(const fs::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// The program name in the first folder of PATH that holds it. Empty and
// relative entries are skipped: they would run whatever the current folder holds.
std::optional<fs::path> FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  std::istringstream folders(path);
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (folder.empty() || folder.front() != '/') continue;
    const fs::path candidate = fs::path(folder) / name;
    if (IsExecutableFile(candidate)) return candidate;
  }
  return std::nullopt;
}

}  // namespace

std::string UserLogonName() {
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr && user->pw_name != nullptr ? std::string(user->pw_name) : std::string();
}

std::string PlatformLabel() {
  return "Linux (X11)";
}

std::optional<fs::path> SystemInformationProgram() {
  for (const char* name : kSystemInformationPrograms) {
    if (auto found = FindOnPath(name)) return found;
  }
  return std::nullopt;
}

}  // namespace pivolane::platform
