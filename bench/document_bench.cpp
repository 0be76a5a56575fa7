// Saving and reading a document of 200 pictures of 1 MiB with either cipher,
// against cp of the same number of bytes; extracting its pictures and
// building a show from it, against cp of the pictures followed by sync; one
// slide read as the player reads it, and the key derivation of the strong
// one on its own.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "bench/bench_support.h"
#include "common/cipher/strong_cipher.h"
#include "common/format/document.h"
#include "common/format/extraction.h"
#include "common/format/payload_layout.h"
#include "common/format/self_running.h"
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

// The 200 pictures, or one file of their size, copied into a new folder,
// then flushed to disk: what writing a show's pictures or a show of the same
// bytes at best costs.
void CopyAndSync(benchmark::State& state, bool pictures) {
  const fs::path copies = DataFolder() / "copies";
  fs::path source = Slides().front().file.parent_path() / "*";
  if (!pictures) {
    source = DataFolder() / "one-file";
    pivolane::bench::WriteDataFile(source, kPictures * kPictureSize);
  }
  for (auto _ : state) {
    fs::remove_all(copies);
    fs::create_directories(copies);
    ::sync();
    const double seconds = pivolane::bench::TimeCommand("cp " + source.string() + " '" +
                                                        copies.string() + "' && sync");
    state.SetIterationTime(seconds);
  }
}
BENCHMARK_CAPTURE(CopyAndSync, BM_CopyPicturesAndSync, true)
    ->Name("BM_CopyPicturesAndSync")
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CopyAndSync, BM_CopyOneFileAndSync, false)
    ->Name("BM_CopyOneFileAndSync")
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// A protected show: the XOR cipher, or the sealed payload with the least
// key derivation, so that the figures are those of the payload alone.
pivolane::format::ShowOptions Protected(std::int16_t cipherVersion) {
  pivolane::format::ShowOptions options;
  options.usePassword = true;
  options.cipherVersion = cipherVersion;
  options.kdfLimits = pivolane::cipher::kMinimumKdfLimits;
  return options;
}

void SaveDocument(benchmark::State& state, std::int16_t cipherVersion) {
  const auto& slides = Slides();
  for (auto _ : state) {
    // Each save writes a new document, as cp writes a new file.
    state.PauseTiming();
    fs::remove(DataFolder() / "saved.pvl");
    state.ResumeTiming();
    pivolane::format::SaveDocumentFile(DataFolder() / "saved.pvl", slides, Protected(cipherVersion),
                                       {"benchmark", 9}, 0);
  }
}

void ReadDocument(benchmark::State& state, std::int16_t cipherVersion) {
  const fs::path work = WorkFolder();
  pivolane::format::SaveDocumentFile(DataFolder() / "show.pvl", Slides(), Protected(cipherVersion),
                                     {"benchmark", 9}, 0);
  for (auto _ : state) {
    int counter = 0;
    pivolane::format::ReadDocument(DataFolder() / "show.pvl", work, counter, [](std::int16_t) {
      return std::optional<std::string>("benchmark");
    });
    state.PauseTiming();
    pivolane::workspace::CleanWorkFolder(work, counter);
    state.ResumeTiming();
  }
}

// The pictures of a show written out into a new folder, or the show built
// from it into a new self-running show (without a player), each flushed to
// disk as the programs do.
enum class Output { kPictures, kShow };

void WriteFromDocument(benchmark::State& state, std::int16_t cipherVersion, Output output) {
  const fs::path out = DataFolder() / "out";
  pivolane::format::SaveDocumentFile(DataFolder() / "show.pvl", Slides(), Protected(cipherVersion),
                                     {"benchmark", 9}, 0);
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(out);
    fs::create_directories(out);
    ::sync();
    state.ResumeTiming();
    pivolane::format::ShowFile show = pivolane::format::ShowFile::Open(DataFolder() / "show.pvl");
    show.Unlock("benchmark");
    if (output == Output::kPictures) {
      pivolane::format::ExtractPictures(show, out, [](const std::string&) {
        return pivolane::format::OverwriteAnswer::kReplace;
      });
    } else {
      pivolane::format::BuildSelfRunningShowFile(
          out / "show.exe", pivolane::format::SlideSourcesOf(show),
          pivolane::format::OptionsFromHeader(show.header()), {"benchmark", 9}, {});
    }
  }
}

BENCHMARK_CAPTURE(WriteFromDocument, BM_ExtractDocument, pivolane::format::kXorCipherVersion,
                  Output::kPictures)
    ->Name("BM_ExtractDocument")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WriteFromDocument, BM_ExtractSealedDocument,
                  pivolane::format::kSealedCipherVersion, Output::kPictures)
    ->Name("BM_ExtractSealedDocument")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(WriteFromDocument, BM_BuildFromSealedDocument,
                  pivolane::format::kSealedCipherVersion, Output::kShow)
    ->Name("BM_BuildFromSealedDocument")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(SaveDocument, BM_SaveDocument, pivolane::format::kXorCipherVersion)
    ->Name("BM_SaveDocument")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadDocument, BM_ReadDocument, pivolane::format::kXorCipherVersion)
    ->Name("BM_ReadDocument")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SaveDocument, BM_SaveSealedDocument, pivolane::format::kSealedCipherVersion)
    ->Name("BM_SaveSealedDocument")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadDocument, BM_ReadSealedDocument, pivolane::format::kSealedCipherVersion)
    ->Name("BM_ReadSealedDocument")
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

// One slide read into memory, as the player reads the picture it shows next:
// a BMP of 1.4 MB and a JPEG of 5 MB, with either cipher.
void BM_ReadSlide(benchmark::State& state) {
  const auto cipherVersion = static_cast<std::int16_t>(state.range(0));
  const auto size = static_cast<std::uint64_t>(state.range(1));
  const fs::path picture = DataFolder() / ("slide" + std::to_string(size));
  pivolane::bench::WriteDataFile(picture, size);
  const fs::path show = DataFolder() / "slide.pvl";
  pivolane::format::SaveDocumentFile(show, {{"slide", picture}}, Protected(cipherVersion),
                                     {"benchmark", 9}, 0);
  pivolane::format::ShowFile file = pivolane::format::ShowFile::Open(show);
  file.Unlock("benchmark");
  for (auto _ : state) benchmark::DoNotOptimize(file.ReadPicture(0).data());
}
BENCHMARK(BM_ReadSlide)
    ->ArgsProduct({{pivolane::format::kXorCipherVersion, pivolane::format::kSealedCipherVersion},
                   {1'468'006, 5'242'880}})
    ->Unit(benchmark::kMicrosecond);

// What every save, open and build of a strong show adds, and what each guess
// of its password costs: one key derivation at the default limits.
void BM_KeyDerivation(benchmark::State& state) {
  const pivolane::cipher::Salt salt{};
  for (auto _ : state) {
    pivolane::cipher::SecretKey key;
    pivolane::cipher::DeriveKey("benchmark", salt, pivolane::cipher::kDefaultKdfLimits, key);
  }
}
BENCHMARK(BM_KeyDerivation)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
