#include "launcher/install_update.h"

#include <optional>
#include <set>
#include <string>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/update/update_files.h"
#include "common/workspace/workspace.h"
#include "launcher/installation_journal.h"
#include "launcher/launcher_messages.h"

namespace pivolane::launcher {

namespace {

using NamePick = bool (*)(const std::string& name);

// The target of a pending file: its name after the prefix, a plain file name.
std::string TargetName(const std::string& pendingName) {
  return pendingName.substr(kUpdatePrefix.size());
}

bool IsUpdateFileName(const std::string& name) {
  return name.starts_with(kUpdatePrefix);
}

// A name that the journal can hold, one a line.
bool IsPendingName(const std::string& name) {
  if (!IsUpdateFileName(name) || name.find('\n') != std::string::npos) return false;
  const std::string target = TargetName(name);
  return !target.empty() && target != "." && target != "..";
}

bool IsBackupName(const std::string& name) {
  return name.size() > kBackupEnding.size() && name.ends_with(kBackupEnding);
}

// The first regular file of folder, in name order, that pick accepts and that
// is not in passed over. Links, folders and hidden files never match.
std::optional<fs::path> FirstFile(const fs::path& folder, NamePick pick,
                                  const std::set<fs::path>& passedOver = {}) {
  std::optional<fs::path> first;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& path = it->path();
    const std::string name = path.filename().string();
    std::error_code typeError;
    if (name.starts_with('.') || !pick(name) || passedOver.contains(path) ||
        it->symlink_status(typeError).type() != fs::file_type::regular) {
      continue;
    }
    if (!first || path < *first) first = path;
  }
  if (ec) io::ThrowSystemError(ec.value(), folder);
  return first;
}

unsigned ModeOf(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec) io::ThrowSystemError(ec.value(), path);
  return static_cast<unsigned>(status.permissions() & fs::perms::mask);
}

fs::path BackupOf(const fs::path& target) {
  return target.string() + std::string(kBackupEnding);
}

// Copies source over target through the replacing primitive, so that target
// is at every moment either its former self or the whole copy, with mode.
void CopyReplacing(const fs::path& source, const fs::path& target, unsigned mode) {
  workspace::WriteFileReplacing(target, [&](io::File& out) {
    const io::File in(source, io::OpenMode::kRead);
    io::CopyRange(in, 0, in.Size(), out);
    out.SetMode(mode);
  });
}

bool IsSymbolicLink(const fs::path& path) {
  std::error_code ec;
  return fs::is_symlink(fs::symlink_status(path, ec));
}

// A second name for the target's bytes: it needs no room, even on a full disk,
// and the replacing primitive leaves a file that another name links alone. A
// symbolic link is followed when the target is written, so its backup is a
// copy of what it leads to, as on a file system without hard links.
void MakeBackup(const fs::path& target, const fs::path& backup) {
  if (!IsSymbolicLink(target) && io::Link(target, backup)) return;
  CopyReplacing(target, backup, ModeOf(target));
}

// A rename needs no room and replaces a program that is running; through a
// symbolic link the backup is copied back into the file that it leads to.
void PutBackupBack(const fs::path& target) {
  const fs::path backup = BackupOf(target);
  if (!io::Exists(backup)) return;  // put back already, or never made
  if (IsSymbolicLink(target)) {
    CopyReplacing(backup, target, ModeOf(backup));
    io::Remove(backup);
  } else {
    io::Rename(backup, target);
  }
}

// Makes the backup of target for this installation, once. A backup that the
// journal does not list was left by something else (an earlier installation
// whose clean-up failed): it is deleted, never put back.
void BackUp(const fs::path& target, InstallationJournal& journal) {
  if (!io::Exists(target)) return;  // a new file: it stays after a rollback
  const fs::path backup = BackupOf(target);
  const std::string name = target.filename().string();
  if (!journal.Lists(name)) {
    if (io::Exists(backup)) io::Remove(backup);
    journal.Add(name);
  }
  if (!io::Exists(backup)) MakeBackup(target, backup);
}

// Installs the pending files one by one; false when the user cancelled.
bool InstallPendingFiles(const fs::path& tempFolder, const fs::path& appFolder,
                         InstallationJournal& journal, LauncherPrompts& prompts) {
  for (;;) {
    std::optional<fs::path> pending;
    if (!AttemptStep(prompts, [&] { pending = FirstFile(tempFolder, IsPendingName); })) {
      return false;
    }
    if (!pending) return true;
    // The update client backed the launcher up when it left these files.
    if (!journal.started() && !AttemptStep(prompts, [&] {
          const bool launcherSaved = io::Exists(BackupOf(appFolder / update::kLauncherName));
          journal.Begin(launcherSaved ? std::vector{std::string(update::kLauncherName)}
                                      : std::vector<std::string>());
        })) {
      return false;
    }
    const fs::path target = appFolder / TargetName(pending->filename().string());
    if (!AttemptStep(prompts, [&] { BackUp(target, journal); })) return false;
    // A replaced file keeps its mode; a new one takes the pending file's.
    if (!AttemptStep(prompts, [&] {
          CopyReplacing(*pending, target, ModeOf(io::Exists(target) ? target : *pending));
        })) {
      return false;
    }
    if (!AttemptStep(prompts, [&] { io::Remove(*pending); })) return false;
  }
}

// Puts back every backup that the journal lists; false when one could not be
// put back and the user gave up, which leaves everything for the next start.
bool RestoreBackups(const fs::path& appFolder, const InstallationJournal& journal,
                    LauncherPrompts& prompts) {
  for (const std::string& name : journal.names()) {
    if (!AttemptStep(prompts, [&] { PutBackupBack(appFolder / name); })) return false;
  }
  return true;
}

// Deletes every file of folder that pick accepts; false when one is left.
bool DeleteFiles(const fs::path& folder, NamePick pick, LauncherPrompts& prompts) {
  std::set<fs::path> kept;
  for (;;) {
    std::optional<fs::path> next;
    if (!AttemptStep(prompts, [&] { next = FirstFile(folder, pick, kept); })) return false;
    if (!next) return kept.empty();
    if (!AttemptStep(prompts, [&] { io::Remove(*next); })) kept.insert(*next);
  }
}

}  // namespace

bool AttemptStep(LauncherPrompts& prompts, const std::function<void()>& step) {
  for (;;) {
    try {
      step();
      return true;
    } catch (const Failure& failure) {
      const auto answer = prompts.RetryOrCancel(
          InstallFailureTitle(), InstallFailureText(failure.number(), failure.description()));
      if (answer == LauncherPrompts::Answer::kCancel) return false;
    }
  }
}

void InstallUpdate(const fs::path& tempFolder, const fs::path& appFolder,
                   LauncherPrompts& prompts) {
  InstallationJournal journal(tempFolder);
  if (!AttemptStep(prompts, [&] { journal.Read(); })) return;
  if (!journal.cancelled()) {
    if (InstallPendingFiles(tempFolder, appFolder, journal, prompts)) {
      // Complete: the record goes first, so that a backup that cannot be
      // deleted now is never taken for one of a later installation.
      if (AttemptStep(prompts, [&] { journal.Finish(); })) {
        CleanUpdateFiles(tempFolder, appFolder, prompts);
      }
      return;
    }
    if (!AttemptStep(prompts, [&] { journal.Cancel(); })) return;
  }
  // Cancelled: the pending files go only once every backup is back, and the
  // record only once they are gone, so that a later start never installs
  // what the user gave up.
  if (RestoreBackups(appFolder, journal, prompts) &&
      DeleteFiles(tempFolder, IsUpdateFileName, prompts) &&
      AttemptStep(prompts, [&] { journal.Finish(); })) {
    DeleteFiles(appFolder, IsBackupName, prompts);
  }
}

void CleanUpdateFiles(const fs::path& tempFolder, const fs::path& appFolder,
                      LauncherPrompts& prompts) {
  DeleteFiles(tempFolder, IsUpdateFileName, prompts);
  DeleteFiles(appFolder, IsBackupName, prompts);
}

}  // namespace pivolane::launcher
