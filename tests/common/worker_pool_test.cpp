// The worker pool with no thread of its own, one, and more than the machine
// has cores: every job runs once, a failure reaches the waiting thread, and
// a batch can be started again once waited for.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "common/parallel/worker_pool.h"

namespace pivolane::parallel {
namespace {

class WorkerPoolTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(WorkerPoolTest, RunsEveryJobOnceAndReportsAFailure) {
  WorkerPool pool(GetParam());
  Batch batch(pool);
  std::vector<std::atomic<int>> runs(100);
  batch.Start(runs.size(), [&](std::size_t k) { ++runs[k]; });
  batch.Wait();
  for (const std::atomic<int>& r : runs) EXPECT_EQ(r, 1);

  batch.Start(runs.size(), [&](std::size_t k) {
    if (k == 10) throw std::runtime_error("job 10");
    ++runs[k];
  });
  EXPECT_THROW(batch.Wait(), std::runtime_error);
  EXPECT_EQ(runs[10], 1);

  // Two batches at once, each waited for on its own.
  Batch other(pool);
  std::atomic<int> total = 0;
  batch.Start(50, [&](std::size_t) { ++total; });
  other.Start(50, [&](std::size_t) { ++total; });
  other.Wait();
  batch.Wait();
  EXPECT_EQ(total, 100);
}

INSTANTIATE_TEST_SUITE_P(Threads, WorkerPoolTest, ::testing::Values(0u, 1u, 3u));

}  // namespace
}  // namespace pivolane::parallel
