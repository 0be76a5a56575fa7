// A few threads that share work out with the threads that wait for it, so
// that a long computation (sealing or opening a picture) uses every core and
// overlaps the file reads and writes around it.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace pivolane::parallel {

class Batch;

class WorkerPool {
 public:
  // threads besides those that wait for their batches; 0 runs everything on
  // the waiting threads.
  explicit WorkerPool(unsigned threads);
  // Joins the threads; no batch may be running.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // The pool of the process, made at its first use: one thread fewer than the
  // machine has cores, as the waiting thread works too. It is never
  // destroyed: a thread of the program may still use it while the process
  // ends.
  static WorkerPool& Shared();

  unsigned threads() const { return static_cast<unsigned>(threads_.size()); }

 private:
  friend class Batch;

  void Work();
  // Takes the next job of the first batch that has one. Needs mutex_.
  bool TakeJob(Batch*& batch, std::size_t& job);
  // Runs job of batch and records how it ended. Called without mutex_.
  void Run(Batch& batch, std::size_t job);
  // Leaves out the jobs of batch that no thread has taken. Needs mutex_.
  void Withdraw(Batch& batch);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Batch*> waiting_;  // batches with jobs that no thread has taken, oldest first
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

// The jobs 0 to count - 1 of one task, run on a pool's threads and on the
// thread that waits for them. A batch is started and waited for by one
// thread; it is ready to be started again once waited for.
class Batch {
 public:
  explicit Batch(WorkerPool& pool = WorkerPool::Shared()) : pool_(pool) {}
  // Waits for the jobs still running; their failure is dropped.
  ~Batch();
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

  // Hands job(0) to job(count - 1) to the pool; returns at once. job must
  // stay valid, and the data it works on untouched by the caller, until
  // Wait returns.
  void Start(std::size_t count, std::function<void(std::size_t)> job);
  // Runs the jobs that no thread has taken yet on this thread, then waits
  // for the others. Rethrows the first exception a job threw; once a job
  // failed, the jobs not yet begun are left out.
  void Wait();

 private:
  friend class WorkerPool;

  // Needs the pool's mutex.
  bool HasJobsLeft() const { return next_ < count_; }
  void WaitUntilDone(std::unique_lock<std::mutex>& lock);

  WorkerPool& pool_;
  std::function<void(std::size_t)> job_;
  // Guarded by the pool's mutex.
  std::size_t count_ = 0;
  std::size_t next_ = 0;     // the next job no thread has taken
  std::size_t running_ = 0;  // jobs taken and not yet ended
  std::exception_ptr failure_;
  std::condition_variable done_;
};

}  // namespace pivolane::parallel
