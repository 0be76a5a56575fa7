#include "common/platform/linux/xdg_base_dirs.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>

#include "common/errors.h"
#include "common/io/file.h"

namespace pivolane::platform::xdg {

namespace {

// An absolute path from the environment variable name, else nullopt: the
// rules ignore relative values.
std::optional<fs::path> AbsolutePathFromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value != '/') return std::nullopt;
  return fs::path(value);
}

fs::path HomeRelative(const char* name, const char* underHome) {
  return AbsolutePathFromEnvironment(name).value_or(HomeFolder() / underHome);
}

}  // namespace

fs::path HomeFolder() {
  if (auto home = AbsolutePathFromEnvironment("HOME")) return *home;
  if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr)
    return fs::path(user->pw_dir);
  throw Failure(error_number::kPathNotFound, "The home folder is not known");
}

fs::path DataHome() {
  return HomeRelative("XDG_DATA_HOME", ".local/share");
}

fs::path ConfigHome() {
  return HomeRelative("XDG_CONFIG_HOME", ".config");
}

fs::path CacheHome() {
  return HomeRelative("XDG_CACHE_HOME", ".cache");
}

std::vector<fs::path> DataDirs() {
  const char* value = std::getenv("XDG_DATA_DIRS");
  std::vector<fs::path> dirs;
  std::istringstream list(value != nullptr ? value : "");
  for (std::string dir; std::getline(list, dir, ':');) {
    if (!dir.empty() && dir.front() == '/') dirs.emplace_back(dir);
  }
  if (dirs.empty()) dirs = {"/usr/local/share", "/usr/share"};
  return dirs;
}

void CreateFolders(const fs::path& folder) {
  fs::path path;
  for (const fs::path& part : folder) {
    path /= part;
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) io::ThrowSystemError(errno, path);
  }
}

}  // namespace pivolane::platform::xdg
