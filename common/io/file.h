// Binary files at byte positions, on top of the system's file descriptors.
// Every system failure becomes a Failure with the classic error number
// (53, 61, 70, 75, 76) and the system's own description.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace pivolane::io {

namespace fs = std::filesystem;

// Bytes moved per read or write by the streaming helpers: large shows never
// need their size in memory.
inline constexpr std::size_t kChunkSize = 1 << 20;

enum class OpenMode {
  kRead,                  // existing file, read only
  kReadWrite,             // existing file, read and write, not truncated
  kCreatePrivate,         // create or truncate, mode 0600: working files
  kCreateExclusive,       // create a new file, mode 0600; fails when it exists
  kCreateExclusiveShared  // a new file for the user: mode 0666 less the umask
};

class File {
 public:
  File() = default;
  File(const fs::path& path, OpenMode mode);
  // A new file in target's folder that has no name yet, so that nothing of it
  // is left when the program ends before it is complete (mode 0666 less the
  // umask); nullopt when the file system cannot make such a file. Until
  // LinkAs names it, path() is target, which failures mention.
  static std::optional<File> CreateUnnamedBeside(const fs::path& target);
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool is_open() const { return fd_ >= 0; }
  const fs::path& path() const { return path_; }

  std::uint64_t Size() const;
  // Reads exactly data.size() bytes at offset; a file too short is damaged.
  void ReadAt(std::uint64_t offset, std::span<std::uint8_t> data) const;
  void WriteAt(std::uint64_t offset, std::span<const std::uint8_t> data);
  void Append(std::span<const std::uint8_t> data);
  void Truncate(std::uint64_t length);
  void Sync();
  // Starts putting length bytes at offset on the disk, without waiting, so
  // that a later Sync has less left to wait for. Advisory: the system may
  // decline.
  void StartWriteback(std::uint64_t offset, std::uint64_t length);
  void SetMode(unsigned mode);
  // The permission bits (rwx for owner, group and others).
  unsigned Mode() const;
  // Gives this file the permission bits of the regular file at other (not a
  // link), and its owner and group as far as the system allows; false, and
  // nothing changed, when there is no such file.
  bool TakePermissionsOf(const fs::path& other);
  // How many names the file has; 0 once the last one is gone.
  std::uint64_t LinkCount() const;
  // True when path names this very file (links followed), under any name.
  bool IsSameFileAs(const fs::path& path) const;
  // Gives a file made by CreateUnnamedBeside the name path, in the same
  // folder; false, and nothing changed, when path is taken.
  bool LinkAs(const fs::path& path);
  // Holds an exclusive lock on the file for as long as it stays open, waiting
  // while another holds one: a file in use for OpenAbandoned. The lock goes
  // with the process, however it ends.
  void Lock();
  // The regular file at path (a link is not followed) when no one holds it
  // locked: opened for writing and locked, so that nobody takes it up
  // meanwhile. nullopt when it is locked, gone or not a regular file.
  static std::optional<File> OpenAbandoned(const fs::path& path);
  // Flushes files to disk: one alone by itself, several at once with one
  // flush of each file system they lie on, far cheaper than one flush each
  // (it flushes what else waits there too, as the sync command does).
  static void SyncTogether(std::span<File* const> files);
  void Close();

 private:
  [[noreturn]] void Fail(int errnum) const;
  int fd_ = -1;
  fs::path path_;
};

// Raises the Failure for a system error number met on path.
[[noreturn]] void ThrowSystemError(int errnum, const fs::path& path);
// The classic number for a system error met on path.
int ClassicErrorNumber(int errnum, const fs::path& path);

bool Exists(const fs::path& path);
std::uint64_t FileSize(const fs::path& path);
void Remove(const fs::path& path);
void Rename(const fs::path& from, const fs::path& to);
// Gives the file at existing the second name newName, which must be free;
// false, and nothing made, where the file system cannot link that file (no
// hard links, another file system, a folder).
bool Link(const fs::path& existing, const fs::path& newName);
// The file that writing to path reaches: symbolic links are followed, as
// often as they chain, as the system follows them when it opens a file, except
// a link of another user in a shared folder (sticky and open to all, as /tmp).
// A missing file's path is returned as it is.
fs::path FollowLinksForWriting(const fs::path& path);
// Copies length bytes of source from offset to the end of target.
void CopyRange(const File& source, std::uint64_t offset, std::uint64_t length, File& target);
// Copies a whole file into a new private file (mode 0600), replacing target.
void CopyFile(const fs::path& source, const fs::path& target);

// Fault injection for tests: after budget more bytes have been written, every
// write fails as on a full disk. nullopt lifts the limit.
namespace testing {
void SetWriteBudget(std::optional<std::uint64_t> budget);
// Makes CreateUnnamedBeside answer as on a file system without unnamed files.
void SetUnnamedFilesAvailable(bool available);
}  // namespace testing

}  // namespace pivolane::io
