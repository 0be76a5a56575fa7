#include "common/update/update_files.h"

#include <cerrno>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/workspace/workspace.h"

namespace pivolane::update {

namespace {

bool IsDownloadName(const std::string& name) {
  return name.starts_with(kPendingPrefix) || name.starts_with("." + std::string(kPendingPrefix));
}

// Writes target whole from source, with permissions mode.
void CopyWithMode(const fs::path& source, const fs::path& target, fs::perms mode) {
  const io::File from(source, io::OpenMode::kRead);
  workspace::WriteFileReplacing(target, [&](io::File& to) {
    io::CopyRange(from, 0, from.Size(), to);
    to.SetMode(static_cast<unsigned>(mode));
  });
}

}  // namespace

fs::path PendingFile(const fs::path& updateFolder, std::string_view name) {
  return updateFolder / (std::string(kPendingPrefix) + std::string(name));
}

fs::path StagedFile(const fs::path& updateFolder, std::string_view name) {
  return updateFolder / ("." + std::string(kPendingPrefix) + std::string(name));
}

void DeleteDownloads(const fs::path& updateFolder) {
  std::error_code ec;
  std::vector<fs::path> found;
  for (fs::directory_iterator it(updateFolder, ec), end; !ec && it != end; it.increment(ec)) {
    if (IsDownloadName(it->path().filename().string()) && !it->is_directory(ec)) {
      found.push_back(it->path());
    }
  }
  if (ec) io::ThrowSystemError(ec.value(), updateFolder);
  for (const fs::path& path : found) io::Remove(path);
}

void PublishDownloads(const fs::path& updateFolder, const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    io::Rename(StagedFile(updateFolder, name), PendingFile(updateFolder, name));
  }
}

void ReplaceLauncher(const fs::path& programFolder, const fs::path& newLauncher) {
  const fs::path launcher = programFolder / kLauncherName;
  std::error_code ec;
  const fs::file_status status = fs::status(launcher, ec);
  if (ec || !fs::is_regular_file(status)) {
    io::ThrowSystemError(ec ? ec.value() : ENOENT, launcher);
  }
  const fs::perms mode = status.permissions() & fs::perms::mask;
  CopyWithMode(launcher, programFolder / (std::string(kLauncherName) + std::string(kBackupSuffix)),
               mode);
  CopyWithMode(newLauncher, launcher, mode);
}

}  // namespace pivolane::update
