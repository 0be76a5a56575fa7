#include "common/parallel/worker_pool.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace pivolane::parallel {

namespace {

// More threads than a piece of work has jobs would only wait.
constexpr unsigned kMostThreads = 15;

}  // namespace

WorkerPool::WorkerPool(unsigned threads) {
  threads_.reserve(threads);
  for (unsigned k = 0; k < threads; ++k) {
    try {
      threads_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      break;  // the system gives no more threads: the waiting threads do the rest
    }
  }
}

WorkerPool::~WorkerPool() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& thread : threads_) thread.join();
}

WorkerPool& WorkerPool::Shared() {
  static WorkerPool* const pool = [] {
    const unsigned cores = std::thread::hardware_concurrency();
    return new WorkerPool(std::clamp(cores, 1u, kMostThreads + 1) - 1);
  }();
  return *pool;
}

void WorkerPool::Work() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
    if (stopping_) return;
    Batch* batch = nullptr;
    std::size_t job = 0;
    if (!TakeJob(batch, job)) continue;
    lock.unlock();
    Run(*batch, job);
    lock.lock();
  }
}

bool WorkerPool::TakeJob(Batch*& batch, std::size_t& job) {
  if (waiting_.empty()) return false;
  batch = waiting_.front();
  job = batch->next_++;
  ++batch->running_;
  if (!batch->HasJobsLeft()) waiting_.erase(waiting_.begin());
  return true;
}

void WorkerPool::Run(Batch& batch, std::size_t job) {
  std::exception_ptr failure;
  try {
    batch.job_(job);
  } catch (...) {
    failure = std::current_exception();
  }
  const std::lock_guard lock(mutex_);
  if (failure) {
    if (!batch.failure_) batch.failure_ = failure;
    Withdraw(batch);
  }
  if (--batch.running_ == 0) batch.done_.notify_all();
}

void WorkerPool::Withdraw(Batch& batch) {
  batch.next_ = batch.count_;
  const auto listed = std::find(waiting_.begin(), waiting_.end(), &batch);
  if (listed != waiting_.end()) waiting_.erase(listed);
}

Batch::~Batch() {
  std::unique_lock lock(pool_.mutex_);
  pool_.Withdraw(*this);
  WaitUntilDone(lock);
}

void Batch::Start(std::size_t count, std::function<void(std::size_t)> job) {
  {
    const std::lock_guard lock(pool_.mutex_);
    job_ = std::move(job);
    count_ = count;
    next_ = 0;
    running_ = 0;
    failure_ = nullptr;
    if (count == 0 || pool_.threads_.empty()) return;
    pool_.waiting_.push_back(this);
  }
  if (count == 1) {
    pool_.wake_.notify_one();
  } else {
    pool_.wake_.notify_all();
  }
}

void Batch::Wait() {
  std::unique_lock lock(pool_.mutex_);
  while (HasJobsLeft()) {
    const std::size_t job = next_++;
    ++running_;
    if (!HasJobsLeft()) pool_.Withdraw(*this);
    lock.unlock();
    pool_.Run(*this, job);
    lock.lock();
  }
  WaitUntilDone(lock);
  job_ = nullptr;
  if (std::exception_ptr failure = std::exchange(failure_, nullptr)) {
    lock.unlock();
    std::rethrow_exception(failure);
  }
}

void Batch::WaitUntilDone(std::unique_lock<std::mutex>& lock) {
  done_.wait(lock, [this] { return running_ == 0; });
}

}  // namespace pivolane::parallel
