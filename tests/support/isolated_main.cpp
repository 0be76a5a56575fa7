// main() of the GoogleTest programs: before any test runs, the home, XDG and
// temporary folders point into the build tree, so that no test ever touches
// the real ones, however the program is started.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  const std::filesystem::path home = PIVOLANE_TEST_HOME;
  for (const auto& [name, folder] : {std::pair{"HOME", home},
                                     {"XDG_CONFIG_HOME", home / "config"},
                                     {"XDG_DATA_HOME", home / "data"},
                                     {"XDG_CACHE_HOME", home / "cache"},
                                     {"XDG_RUNTIME_DIR", home / "runtime"},
                                     {"TMPDIR", home / "tmp"}}) {
    std::filesystem::create_directories(folder);
    ::setenv(name, folder.c_str(), 1);
  }
  std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
