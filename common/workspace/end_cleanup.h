// What a program removes however it ends: its work folders, wiped, and the
// partial files it is writing. Normally each owner removes its own; these
// registrations cover the ends that skip the owners.
#pragma once

#include <cstdint>
#include <functional>

namespace pivolane::workspace {

// Makes the program run every registered clean-up when it is asked to end by
// a signal (SIGTERM, SIGINT, SIGHUP), which then ends it, and when a library
// ends it with exit() (Qt's X11 plugin does when the display goes away). Call
// it at the start of main, before anything is registered.
void CleanUpAtAnyEnd();

// One clean-up, registered for as long as the object lives. The action runs
// on another thread, at most once, and must not throw. Once the program is
// ending, a clean-up made runs at once, and a thread that makes or removes
// one then waits for the end: it must not go on with what was cleaned (write
// a file, put it in place) while or after it is cleaned.
class EndCleanup {
 public:
  EndCleanup() = default;
  explicit EndCleanup(std::function<void()> action);
  EndCleanup(EndCleanup&& other) noexcept;
  EndCleanup& operator=(EndCleanup&& other) noexcept;
  EndCleanup(const EndCleanup&) = delete;
  EndCleanup& operator=(const EndCleanup&) = delete;
  ~EndCleanup();

 private:
  void Unregister() noexcept;
  std::uint64_t id_ = 0;  // 0: nothing registered
};

}  // namespace pivolane::workspace
