#include "tests/common/test_support.h"

#include <fstream>
#include <iterator>
#include <random>

#include "common/errors.h"
#include "common/format/web_show_layout.h"
#include "common/platform/platform.h"

namespace pivolane::testing {

ScratchFolder::ScratchFolder() {
  const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info != nullptr ? std::string(info->test_suite_name()) + "." + info->name()
                                     : std::string("scratch");
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  path_ = platform::TempFolder() / "pivolane-tests" / name;
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

void WriteText(const fs::path& path, const std::string& text) {
  WriteBytes(path, Bytes(text.begin(), text.end()));
}

Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes PatternBytes(std::size_t size, unsigned tag) {
  std::mt19937 generator(tag);
  Bytes bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(generator());
  return bytes;
}

int FailureNumber(const std::function<void()>& action) {
  try {
    action();
  } catch (const Failure& f) {
    return f.number();
  }
  return 0;
}

Bytes LeastWebPage() {
  const std::string page =
      "<!DOCTYPE html>\n<html><body>\n" + std::string(format::kWebShowDataMarker) +
      std::string(format::kWebShowPlaceholder) + std::string(format::kWebShowEnd);
  return Bytes(page.begin(), page.end());
}

}  // namespace pivolane::testing
