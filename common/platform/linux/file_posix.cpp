#include "common/io/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "common/errors.h"

namespace pivolane::io {

namespace {

std::optional<std::uint64_t> g_write_budget;
bool g_unnamed_files_available = true;

// Consumes the test write budget; false when the write must fail.
bool TakeWriteBudget(std::size_t bytes) {
  if (!g_write_budget) return true;
  if (*g_write_budget < bytes) {
    *g_write_budget = 0;
    return false;
  }
  *g_write_budget -= bytes;
  return true;
}

int OpenFlags(OpenMode mode) {
  switch (mode) {
    case OpenMode::kRead:
      return O_RDONLY;
    case OpenMode::kReadWrite:
      return O_RDWR;
    case OpenMode::kCreatePrivate:
      return O_RDWR | O_CREAT | O_TRUNC;
    case OpenMode::kCreateExclusive:
    case OpenMode::kCreateExclusiveShared:
      return O_RDWR | O_CREAT | O_EXCL;
  }
  return O_RDONLY;
}

}  // namespace

namespace testing {
void SetWriteBudget(std::optional<std::uint64_t> budget) {
  g_write_budget = budget;
}
void SetUnnamedFilesAvailable(bool available) {
  g_unnamed_files_available = available;
}
}  // namespace testing

int ClassicErrorNumber(int errnum, const fs::path& path) {
  switch (errnum) {
    case ENOENT: {
      std::error_code ec;
      const fs::path parent = path.parent_path();
      if (!parent.empty() && !fs::is_directory(parent, ec)) return error_number::kPathNotFound;
      return error_number::kFileNotFound;
    }
    case ENOTDIR:
      return error_number::kPathNotFound;
    case EACCES:
    case EPERM:
    case ETXTBSY:
    case EBUSY:
    case EROFS:
      return error_number::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return error_number::kDiskFull;
    default:
      return error_number::kPathFileAccess;
  }
}

void ThrowSystemError(int errnum, const fs::path& path) {
  throw Failure(ClassicErrorNumber(errnum, path), std::strerror(errnum), path.string());
}

File::File(const fs::path& path, OpenMode mode) : path_(path) {
  const int flags = OpenFlags(mode) | O_CLOEXEC;
  const mode_t permissions = mode == OpenMode::kCreateExclusiveShared ? 0666 : 0600;
  do {
    fd_ = ::open(path.c_str(), flags, permissions);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) ThrowSystemError(errno, path);
}

std::optional<File> File::CreateUnnamedBeside(const fs::path& target) {
  if (!g_unnamed_files_available) return std::nullopt;
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  int fd = -1;
  do {
    fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    // EISDIR: a kernel without unnamed files; EOPNOTSUPP: a file system.
    if (errno == EOPNOTSUPP || errno == EISDIR) return std::nullopt;
    ThrowSystemError(errno, target);
  }
  File file;
  file.fd_ = fd;
  file.path_ = target;
  return file;
}

File::~File() {
  if (fd_ >= 0) ::close(fd_);
}

File::File(File&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
  other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    other.fd_ = -1;
  }
  return *this;
}

void File::Fail(int errnum) const {
  ThrowSystemError(errnum, path_);
}

std::uint64_t File::Size() const {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) Fail(errno);
  return static_cast<std::uint64_t>(st.st_size);
}

void File::ReadAt(std::uint64_t offset, std::span<std::uint8_t> data) const {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n =
        ::pread(fd_, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    if (n == 0) ThrowDamagedFile("the file ends before its data");
    done += static_cast<std::size_t>(n);
  }
}

void File::WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data) {
  if (!TakeWriteBudget(data.size())) Fail(ENOSPC);
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n =
        ::pwrite(fd_, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    done += static_cast<std::size_t>(n);
  }
}

void File::Append(std::span<const std::uint8_t> data) {
  WriteAt(Size(), data);
}

void File::Truncate(std::uint64_t length) {
  if (::ftruncate(fd_, static_cast<off_t>(length)) != 0) Fail(errno);
}

void File::Sync() {
  if (::fsync(fd_) != 0) Fail(errno);
}

void File::StartWriteback(std::uint64_t offset, std::uint64_t length) {
  // Only a hint: a file system without it still syncs in full later.
  static_cast<void>(::sync_file_range(fd_, static_cast<off_t>(offset), static_cast<off_t>(length),
                                      SYNC_FILE_RANGE_WRITE));
}

void File::SetMode(unsigned mode) {
  if (::fchmod(fd_, static_cast<mode_t>(mode)) != 0) Fail(errno);
}

unsigned File::Mode() const {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) Fail(errno);
  return st.st_mode & 0777;
}

bool File::TakePermissionsOf(const fs::path& other) {
  struct stat st {};
  if (::lstat(other.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  // The owner only root may give, the group any member of it; what the system
  // refuses stays this user's, as for any file the user makes.
  if (::fchown(fd_, st.st_uid, st.st_gid) != 0) {
    const bool groupKept = ::fchown(fd_, static_cast<uid_t>(-1), st.st_gid) == 0;
    static_cast<void>(groupKept);
  }
  SetMode(st.st_mode & 0777);
  return true;
}

std::uint64_t File::LinkCount() const {
  struct stat st {};
  if (::fstat(fd_, &st) != 0) Fail(errno);
  return st.st_nlink;
}

bool File::IsSameFileAs(const fs::path& path) const {
  struct stat mine {};
  struct stat other {};
  if (::fstat(fd_, &mine) != 0 || ::stat(path.c_str(), &other) != 0) return false;
  return mine.st_dev == other.st_dev && mine.st_ino == other.st_ino;
}

bool File::LinkAs(const fs::path& path) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd_);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0) {
    if (errno == EEXIST) return false;
    ThrowSystemError(errno, path);
  }
  path_ = path;
  return true;
}

void File::Lock() {
  int result = 0;
  do {
    result = ::flock(fd_, LOCK_EX);
  } while (result != 0 && errno == EINTR);
  if (result != 0) Fail(errno);
}

std::optional<File> File::OpenAbandoned(const fs::path& path) {
  File file;
  file.fd_ = ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (file.fd_ < 0) return std::nullopt;
  file.path_ = path;
  struct stat opened {};
  struct stat named {};
  // Once locked, the name must still lead to the file: its writer may have
  // put it in place and let it go meanwhile.
  if (::fstat(file.fd_, &opened) != 0 || !S_ISREG(opened.st_mode) ||
      ::flock(file.fd_, LOCK_EX | LOCK_NB) != 0 || ::lstat(path.c_str(), &named) != 0 ||
      named.st_dev != opened.st_dev || named.st_ino != opened.st_ino) {
    return std::nullopt;
  }
  return file;
}

void File::SyncTogether(std::span<File* const> files) {
  if (files.size() == 1) return files.front()->Sync();
  std::vector<dev_t> synced;
  for (File* file : files) {
    struct stat st {};
    if (::fstat(file->fd_, &st) != 0) file->Fail(errno);
    if (std::find(synced.begin(), synced.end(), st.st_dev) != synced.end()) continue;
    if (::syncfs(file->fd_) != 0) file->Fail(errno);
    synced.push_back(st.st_dev);
  }
}

void File::Close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) Fail(errno);
}

bool Exists(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

std::uint64_t FileSize(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) ThrowSystemError(errno, path);
  return static_cast<std::uint64_t>(st.st_size);
}

void Remove(const fs::path& path) {
  if (::unlink(path.c_str()) != 0) ThrowSystemError(errno, path);
}

void Rename(const fs::path& from, const fs::path& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) ThrowSystemError(errno, to);
}

bool Link(const fs::path& existing, const fs::path& newName) {
  if (::link(existing.c_str(), newName.c_str()) == 0) return true;
  if (errno == EPERM || errno == EOPNOTSUPP || errno == EXDEV || errno == EMLINK) return false;
  ThrowSystemError(errno, newName);
}

namespace {

// Whether the system would follow the link when opening it (the protection
// of shared folders against planted links).
bool FollowsLink(const fs::path& link, const struct stat& linkStat) {
  if (linkStat.st_uid == ::geteuid()) return true;
  const fs::path parent = link.parent_path().empty() ? fs::path(".") : link.parent_path();
  struct stat folder {};
  if (::stat(parent.c_str(), &folder) != 0) return false;
  const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
  return !shared || folder.st_uid == linkStat.st_uid;
}

}  // namespace

fs::path FollowLinksForWriting(const fs::path& path) {
  constexpr int kMostLinks = 40;  // as the system allows
  fs::path current = path;
  for (int links = 0; links <= kMostLinks; ++links) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode) || !FollowsLink(current, st)) {
      return current;
    }
    std::error_code ec;
    const fs::path next = fs::read_symlink(current, ec);
    if (ec) ThrowSystemError(ec.value(), current);
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  ThrowSystemError(ELOOP, path);
}

void CopyRange(const File& source, std::uint64_t offset, std::uint64_t length, File& target) {
  std::vector<std::uint8_t> buffer(
      static_cast<std::size_t>(std::min<std::uint64_t>(length, kChunkSize)));
  std::uint64_t at = target.Size();
  while (length > 0) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(length, buffer.size()));
    std::span<std::uint8_t> chunk(buffer.data(), n);
    source.ReadAt(offset, chunk);
    target.WriteAt(at, chunk);
    offset += n;
    at += n;
    length -= n;
  }
}

void CopyFile(const fs::path& source, const fs::path& target) {
  const File in(source, OpenMode::kRead);
  File out(target, OpenMode::kCreatePrivate);
  CopyRange(in, 0, in.Size(), out);
  out.Close();
}

}  // namespace pivolane::io
