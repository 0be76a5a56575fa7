#include <fcntl.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <map>
#include <random>

#include "common/errors.h"
#include "common/io/file.h"
#include "common/platform/linux/xdg_base_dirs.h"
#include "common/platform/platform.h"

namespace pivolane::platform {

fs::path TempFolder() {
  const char* tmpdir = std::getenv("TMPDIR");
  if (tmpdir != nullptr && *tmpdir != '\0') return fs::path(tmpdir);
  return fs::path("/tmp");
}

namespace {

// Creates folder with mode 0700 when it is missing, then makes sure that it is
// a real folder of this user that nobody else can enter.
void EnsurePrivateFolder(const fs::path& folder) {
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) io::ThrowSystemError(errno, folder);
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0) io::ThrowSystemError(errno, folder);
  const auto refuse = [&](const std::string& why) {
    throw Failure(error_number::kPermissionDenied,
                  "The folder " + folder.string() + " " + why + "; remove it and start again");
  };
  if (S_ISLNK(st.st_mode)) refuse("is a symbolic link");
  if (!S_ISDIR(st.st_mode)) refuse("is not a folder");
  if (st.st_uid != ::getuid()) refuse("belongs to another user");
  if ((st.st_mode & 077) != 0) refuse("is open to other users");
}

}  // namespace

fs::path PrivateWorkRoot() {
  const fs::path root = TempFolder() / ("pivolane-" + std::to_string(::getuid()));
  EnsurePrivateFolder(root);
  return root;
}

fs::path UpdateFolder() {
  const fs::path cache = xdg::CacheHome();
  xdg::CreateFolders(cache / "pivolane");
  const fs::path folder = cache / "pivolane" / "update";
  EnsurePrivateFolder(folder);
  return folder;
}

fs::path OwnProgramFile() {
  // The link itself, not the name it shows: it stays valid when the file is
  // renamed or removed while the program runs.
  return fs::path("/proc/self/exe");
}

fs::path ProgramFolder() {
  std::error_code ec;
  const fs::path program = fs::read_symlink(OwnProgramFile(), ec);
  if (ec) io::ThrowSystemError(ec.value(), OwnProgramFile());
  return program.parent_path();
}

std::string LocaleLanguageName() {
  // The same precedence as the C library's message catalogues.
  const char* value = nullptr;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    value = std::getenv(name);
    if (value != nullptr && *value != '\0') break;
  }
  if (value == nullptr || *value == '\0') return {};
  const std::string locale(value);
  const std::string code = locale.substr(0, locale.find_first_of("_.@"));
  static const std::map<std::string, std::string> kNames = {
      {"fr", "French"},   {"en", "English"}, {"de", "German"},     {"es", "Spanish"},
      {"it", "Italian"},  {"nl", "Dutch"},   {"pt", "Portuguese"}, {"ca", "Catalan"},
      {"br", "Breton"},   {"oc", "Occitan"}, {"pl", "Polish"},     {"ru", "Russian"},
      {"sv", "Swedish"},  {"da", "Danish"},  {"fi", "Finnish"},    {"nb", "Norwegian"},
      {"ja", "Japanese"}, {"zh", "Chinese"}, {"ar", "Arabic"},     {"el", "Greek"}};
  const auto found = kNames.find(code);
  return found == kNames.end() ? std::string() : found->second;
}

namespace {

// argv for posix_spawn: the words, then a null pointer.
std::vector<char*> ArgumentVector(std::vector<std::string>& words) {
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  return argv;
}

}  // namespace

void StartDetachedOrThrow(const fs::path& program, const std::vector<std::string>& args) {
  std::vector<std::string> words = {program.string()};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv = ArgumentVector(words);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // A session of its own: closing the starter's terminal does not end it.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  pid_t pid = 0;
  const int result = ::posix_spawn(&pid, argv[0], nullptr, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  if (result != 0) io::ThrowSystemError(result, program);
}

bool StartDetached(const fs::path& program, const std::vector<std::string>& args) {
  try {
    StartDetachedOrThrow(program, args);
    return true;
  } catch (const Failure&) {
    return false;
  }
}

std::optional<int> RunAndWait(const std::string& program, const std::vector<std::string>& args) {
  std::vector<std::string> words = {program};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv = ArgumentVector(words);
  pid_t pid = 0;
  if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    return std::nullopt;
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return std::nullopt;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

unsigned CurrentUmask() {
  // The mask can only be read by setting it; set it straight back.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

double RandomUnit() {
  static std::mt19937 generator(static_cast<std::uint32_t>(
      std::chrono::steady_clock::now().time_since_epoch().count() ^
      std::chrono::system_clock::now().time_since_epoch().count() ^ ::getpid()));
  return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

bool IsConnected() {
  ifaddrs* interfaces = nullptr;
  if (::getifaddrs(&interfaces) != 0) return false;
  bool up = false;
  for (const ifaddrs* i = interfaces; i != nullptr && !up; i = i->ifa_next) {
    up = (i->ifa_flags & IFF_UP) != 0 && (i->ifa_flags & IFF_LOOPBACK) == 0;
  }
  ::freeifaddrs(interfaces);
  return up;
}

bool AutoDial() {
  return false;
}

void HangUpAutoDial() {}

bool IsWritableFolder(const fs::path& folder) {
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

namespace {

// A lock held on the folder itself, so that no lock file can be wiped.
int LockFolderFd(const fs::path& folder, bool wait) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

LockedFolder LockedFolder::Create(const fs::path& root, const std::string& prefix) {
  // Made under a dot name that leftover sweeps ignore, locked, then given its
  // real name: no sweep can take it for a leftover in between.
  std::string pending = (root / (".new-" + prefix + "XXXXXX")).string();
  if (::mkdtemp(pending.data()) == nullptr) io::ThrowSystemError(errno, root);
  const int fd = LockFolderFd(pending, true);
  if (fd < 0) {
    const int err = errno;
    ::rmdir(pending.c_str());
    io::ThrowSystemError(err, pending);
  }
  const std::string suffix = pending.substr(pending.size() - 6);
  const fs::path final_path = root / (prefix + suffix);
  if (::rename(pending.c_str(), final_path.c_str()) != 0) {
    const int err = errno;
    ::close(fd);
    ::rmdir(pending.c_str());
    io::ThrowSystemError(err, final_path);
  }
  return LockedFolder(final_path, fd);
}

std::optional<LockedFolder> LockedFolder::TryLock(const fs::path& folder) {
  const int fd = LockFolderFd(folder, false);
  if (fd < 0) return std::nullopt;
  return LockedFolder(folder, fd);
}

LockedFolder::LockedFolder(LockedFolder&& other) noexcept
    : path_(std::move(other.path_)), fd_(other.fd_) {
  other.path_.clear();
  other.fd_ = -1;
}

LockedFolder& LockedFolder::operator=(LockedFolder&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    path_ = std::move(other.path_);
    fd_ = other.fd_;
    other.path_.clear();
    other.fd_ = -1;
  }
  return *this;
}

LockedFolder::~LockedFolder() {
  if (fd_ >= 0) ::close(fd_);
}

void LockedFolder::RemoveIfEmpty() {
  if (fd_ < 0) return;
  ::rmdir(path_.c_str());  // fails harmlessly while files remain
  ::close(fd_);
  fd_ = -1;
}

}  // namespace pivolane::platform
