// Peak memory of `pivtool create` for a 1 GiB show: it must not grow with the
// show, only with the largest picture.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <iostream>
#include <vector>

#include "bench/bench_support.h"

namespace pivolane::bench {

void MeasurePivtoolPeakMemory() {
  constexpr int kPictures = 8;
  constexpr std::uint64_t kPictureSize = 128ull << 20;  // 8 x 128 MiB = 1 GiB
  const fs::path folder = DataFolder() / "gigabyte";
  fs::create_directories(folder);
  std::vector<std::string> words = {PIVTOOL_PROGRAM, "create", (folder / "big.pvl").string(),
                                    "--cipher",      "1",      "--password-stdin"};
  for (int k = 0; k < kPictures; ++k) {
    const fs::path p = folder / ("picture" + std::to_string(k));
    WriteDataFile(p, kPictureSize);
    words.push_back(p.string());
  }
  int input[2];
  if (::pipe(input) != 0) return;
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(input[0], 0);
    ::close(input[1]);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(input[0]);
  (void)!::write(input[1], "benchmark\n", 10);
  ::close(input[1]);
  int status = 0;
  struct rusage usage {};
  ::wait4(child, &status, 0, &usage);
  Figures()["pivtool create 1 GiB: peak memory (MiB)"] =
      static_cast<double>(usage.ru_maxrss) / 1024.0;
  Figures()["pivtool create 1 GiB: largest picture (MiB)"] =
      static_cast<double>(kPictureSize >> 20);
  Figures()["pivtool create 1 GiB: exit status"] = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  fs::remove_all(folder);
}

}  // namespace pivolane::bench
