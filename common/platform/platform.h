// What the programs need of the operating system, beyond files (io/file.h).
// Each platform implements this header in a folder of its own.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace pivolane::platform {

namespace fs = std::filesystem;

// The user's temporary folder: $TMPDIR, else /tmp.
fs::path TempFolder();

// The user's private folder for working files inside the temporary folder
// ("pivolane-" + user id), created with mode 0700. Refused with a Failure
// when it is a symbolic link, belongs to someone else or is open to others.
fs::path PrivateWorkRoot();

// The running program's own file.
fs::path OwnProgramFile();

// The folder that holds the running program's file, links resolved: the
// programs that ship together live side by side in it.
fs::path ProgramFolder();

// Where the update client leaves downloaded files for the launcher to install
// at its next start: $XDG_CACHE_HOME/pivolane/update (by default under
// ~/.cache), so that it outlives a log-out and a reboot. Created with mode
// 0700; refused with a Failure when it is a symbolic link, belongs to someone
// else or is open to others.
fs::path UpdateFolder();

// The English name of the language of the user's locale ("French",
// "English", ...); empty when it cannot be told.
std::string LocaleLanguageName();

// Starts program with args in a process of its own that outlives this one;
// does not wait for it. Raises a Failure with the file layer's number and the
// system's description when it could not be started.
void StartDetachedOrThrow(const fs::path& program, const std::vector<std::string>& args);
// The same, false when it could not be started.
bool StartDetached(const fs::path& program, const std::vector<std::string>& args);

// Runs program (looked up in the search path when it names no folder) with
// args and waits for it to end: its exit status, -1 when a signal ended it,
// nullopt when it could not be started.
std::optional<int> RunAndWait(const std::string& program, const std::vector<std::string>& args);

// The log-on name of the user running the program, from the system's user
// database; empty when it cannot be told.
std::string UserLogonName();

// What this build runs on, for the about box: "Linux (X11)".
std::string PlatformLabel();

// The desktop's system-information program: the first of a short list of
// common ones found in a folder of PATH; nullopt when none is installed.
std::optional<fs::path> SystemInformationProgram();

// The process's file mode creation mask.
unsigned CurrentUmask();

// A pseudo-random number in [0, 1) from a generator started from the clock.
double RandomUnit();

// True when a network interface other than the loopback is up.
bool IsConnected();
// Opens a dial-up connection; true when one was made. Systems without
// dial-up (Linux) report failure.
bool AutoDial();
// Closes the dial-up connection that AutoDial opened.
void HangUpAutoDial();

// True when this user may create and replace files in folder.
bool IsWritableFolder(const fs::path& folder);

// A folder that this process holds locked for as long as the object lives, so
// that no other process takes it for a leftover.
class LockedFolder {
 public:
  // Creates a new folder (mode 0700) named prefix + a unique suffix in root.
  static LockedFolder Create(const fs::path& root, const std::string& prefix);
  // Locks an existing folder; nullopt when another process holds it.
  static std::optional<LockedFolder> TryLock(const fs::path& folder);

  LockedFolder(LockedFolder&& other) noexcept;
  LockedFolder& operator=(LockedFolder&& other) noexcept;
  LockedFolder(const LockedFolder&) = delete;
  LockedFolder& operator=(const LockedFolder&) = delete;
  ~LockedFolder();

  const fs::path& path() const { return path_; }
  // Removes the folder if it is empty and lets the lock go.
  void RemoveIfEmpty();

 private:
  LockedFolder(fs::path path, int fd) : path_(std::move(path)), fd_(fd) {}
  fs::path path_;
  int fd_ = -1;
};

}  // namespace pivolane::platform
