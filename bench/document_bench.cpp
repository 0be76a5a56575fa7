// Saving and reading a document of 200 pictures of 1 MiB, against cp of the
// same number of bytes.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "common/format/document.h"
#include "common/workspace/workspace.h"

namespace {

namespace fs = std::filesystem;
using pivolane::bench::DataFolder;

constexpr int kPictures = 200;
constexpr std::uint64_t kPictureSize = 1 << 20;

const std::vector<pivolane::format::SlideSource>& Slides() {
  static const std::vector<pivolane::format::SlideSource> slides = [] {
    std::vector<pivolane::format::SlideSource> s;
    fs::create_directories(DataFolder() / "pictures");
    for (int k = 0; k < kPictures; ++k) {
      const fs::path p = DataFolder() / "pictures" / ("picture" + std::to_string(k) + ".jpg");
      pivolane::bench::WriteDataFile(p, kPictureSize);
      s.push_back({p.filename().string(), p});
    }
    return s;
  }();
  return slides;
}

fs::path WorkFolder() {
  const fs::path work = DataFolder() / "work";
  fs::create_directories(work);
  return work;
}

void BM_CopyWithCp(benchmark::State& state) {
  const fs::path source = DataFolder() / "copy-source";
  pivolane::bench::WriteDataFile(source, kPictures * kPictureSize);
  for (auto _ : state) {
    const double seconds = pivolane::bench::TimeCommand("cp '" + source.string() + "' '" +
                                                        (DataFolder() / "copy").string() + "'");
    state.SetIterationTime(seconds);
  }
}
BENCHMARK(BM_CopyWithCp)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_SaveDocument(benchmark::State& state) {
  const auto& slides = Slides();
  pivolane::format::ShowOptions options;
  options.usePassword = true;
  for (auto _ : state) {
    // Each save writes a new document, as cp writes a new file.
    state.PauseTiming();
    fs::remove(DataFolder() / "saved.pvl");
    state.ResumeTiming();
    pivolane::format::SaveDocumentFile(DataFolder() / "saved.pvl", slides, options,
                                       {"benchmark", 9}, 0);
  }
}
BENCHMARK(BM_SaveDocument)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_ReadDocument(benchmark::State& state) {
  const fs::path work = WorkFolder();
  pivolane::format::ShowOptions options;
  options.usePassword = true;
  pivolane::format::SaveDocumentFile(DataFolder() / "show.pvl", Slides(), options, {"benchmark", 9},
                                     0);
  for (auto _ : state) {
    int counter = 0;
    pivolane::format::ReadDocument(DataFolder() / "show.pvl", work, counter,
                                   [] { return std::optional<std::string>("benchmark"); });
    state.PauseTiming();
    pivolane::workspace::CleanWorkFolder(work, counter);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ReadDocument)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
