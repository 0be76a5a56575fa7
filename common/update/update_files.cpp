#include "common/update/update_files.h"

#include <array>
#include <cerrno>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/platform/platform.h"
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

// True for an ELF program or a script.
bool IsProgram(const fs::path& path) {
  const io::File file(path, io::OpenMode::kRead);
  std::array<std::uint8_t, 4> head{};
  if (file.Size() < head.size()) return false;
  file.ReadAt(0, head);
  return (head[0] == 0x7F && head[1] == 'E' && head[2] == 'L' && head[3] == 'F') ||
         (head[0] == '#' && head[1] == '!');
}

}  // namespace

fs::path PendingFile(const fs::path& updateFolder, std::string_view name) {
  return updateFolder / (std::string(kPendingPrefix) + std::string(name));
}

fs::path StagedFile(const fs::path& updateFolder, std::string_view name) {
  return updateFolder / ("." + std::string(kPendingPrefix) + std::string(name));
}

io::File CreateNewFile(const fs::path& path) {
  std::error_code ec;
  fs::remove(path, ec);
  if (ec) io::ThrowSystemError(ec.value(), path);
  return io::File(path, io::OpenMode::kCreateExclusive);
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
  const auto allowed = static_cast<fs::perms>(~platform::CurrentUmask()) & fs::perms::mask;
  for (const std::string& name : names) {
    const fs::path pending = PendingFile(updateFolder, name);
    io::Rename(StagedFile(updateFolder, name), pending);
    const fs::perms mode = IsProgram(pending) ? fs::perms(0755) : fs::perms(0644);
    std::error_code ec;
    fs::permissions(pending, mode & allowed, ec);
    if (ec) io::ThrowSystemError(ec.value(), pending);
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
