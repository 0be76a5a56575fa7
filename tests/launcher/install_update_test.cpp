#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <map>
#include <optional>

#include "common/version.h"
#include "launcher/install_update.h"
#include "tests/launcher/launcher_test_support.h"

namespace pivolane::launcher {
namespace {

namespace fs = std::filesystem;
using pivolane::testing::WriteText;
using testing::ScriptedPrompts;
using Answer = LauncherPrompts::Answer;

unsigned Mode(const fs::path& path) {
  return static_cast<unsigned>(fs::status(path).permissions() & fs::perms::mask);
}

std::string BoxText(int number, const std::string& description) {
  return "ERROR " + std::to_string(number) + ": " + description + "\n" +
         "INSTALLATION DE LA MISE A JOUR VERSION " + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor) + std::to_string(kVersionRevision) + " IMPOSSIBLE !\n" +
         "Retour à la version précédente";
}

class InstallTest : public ::testing::Test {
 protected:
  InstallTest() {
    fs::create_directories(temp_);
    fs::create_directories(app_);
  }
  void Pending(const std::string& name, const std::string& content, unsigned mode = 0600) {
    WriteText(temp_ / ("MAJPivolane" + name), content);
    fs::permissions(temp_ / ("MAJPivolane" + name), static_cast<fs::perms>(mode));
  }
  void Installed(const std::string& name, const std::string& content, unsigned mode = 0755) {
    WriteText(app_ / name, content);
    fs::permissions(app_ / name, static_cast<fs::perms>(mode));
  }
  std::vector<std::string> Leftovers() const {
    return testing::InstallationLeftovers({temp_, app_});
  }
  void Install() { InstallUpdate(temp_, app_, prompts_); }

  pivolane::testing::ScratchFolder dir_;
  fs::path temp_ = dir_ / "update";
  fs::path app_ = dir_ / "program";
  ScriptedPrompts prompts_;
};

TEST_F(InstallTest, NoPendingFileCopiesNothingAndStillDeletesEveryBackup) {
  Installed("pivedit", "editor");
  Installed("pivedit.old", "older editor");
  Installed("Pivolane.old", "older launcher");
  Install();
  EXPECT_EQ(testing::ReadText(app_ / "pivedit"), "editor");
  EXPECT_TRUE(Leftovers().empty());
  EXPECT_TRUE(prompts_.texts.empty());
}

TEST_F(InstallTest, EveryPendingFileReplacesItsTargetKeepingItsModeAndNothingIsLeft) {
  Installed("pivedit", "editor 1", 0750);
  Installed("pivtool", "tool 1", 0700);
  Installed("readme", "readme 1", 0644);
  Pending("pivedit", "editor 2");
  Pending("pivtool", "tool 2");
  Pending("readme", "readme 2");
  // A new target: no backup, and the mode it had in the update folder.
  Pending("pivhelp", "help 2", 0751);
  Install();
  EXPECT_EQ(testing::ReadText(app_ / "pivedit"), "editor 2");
  EXPECT_EQ(testing::ReadText(app_ / "pivtool"), "tool 2");
  EXPECT_EQ(testing::ReadText(app_ / "readme"), "readme 2");
  EXPECT_EQ(testing::ReadText(app_ / "pivhelp"), "help 2");
  EXPECT_EQ(Mode(app_ / "pivedit"), 0750u);
  EXPECT_EQ(Mode(app_ / "pivtool"), 0700u);
  EXPECT_EQ(Mode(app_ / "readme"), 0644u);
  EXPECT_EQ(Mode(app_ / "pivhelp"), 0751u);
  EXPECT_TRUE(Leftovers().empty());
  EXPECT_TRUE(prompts_.texts.empty());
}

// What makes installing the second file "pivedit" fail, and how it goes away.
struct FailureCause {
  const char* name;
  int number;
  const char* description;
  // Sets the cause up; the target's content is the returned text.
  std::function<std::string(const fs::path& target)> arrange;
  std::function<void(const fs::path& target)> remove;
};

// Test names and messages show the case by its name.
void PrintTo(const FailureCause& value, std::ostream* out) {
  *out << value.name;
}

pid_t g_running = -1;

std::vector<FailureCause> Causes() {
  return {
      {"TargetInUse", 70, std::strerror(ETXTBSY),
       [](const fs::path& target) {
         // A running program cannot be written.
         fs::copy_file("/bin/sleep", target);
         g_running = testing::StartProgram(target, {"60"});
         return testing::ReadText(target);
       },
       [](const fs::path&) {
         if (g_running <= 0) return;
         ::kill(g_running, SIGKILL);
         ::waitpid(g_running, nullptr, 0);
         g_running = -1;
       }},
      {"FolderInTheWay", 75, std::strerror(EISDIR),
       [](const fs::path& target) {
         fs::create_directories(target / "inside");
         return std::string();
       },
       [](const fs::path& target) { fs::remove_all(target); }},
  };
}

class InstallFailureTest : public InstallTest, public ::testing::WithParamInterface<FailureCause> {
 protected:
  InstallFailureTest() {
    Installed("Pivolane", "launcher 1");
    Pending("Pivolane", "launcher 2");
    Pending("pivedit", "editor 2");
    before_ = GetParam().arrange(app_ / "pivedit");
  }
  ~InstallFailureTest() override { GetParam().remove(app_ / "pivedit"); }
  std::string before_;
};

TEST_P(InstallFailureTest, CancelRestoresTheFirstFileLeavesTheSecondAndCleansUp) {
  Install();
  ASSERT_FALSE(prompts_.texts.empty());
  EXPECT_EQ(prompts_.titles[0], "Pivolane : MainQXM Install Update");
  EXPECT_EQ(prompts_.texts[0], BoxText(GetParam().number, GetParam().description));
  EXPECT_EQ(testing::ReadText(app_ / "Pivolane"), "launcher 1");
  if (fs::is_regular_file(app_ / "pivedit")) {
    EXPECT_EQ(testing::ReadText(app_ / "pivedit"), before_);
  }
  EXPECT_TRUE(Leftovers().empty());
}

TEST_P(InstallFailureTest, RetryAfterTheCauseIsRemovedCompletesTheInstallation) {
  prompts_.answer = [&] {
    GetParam().remove(app_ / "pivedit");
    return Answer::kRetry;
  };
  Install();
  EXPECT_EQ(prompts_.texts.size(), 1u);
  EXPECT_EQ(testing::ReadText(app_ / "Pivolane"), "launcher 2");
  EXPECT_EQ(testing::ReadText(app_ / "pivedit"), "editor 2");
  EXPECT_TRUE(Leftovers().empty());
}

INSTANTIATE_TEST_SUITE_P(Causes, InstallFailureTest, ::testing::ValuesIn(Causes()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstallTest, CancelPutsBackTheUpdateClientsLauncherBackupButNeverAStaleOne) {
  // The update client replaced the launcher and left its backup.
  Installed("Pivolane", "launcher 2");
  Installed("Pivolane.old", "launcher 1");
  Installed("a", "a 1");
  Installed("a.old", "a 0, left by an earlier installation");
  Pending("a", "a 2");
  Pending("b", "b 2");
  fs::create_directories(app_ / "b" / "inside");
  Install();
  EXPECT_EQ(prompts_.texts.size(), 1u);
  EXPECT_EQ(testing::ReadText(app_ / "Pivolane"), "launcher 1");
  EXPECT_EQ(testing::ReadText(app_ / "a"), "a 1");
  EXPECT_TRUE(Leftovers().empty());
}

TEST_F(InstallTest, ALinkAtTheRecordsPlaceIsNeverFollowed) {
  Installed("victim", "not the launcher's");
  fs::create_symlink(app_ / "victim", temp_ / "installation");
  Installed("a", "a 1");
  Pending("a", "a 2");
  Install();
  EXPECT_EQ(testing::ReadText(app_ / "victim"), "not the launcher's");
  EXPECT_EQ(testing::ReadText(app_ / "a"), "a 2");
  EXPECT_TRUE(Leftovers().empty());
}

// Room left on the program folder's file system, and whether the update
// folder shares it.
struct FullDisk {
  const char* name;
  std::uintmax_t room;
  bool updateFolderOnIt;
};

// Test names and messages show the case by its name.
void PrintTo(const FullDisk& value, std::ostream* out) {
  *out << value.name;
}

// Three program files on a small file system of their own, a new version of
// each waiting, and a filler that leaves the room of the case.
class FullDiskTest : public InstallTest, public ::testing::WithParamInterface<FullDisk> {
 protected:
  void SetUp() override {
    fs::create_directories(disk_);
    if (::mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=4m") != 0) {
      GTEST_SKIP() << "no file system can be mounted here: " << std::strerror(errno);
    }
    mounted_ = true;
    app_ = disk_ / "program";
    if (GetParam().updateFolderOnIt) temp_ = disk_ / "update";
    fs::create_directories(app_);
    fs::create_directories(temp_);
    for (const auto& [name, size] : files_) {
      Installed(name, std::string(size, '1'));
      Pending(name, std::string(size, '2'));
    }
    struct statvfs room {};
    ASSERT_EQ(::statvfs(disk_.c_str(), &room), 0);
    const std::uintmax_t free = std::uintmax_t{room.f_bavail} * room.f_frsize;
    ASSERT_GE(free, GetParam().room);
    WriteText(disk_ / "filler", std::string(free - GetParam().room, '0'));
  }
  ~FullDiskTest() override {
    if (mounted_) ::umount2(disk_.c_str(), MNT_DETACH);
  }

  const fs::path disk_ = dir_ / "disk";
  bool mounted_ = false;
  const std::map<std::string, std::size_t> files_ = {
      {"pivedit", 300 << 10}, {"a", 150 << 10}, {"b", 150 << 10}};
};

TEST_P(FullDiskTest, CancelLeavesEveryFileAsItWas) {
  Install();
  EXPECT_FALSE(prompts_.texts.empty());
  for (const auto& [name, size] : files_) {
    EXPECT_EQ(testing::ReadText(app_ / name), std::string(size, '1')) << name;
  }
  EXPECT_TRUE(Leftovers().empty());
}

INSTANTIATE_TEST_SUITE_P(Rooms, FullDiskTest,
                         ::testing::Values(FullDisk{"NoneForAnything", 0, true},
                                           FullDisk{"NoneForAFile", 60 << 10, false},
                                           FullDisk{"ForTwoFiles", 350 << 10, false},
                                           FullDisk{"ForOneFileBesideTheUpdate", 200 << 10, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A backup that cannot be deleted (immutable, which stops root too).
class Undeletable {
 public:
  explicit Undeletable(const fs::path& path) : fd_(::open(path.c_str(), O_RDONLY)) {
    int flags = 0;
    set_ = fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0 &&
           (flags |= FS_IMMUTABLE_FL, ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0);
  }
  ~Undeletable() {
    int flags = 0;
    if (set_ && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
      flags &= ~FS_IMMUTABLE_FL;
      ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
    }
    if (fd_ >= 0) ::close(fd_);
  }
  bool set() const { return set_; }

 private:
  int fd_;
  bool set_ = false;
};

TEST_F(InstallTest, ABackupThatCannotBeDeletedNeverUndoesACompleteInstallation) {
  Installed("pivedit", "editor 1");
  Installed("pivtool", "tool 1");
  Pending("pivedit", "editor 2");
  Pending("pivtool", "tool 2");
  Installed("stale.old", "left by an earlier start");
  const Undeletable stuck(app_ / "stale.old");
  if (!stuck.set()) GTEST_SKIP() << "files cannot be made immutable here";
  Install();
  ASSERT_EQ(prompts_.texts.size(), 1u);
  EXPECT_EQ(prompts_.texts[0], BoxText(70, std::strerror(EPERM)));
  EXPECT_EQ(testing::ReadText(app_ / "pivedit"), "editor 2");
  EXPECT_EQ(testing::ReadText(app_ / "pivtool"), "tool 2");
  EXPECT_EQ(Leftovers(), std::vector<std::string>{"stale.old"});
}

TEST_F(InstallTest, ABackupThatCannotBePutBackIsToldAndKeptForTheNextStart) {
  Installed("a", "a 1");
  Pending("a", "a 2");
  Pending("b", "b 2");
  fs::create_directories(app_ / "b" / "inside");
  std::optional<Undeletable> stuck;
  prompts_.answer = [&] {
    if (!stuck) stuck.emplace(app_ / "a");  // the new a, once b has failed
    return Answer::kCancel;
  };
  Install();
  ASSERT_TRUE(stuck.has_value());
  if (!stuck->set()) GTEST_SKIP() << "files cannot be made immutable here";
  ASSERT_EQ(prompts_.texts.size(), 2u);
  EXPECT_EQ(prompts_.titles[1], "Pivolane : MainQXM Install Update");
  EXPECT_EQ(prompts_.texts[1], BoxText(70, std::strerror(EPERM)));
  EXPECT_EQ(testing::ReadText(app_ / "a.old"), "a 1");
  EXPECT_TRUE(fs::exists(temp_ / "MAJPivolaneb"));

  stuck.reset();
  Install();
  EXPECT_EQ(prompts_.texts.size(), 2u);
  EXPECT_EQ(testing::ReadText(app_ / "a"), "a 1");
  EXPECT_TRUE(Leftovers().empty());
}

}  // namespace
}  // namespace pivolane::launcher
