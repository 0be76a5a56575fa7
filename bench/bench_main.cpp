// Runs every benchmark once and prints the figures the README quotes, as
// ratios against the plain operations they compete with.
#include <benchmark/benchmark.h>

#include <iomanip>
#include <iostream>

#include "bench/bench_support.h"

namespace pivolane::bench {
void MeasurePivtoolPeakMemory();
}

namespace {

// Keeps the mean time of each benchmark while printing as usual.
class CollectingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      times[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double Time(const std::string& prefix) const {
    for (const auto& [name, time] : times) {
      if (name.rfind(prefix, 0) == 0) return time;
    }
    return 0;
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  CollectingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  pivolane::bench::MeasurePivtoolPeakMemory();

  auto& figures = pivolane::bench::Figures();
  const auto ratio = [&](const char* a, const char* b) {
    const double tb = reporter.Time(b);
    return tb > 0 ? reporter.Time(a) / tb : 0.0;
  };
  figures["cipher speed / memcpy speed (target >= 0.5)"] = ratio("BM_Memcpy", "BM_ApplyKeyStream");
  figures["save 200 x 1 MiB / cp (target <= 3)"] = ratio("BM_SaveDocument", "BM_CopyWithCp");
  figures["read 200 x 1 MiB / cp (target <= 3)"] = ratio("BM_ReadDocument", "BM_CopyWithCp");
  figures["save strong 200 x 1 MiB / cp (target <= 2)"] =
      ratio("BM_SaveSealedDocument", "BM_CopyWithCp");
  figures["read strong 200 x 1 MiB / cp (target <= 2)"] =
      ratio("BM_ReadSealedDocument", "BM_CopyWithCp");
  figures["read strong 200 x 1 MiB / cp + sync (target <= 1.3)"] =
      ratio("BM_ReadSealedDocument", "BM_CopyPicturesAndSync");
  figures["extract 200 x 1 MiB / cp + sync"] =
      ratio("BM_ExtractDocument", "BM_CopyPicturesAndSync");
  figures["extract strong 200 x 1 MiB / cp + sync (target <= 1.3)"] =
      ratio("BM_ExtractSealedDocument", "BM_CopyPicturesAndSync");
  figures["build from strong 200 x 1 MiB / cp of 200 MiB + sync (target <= 1.3)"] =
      ratio("BM_BuildFromSealedDocument", "BM_CopyOneFileAndSync");
  figures["key derivation at the default limits, seconds"] =
      reporter.Time("BM_KeyDerivation") / 1e3;

  std::cout << "\nSummary\n";
  for (const auto& [name, value] : figures) {
    std::cout << "  " << std::left << std::setw(62) << name << std::fixed << std::setprecision(2)
              << value << "\n";
  }
  std::filesystem::remove_all(pivolane::bench::DataFolder());
  return 0;
}
