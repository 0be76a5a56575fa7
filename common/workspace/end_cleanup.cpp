#include "common/workspace/end_cleanup.h"

#include <cstdlib>
#include <map>
#include <mutex>

#include "common/platform/platform.h"

namespace pivolane::workspace {

namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::uint64_t, std::function<void()>> actions;
  std::uint64_t next = 1;
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
  for (auto& [id, action] : registry.actions) action();
  registry.actions.clear();
}

}  // namespace

void CleanUpAtAnyEnd() {
  std::atexit(RunAll);
  platform::OnEndRequest(RunAll);
}

EndCleanup::EndCleanup(std::function<void()> action) {
  Registry& registry = TheRegistry();
  const std::lock_guard lock(registry.mutex);
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
  const std::lock_guard lock(registry.mutex);
  registry.actions.erase(id_);
  id_ = 0;
}

}  // namespace pivolane::workspace
