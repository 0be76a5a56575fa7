// Helpers shared by the core tests: a scratch folder per test and whole-file
// reads and writes.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pivolane::testing {

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under $TMPDIR (which the test runner points at the build
// tree), removed after the test.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& name) const { return path_ / name; }

 private:
  fs::path path_;
};

void WriteBytes(const fs::path& path, const Bytes& bytes);
void WriteText(const fs::path& path, const std::string& text);
Bytes ReadBytes(const fs::path& path);
// size bytes of a repeatable pattern that differs with tag.
Bytes PatternBytes(std::size_t size, unsigned tag);
// The error number of the Failure that action throws; 0 when it throws none.
int FailureNumber(const std::function<void()>& action);
// The least page template that a web show can be built from.
Bytes LeastWebPage();

}  // namespace pivolane::testing
