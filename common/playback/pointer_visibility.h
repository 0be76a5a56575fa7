// The mouse pointer over a playing show: hidden once it has been still for a
// while, so that it does not sit on the pictures, and back as soon as it
// moves; the busy pointer while a slide loads, unless it is hidden, so that
// a show that moves on by itself does not flash it at every slide. The
// windows own the idle timer and the toolkit's cursors; this decides which.
#pragma once

#include <chrono>

namespace pivolane::playback {

// How long the pointer may stay still before it is hidden.
inline constexpr std::chrono::milliseconds kPointerIdleTime{2000};

enum class PointerShape { kNormal, kBusy, kHidden };

class PointerVisibility {
 public:
  // Each gives the shape to show from then on. After Moved, and when the
  // show starts, the window (re)starts its idle timer; Idle is its end.
  PointerShape Moved();
  PointerShape Idle();
  PointerShape SetBusy(bool busy);

 private:
  PointerShape Shape() const;
  bool busy_ = false;
  bool hidden_ = false;
};

}  // namespace pivolane::playback
