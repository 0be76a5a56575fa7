// The work folder of a running program and its working files: private copies
// of slide pictures and the scratch files of saving, building and reading.
// Files that held slide data are overwritten before they are deleted.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/io/file.h"
#include "common/platform/platform.h"
#include "common/workspace/end_cleanup.h"

namespace pivolane::workspace {

namespace fs = std::filesystem;

// Every working file's name begins with this prefix; cleaning removes them all.
inline constexpr std::string_view kWorkingFilePrefix = "Pivolane";

// Overwrites the whole file with "0" bytes, flushes it to disk, then deletes
// it. Throws a Failure when the file cannot be opened, written or deleted; the
// file may then remain, partly overwritten.
void WipeAndDeleteFile(const fs::path& path);

// Overwrites the whole of an open file with "0" bytes, flushes them to disk
// and closes it.
void OverwriteAndClose(io::File& file);

// Writes a file completely through write, flushes it to disk, then puts it in
// target's place in one step, so that target is always a whole file:
// - the new file starts with the permissions of the file it replaces (its
//   owner and group where the system allows), else 0666 less the umask; a
//   mode that write sets wins;
// - a symbolic link at target is kept and the file it points to is written
//   (see io::FollowLinksForWriting);
// - the former file's bytes are wiped, unless another name still links to
//   them (a backup made with ln);
// - when anything fails, or the program is ended meanwhile, nothing of the
//   new file is left and target stays as it was. The new file has no name
//   until it takes target's place where the system allows; a hidden one
//   beside target that a killed run left is removed by the next replacement
//   of target, never while a running program still writes it.
void WriteFileReplacing(const fs::path& target, const std::function<void(io::File&)>& write);

// Replaces several files as WriteFileReplacing does, with one flush to disk
// for them all instead of one each: every file is written completely first,
// then Commit flushes them together and only then puts each in its target's
// place, in the order they were added. Whatever is not committed when the
// batch goes, or when the program ends, leaves nothing behind.
class ReplacingBatch {
 public:
  // Files waiting at once: each holds a file descriptor until Commit, which
  // Add calls by itself beyond this number.
  static constexpr std::size_t kMostWaitingFiles = 256;

  ReplacingBatch();
  ~ReplacingBatch();
  ReplacingBatch(const ReplacingBatch&) = delete;
  ReplacingBatch& operator=(const ReplacingBatch&) = delete;

  // Writes the file that is to replace target through write. When write
  // fails, nothing of that file is left; the files added before still wait.
  void Add(const fs::path& target, const std::function<void(io::File&)>& write);
  // True when a file added for target (named as given to Add) waits.
  bool Holds(const fs::path& target) const;
  // Flushes every waiting file to disk, then puts each in its place.
  void Commit();

 private:
  struct Waiting;
  std::unique_ptr<Waiting> waiting_;
};

// Wipes and deletes path, if it exists, for the scratch files of an operation
// that already failed: failures are ignored, and a file that cannot be
// overwritten is still deleted.
void DiscardFile(const fs::path& path) noexcept;

struct CleanFailure {
  fs::path path;
  int number;
  std::string description;
};

// Wipes and deletes every working file of folder and resets slideCounter to 0.
// A file that cannot be removed is skipped (never tried twice in one call) and
// reported once in the result.
std::vector<CleanFailure> CleanWorkFolder(const fs::path& folder, int& slideCounter);

// The next free picture working file name, "PivolaneImg" + n + ".tmp": advances
// slideCounter past numbers whose file exists, which are never reused.
fs::path NextWorkingFileName(const fs::path& folder, int& slideCounter);

// A program's own work folder: a locked subfolder of the user's private root,
// so that programs running side by side never touch each other's files.
class Workspace {
 public:
  // A new work folder for role ("editor", "player", ...) in the user's private
  // root. Folders left there by programs that no longer run are wiped first.
  static Workspace Open(const std::string& role);
  // The same inside another root folder (tests).
  static Workspace OpenIn(const fs::path& root, const std::string& role);

  Workspace(Workspace&&) = default;
  Workspace& operator=(Workspace&&) = default;
  // Wipes what is left and removes the folder. So does an end of the
  // program that skips this (see CleanUpAtAnyEnd).
  ~Workspace();

  const fs::path& folder() const { return lock_.path(); }
  fs::path File(std::string_view name) const { return folder() / name; }

 private:
  explicit Workspace(platform::LockedFolder lock);
  platform::LockedFolder lock_;
  EndCleanup cleanup_;
};

// Wipes the work folders in root whose program no longer runs.
std::vector<CleanFailure> WipeLeftoverWorkFolders(const fs::path& root);

}  // namespace pivolane::workspace
