// The launcher program itself, started as the desktop starts it.
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <random>
#include <thread>

#include "common/platform/platform.h"
#include "tests/launcher/launcher_test_support.h"

namespace pivolane::launcher {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using pivolane::testing::WriteText;

class LauncherProgramTest : public ::testing::Test {
 protected:
  // The built launcher, copied into folder of the scratch home beside a
  // stand-in editor.
  fs::path InstallLauncher(const std::string& folder) {
    const fs::path app = home_ / folder;
    testing::WriteStandInEditor(app, record_);
    fs::copy_file(LAUNCHER_PROGRAM, app / "Pivolane");
    return app / "Pivolane";
  }

  testing::ScratchHome home_;
  fs::path record_ = home_ / "editor arguments";
};

TEST_F(LauncherProgramTest, TheDesktopEntryOfAFolderWithSpacesAndQuotesStartsTheEditor) {
  const fs::path launcher = InstallLauncher("my \"slide\" $shows `x` \\y's");
  ASSERT_TRUE(testing::WaitForExit(testing::StartProgram(launcher, {})));
  EXPECT_EQ(testing::WaitForText(record_), "0|");
  fs::remove(record_);

  const fs::path entry = home_.data() / "applications" / "pivolane.desktop";
  EXPECT_EQ(testing::RunCommand({"desktop-file-validate", entry.string()}).status, 0);
  // GLib reads the Exec line by the freedesktop rules, as file managers do.
  const fs::path document = home_ / "Mes diaporamas" / "vacances d'été.pvl";
  const auto launch = testing::RunCommand({"gio", "launch", entry.string(), document.string()});
  ASSERT_EQ(launch.status, 0) << launch.output;
  EXPECT_EQ(testing::WaitForText(record_), "1|" + document.string() + "|");
}

TEST_F(LauncherProgramTest, AnInstallationCutShortIsCompletedAtTheNextStart) {
  const fs::path launcher = InstallLauncher("program");
  const fs::path app = launcher.parent_path();
  const fs::path update = platform::UpdateFolder();
  WriteText(app / "a", "a 1");
  WriteText(update / "MAJPivolanea", "a 2");
  WriteText(update / "MAJPivolaneb", "b 2");
  // A folder where b goes stops the installation at b's box, which waits
  // (offscreen) until the launcher is killed.
  fs::create_directories(app / "b" / "inside");
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const pid_t first = testing::StartProgram(launcher, {});
  for (auto waited = 0ms; waited < 10s && fs::exists(update / "MAJPivolanea"); waited += 10ms) {
    std::this_thread::sleep_for(10ms);
  }
  std::this_thread::sleep_for(100ms);
  ASSERT_EQ(::waitpid(first, nullptr, WNOHANG), 0) << "the launcher did not wait at the box";
  ::kill(first, SIGKILL);
  ::waitpid(first, nullptr, 0);
  EXPECT_EQ(testing::ReadText(app / "a"), "a 2");
  EXPECT_EQ(testing::ReadText(app / "a.old"), "a 1");
  EXPECT_TRUE(fs::exists(update / "MAJPivolaneb"));
  EXPECT_FALSE(fs::exists(record_));

  fs::remove_all(app / "b");
  ASSERT_TRUE(testing::WaitForExit(testing::StartProgram(launcher, {})));
  ::unsetenv("QT_QPA_PLATFORM");
  EXPECT_EQ(testing::WaitForText(record_), "0|");
  EXPECT_EQ(testing::ReadText(app / "a"), "a 2");
  EXPECT_EQ(testing::ReadText(app / "b"), "b 2");
  EXPECT_TRUE(fs::is_empty(update));
  EXPECT_FALSE(fs::exists(app / "a.old"));
}

// Whether the installation ends rolled back: a folder where one of the files
// goes fails it at every start, and without a display every box answers
// Cancel.
class KilledInstallationTest : public LauncherProgramTest,
                               public ::testing::WithParamInterface<bool> {
 protected:
  // The launcher that the update client put in place, with its backup (the
  // same program with bytes after it), three program files and their new
  // versions, in a folder of its own for each run (the editor that a run
  // started may still write beside it).
  fs::path Arrange(int run) {
    const fs::path launcher = InstallLauncher("program " + std::to_string(run));
    pivolane::testing::WriteBytes(launcher.string() + ".old", Version("Pivolane", 1));
    fs::permissions(launcher.string() + ".old", fs::perms::owner_all);
    for (const std::string name : {"a", "b", "d"}) {
      pivolane::testing::WriteBytes(launcher.parent_path() / name, Version(name, 1));
      pivolane::testing::WriteBytes(update_ / ("MAJPivolane" + name), Version(name, 2));
    }
    if (GetParam()) {
      fs::create_directories(launcher.parent_path() / "c" / "inside");
      WriteText(update_ / "MAJPivolanec", "c 2");
    }
    return launcher;
  }
  pivolane::testing::Bytes Version(const std::string& name, unsigned version) const {
    if (name != "Pivolane") return pivolane::testing::PatternBytes(1 << 20, version * 16 + name[0]);
    auto bytes = pivolane::testing::ReadBytes(LAUNCHER_PROGRAM);
    if (version == 1) bytes.push_back('1');
    return bytes;
  }

  const fs::path update_ = platform::UpdateFolder();
};

TEST_P(KilledInstallationTest, TheNextStartFinishesWhatAKilledOneBegan) {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) ::unsetenv(name);
  const unsigned start = std::random_device()();
  SCOPED_TRACE("random start " + std::to_string(start));
  std::mt19937 random(start);
  std::chrono::microseconds wholeRun{};  // of the first run, which is not killed
  for (int run = 0; run < 12; ++run) {
    SCOPED_TRACE("run " + std::to_string(run));
    const fs::path launcher = Arrange(run);
    const auto start = std::chrono::steady_clock::now();
    const pid_t first = testing::StartProgram(launcher, {});
    if (run > 0) {
      std::this_thread::sleep_for(std::chrono::microseconds(
          std::uniform_int_distribution<std::int64_t>(0, wholeRun.count())(random)));
      ::kill(first, SIGKILL);
    }
    ASSERT_EQ(::waitpid(first, nullptr, 0), first);
    if (run == 0) {
      wholeRun = std::chrono::duration_cast<std::chrono::microseconds>(
          std::chrono::steady_clock::now() - start);
    }
    ASSERT_TRUE(testing::WaitForExit(testing::StartProgram(launcher, {})));
    const unsigned version = GetParam() ? 1 : 2;
    for (const std::string name : {"Pivolane", "a", "b", "d"}) {
      EXPECT_EQ(pivolane::testing::ReadBytes(launcher.parent_path() / name), Version(name, version))
          << name;
    }
    EXPECT_TRUE(testing::InstallationLeftovers({launcher.parent_path(), update_}).empty());
  }
}

INSTANTIATE_TEST_SUITE_P(InstalledOrRolledBack, KilledInstallationTest, ::testing::Bool(),
                         [](const auto& info) {
                           return std::string(info.param ? "RolledBack" : "Installed");
                         });

}  // namespace
}  // namespace pivolane::launcher
