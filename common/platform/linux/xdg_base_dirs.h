// The folders of the XDG Base Directory rules, on which the Linux mapping of
// the user's caches, data and configuration rests.
#pragma once

#include <filesystem>
#include <vector>

namespace pivolane::platform::xdg {

namespace fs = std::filesystem;

// $HOME, else the home folder of the user's account.
fs::path HomeFolder();

// $XDG_DATA_HOME, else ~/.local/share.
fs::path DataHome();
// $XDG_CONFIG_HOME, else ~/.config.
fs::path ConfigHome();
// $XDG_CACHE_HOME, else ~/.cache.
fs::path CacheHome();
// $XDG_DATA_DIRS in order of preference, else /usr/local/share and /usr/share.
std::vector<fs::path> DataDirs();

// Creates folder and its missing parents with mode 0700, as the rules ask of
// the folders a program makes.
void CreateFolders(const fs::path& folder);

}  // namespace pivolane::platform::xdg
