// Cipher throughput against memcpy of the same buffer.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/bench_support.h"
#include "common/cipher/cryptage_xor.h"

namespace {

constexpr std::size_t kBufferSize = 64 << 20;

void BM_ApplyKeyStream(benchmark::State& state) {
  std::vector<std::uint8_t> data(kBufferSize, 0x5A);
  const auto stream = pivolane::cipher::BuildKeyStream("benchmark");
  for (auto _ : state) {
    pivolane::cipher::ApplyKeyStream(stream, 17, data);
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferSize));
}
BENCHMARK(BM_ApplyKeyStream)->Unit(benchmark::kMillisecond);

void BM_Memcpy(benchmark::State& state) {
  std::vector<std::uint8_t> from(kBufferSize, 0x5A);
  std::vector<std::uint8_t> to(kBufferSize);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kBufferSize);
    benchmark::DoNotOptimize(to.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferSize));
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

}  // namespace
