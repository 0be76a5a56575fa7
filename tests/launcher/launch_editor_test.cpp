#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "launcher/launch_editor.h"
#include "tests/common/test_support.h"

namespace pivolane::launcher {
namespace {

namespace fs = std::filesystem;

TEST(LaunchEditor, StartsTheEditorBesideTheLauncherWithTheDocumentAsOneArgument) {
  testing::ScratchFolder dir;
  // A stand-in editor that writes down the arguments it was given.
  const fs::path record = dir / "arguments";
  {
    std::ofstream editor(dir / "pivedit");
    editor << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" << record.string() << ".part'\n"
           << "mv '" << record.string() << ".part' '" << record.string() << "'\n";
  }
  fs::permissions(dir / "pivedit", fs::perms::owner_all);
  EXPECT_EQ(EditorProgram(dir / "Pivolane"), dir / "pivedit");

  ASSERT_TRUE(LaunchEditor(dir / "Pivolane", {"/home/me/Mes diaporamas/vacances.pvl"}));
  for (int i = 0; i < 500 && !fs::exists(record); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::ifstream in(record);
  const std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(got, "1|/home/me/Mes diaporamas/vacances.pvl|");

  EXPECT_FALSE(LaunchEditor(dir / "missing" / "Pivolane", {}));
}

}  // namespace
}  // namespace pivolane::launcher
