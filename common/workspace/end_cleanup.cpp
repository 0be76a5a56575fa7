#include "common/workspace/end_cleanup.h"

#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "common/platform/platform.h"

namespace pivolane::workspace {

namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::uint64_t, std::function<void()>> actions;
  std::uint64_t next = 1;
  // The thread that runs the clean-ups once the program is ending.
  std::optional<std::thread::id> ending;
};

// Never destroyed: exit() runs the clean-ups after static objects may be gone.
Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

// Holds the lock to the end, so that an owner removing its registration
// meanwhile waits rather than removing what is being wiped.
void RunAll() {
  Registry& registry = TheRegistry();
  const std::lock_guard lock(registry.mutex);
  registry.ending = std::this_thread::get_id();
  for (auto& [id, action] : registry.actions) action();
  registry.actions.clear();
}

// Once the program is ending, any other thread that comes to register or
// remove a clean-up waits here for the end: whatever it was about to do
// with its file (go on writing it, put it in place) must not happen after
// its clean-up ran or was skipped.
void AwaitTheEndUnlessEnding(std::thread::id endingThread) {
  if (endingThread == std::this_thread::get_id()) return;
  for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
}

}  // namespace

void CleanUpAtAnyEnd() {
  std::atexit(RunAll);
  platform::OnEndRequest(RunAll);
}

EndCleanup::EndCleanup(std::function<void()> action) {
  Registry& registry = TheRegistry();
  std::unique_lock lock(registry.mutex);
  if (registry.ending) {
    // Too late to be run with the others: what it cleans exists already.
    action();
    lock.unlock();
    AwaitTheEndUnlessEnding(*registry.ending);
    return;
  }
  id_ = registry.next++;
  registry.actions.emplace(id_, std::move(action));
}

EndCleanup::EndCleanup(EndCleanup&& other) noexcept : id_(other.id_) {
  other.id_ = 0;
}

EndCleanup& EndCleanup::operator=(EndCleanup&& other) noexcept {
  if (this != &other) {
    Unregister();
    id_ = other.id_;
    other.id_ = 0;
  }
  return *this;
}

EndCleanup::~EndCleanup() {
  Unregister();
}

void EndCleanup::Unregister() noexcept {
  if (id_ == 0) return;
  Registry& registry = TheRegistry();
  std::unique_lock lock(registry.mutex);
  const std::uint64_t id = std::exchange(id_, 0);
  if (registry.ending) {
    lock.unlock();
    AwaitTheEndUnlessEnding(*registry.ending);
    return;
  }
  registry.actions.erase(id);
}

}  // namespace pivolane::workspace
