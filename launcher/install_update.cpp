#include "launcher/install_update.h"

#include <optional>
#include <set>
#include <string>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/workspace/workspace.h"
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

bool IsPendingName(const std::string& name) {
  if (!IsUpdateFileName(name)) return false;
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

fs::path TargetOfBackup(const fs::path& backup) {
  const std::string name = backup.string();
  return name.substr(0, name.size() - kBackupEnding.size());
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

// Installs the pending files one by one; false when the user cancelled.
bool InstallPendingFiles(const fs::path& tempFolder, const fs::path& appFolder,
                         LauncherPrompts& prompts) {
  for (;;) {
    std::optional<fs::path> pending;
    if (!AttemptStep(prompts, [&] { pending = FirstFile(tempFolder, IsPendingName); })) {
      return false;
    }
    if (!pending) return true;
    const fs::path target = appFolder / TargetName(pending->filename().string());
    const fs::path backup = BackupOf(target);
    // A backup that is already there was left by an installation that was cut
    // short: it holds the file as it was before that one, so it is kept.
    if (!AttemptStep(prompts, [&] {
          if (io::Exists(target) && !io::Exists(backup)) {
            CopyReplacing(target, backup, ModeOf(target));
          }
        })) {
      return false;
    }
    // A replaced file keeps its mode; a new one takes the pending file's.
    if (!AttemptStep(prompts, [&] {
          CopyReplacing(*pending, target, ModeOf(io::Exists(target) ? target : *pending));
        })) {
      return false;
    }
    if (!AttemptStep(prompts, [&] { io::Remove(*pending); })) return false;
  }
}

// Copies every backup of appFolder back over its target, once each. A backup
// that cannot be restored is put to the user; Cancel goes on with the others.
void RestoreBackups(const fs::path& appFolder, LauncherPrompts& prompts) {
  std::set<fs::path> restored;
  for (;;) {
    std::optional<fs::path> backup;
    if (!AttemptStep(prompts, [&] { backup = FirstFile(appFolder, IsBackupName, restored); })) {
      return;
    }
    if (!backup) return;
    restored.insert(*backup);
    AttemptStep(prompts, [&] { CopyReplacing(*backup, TargetOfBackup(*backup), ModeOf(*backup)); });
  }
}

void DeleteFiles(const fs::path& folder, NamePick pick, LauncherPrompts& prompts) {
  std::set<fs::path> kept;
  for (;;) {
    std::optional<fs::path> next;
    if (!AttemptStep(prompts, [&] { next = FirstFile(folder, pick, kept); })) return;
    if (!next) return;
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
  // Cancel puts the former files back; a cleaning failure after a complete
  // installation never undoes it.
  if (!InstallPendingFiles(tempFolder, appFolder, prompts)) RestoreBackups(appFolder, prompts);
  CleanUpdateFiles(tempFolder, appFolder, prompts);
}

void CleanUpdateFiles(const fs::path& tempFolder, const fs::path& appFolder,
                      LauncherPrompts& prompts) {
  DeleteFiles(tempFolder, IsUpdateFileName, prompts);
  DeleteFiles(appFolder, IsBackupName, prompts);
}

}  // namespace pivolane::launcher
