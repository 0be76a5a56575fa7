#include "bench/bench_support.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <vector>

namespace pivolane::bench {

const fs::path& DataFolder() {
  static const fs::path folder = [] {
    const char* tmp = std::getenv("TMPDIR");
    fs::path f = fs::path(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") / "pivolane-bench";
    fs::remove_all(f);
    fs::create_directories(f);
    return f;
  }();
  return folder;
}

void WriteDataFile(const fs::path& path, std::uint64_t size) {
  std::mt19937_64 generator(size);
  std::vector<std::uint64_t> block(1 << 17);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (std::uint64_t done = 0; done < size;) {
    for (auto& word : block) word = generator();
    const std::uint64_t n = std::min<std::uint64_t>(size - done, block.size() * 8);
    out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(n));
    done += n;
  }
}

double TimeCommand(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::map<std::string, double>& Figures() {
  static std::map<std::string, double> figures;
  return figures;
}

}  // namespace pivolane::bench
