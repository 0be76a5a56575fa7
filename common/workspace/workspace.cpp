#include "common/workspace/workspace.h"

#include <set>
#include <vector>

#include "common/errors.h"
#include "common/io/file.h"

namespace pivolane::workspace {

namespace {

bool IsSymlink(const fs::path& path) {
  std::error_code ec;
  return fs::is_symlink(fs::symlink_status(path, ec));
}

bool IsWorkingFileName(const fs::path& path) {
  return path.filename().string().starts_with(kWorkingFilePrefix);
}

// Wipes every regular file of folder that pick accepts, skipping the ones
// that failed once.
template <typename Pick>
std::vector<CleanFailure> WipeFiles(const fs::path& folder, Pick pick) {
  std::vector<CleanFailure> failures;
  std::set<fs::path> failed;
  for (;;) {
    std::error_code ec;
    fs::path next;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const fs::path& candidate = it->path();
      if (pick(candidate) && !failed.contains(candidate) && !it->is_directory(ec)) {
        next = candidate;
        break;
      }
    }
    if (next.empty()) return failures;
    try {
      WipeAndDeleteFile(next);
    } catch (const Failure& f) {
      failed.insert(next);
      failures.push_back({next, f.number(), f.description()});
    }
  }
}

// Wipes every file of folder and removes it.
void WipeFolderAway(const fs::path& folder) {
  WipeFiles(folder, [](const fs::path&) { return true; });
  std::error_code ec;
  fs::remove(folder, ec);  // fails harmlessly while files remain
}

}  // namespace

void OverwriteAndClose(io::File& file) {
  const std::uint64_t length = file.Size();
  const std::vector<std::uint8_t> zeros(
      static_cast<std::size_t>(std::min<std::uint64_t>(length, io::kChunkSize)), '0');
  for (std::uint64_t at = 0; at < length;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(length - at, zeros.size()));
    file.WriteAt(at, std::span(zeros.data(), n));
    at += n;
  }
  if (length > 0) file.Sync();
  file.Close();
}

void WipeAndDeleteFile(const fs::path& path) {
  if (!IsSymlink(path)) {
    io::File file(path, io::OpenMode::kReadWrite);
    OverwriteAndClose(file);
  }
  io::Remove(path);
}

void DiscardFile(const fs::path& path) noexcept {
  try {
    if (io::Exists(path)) WipeAndDeleteFile(path);
  } catch (const Failure&) {
    // The caller reports the failure that got it here; a file that could not
    // be overwritten (a full disk) is at least not left behind.
    std::error_code ec;
    fs::remove(path, ec);
  }
}

std::vector<CleanFailure> CleanWorkFolder(const fs::path& folder, int& slideCounter) {
  std::vector<CleanFailure> failures = WipeFiles(folder, IsWorkingFileName);
  slideCounter = 0;
  return failures;
}

fs::path NextWorkingFileName(const fs::path& folder, int& slideCounter) {
  for (;;) {
    ++slideCounter;
    fs::path candidate = folder / ("PivolaneImg" + std::to_string(slideCounter) + ".tmp");
    if (!io::Exists(candidate)) return candidate;
  }
}

Workspace Workspace::Open(const std::string& role) {
  return OpenIn(platform::PrivateWorkRoot(), role);
}

Workspace Workspace::OpenIn(const fs::path& root, const std::string& role) {
  WipeLeftoverWorkFolders(root);
  return Workspace(platform::LockedFolder::Create(root, role + "-"));
}

Workspace::Workspace(platform::LockedFolder lock)
    : lock_(std::move(lock)), cleanup_([folder = lock_.path()] { WipeFolderAway(folder); }) {}

Workspace::~Workspace() {
  if (lock_.path().empty()) return;  // moved from
  WipeFiles(folder(), [](const fs::path&) { return true; });
  lock_.RemoveIfEmpty();
}

std::vector<CleanFailure> WipeLeftoverWorkFolders(const fs::path& root) {
  std::vector<CleanFailure> failures;
  std::error_code ec;
  for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& folder = it->path();
    if (folder.filename().string().starts_with(".") || IsSymlink(folder) || !it->is_directory(ec)) {
      continue;
    }
    std::optional<platform::LockedFolder> lock = platform::LockedFolder::TryLock(folder);
    if (!lock) continue;  // its program is still running
    std::vector<CleanFailure> left = WipeFiles(folder, [](const fs::path&) { return true; });
    failures.insert(failures.end(), left.begin(), left.end());
    lock->RemoveIfEmpty();
  }
  return failures;
}

}  // namespace pivolane::workspace
