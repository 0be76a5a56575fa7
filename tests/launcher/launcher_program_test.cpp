// The launcher program itself, started as the desktop starts it.
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
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

}  // namespace
}  // namespace pivolane::launcher
