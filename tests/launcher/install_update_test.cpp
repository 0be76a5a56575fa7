#include <fcntl.h>
#include <linux/fs.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

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
  // Names of the pending files and backups that are left.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    for (const fs::path& folder : {temp_, app_}) {
      for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("MAJPivolane") || name.ends_with(".old")) names.push_back(name);
      }
    }
    return names;
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

}  // namespace
}  // namespace pivolane::launcher
