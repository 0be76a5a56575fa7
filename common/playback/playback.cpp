#include "common/playback/playback.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

#include "common/platform/platform.h"
#include "common/playback/input_codes.h"

namespace pivolane::playback {

std::int64_t TimerIntervalForDelay(std::int32_t delaySeconds) {
  return std::max<std::int64_t>(delaySeconds, 0) * 1000;
}

Playback::Playback(const PlaybackSettings& settings, PlaybackView& view, RandomSource random)
    : settings_(settings),
      view_(view),
      random_(random ? std::move(random) : RandomSource(platform::RandomUnit)) {
  settings_.slideCount = std::max(settings_.slideCount, 0);
}

void Playback::PreparePlayOrder() {
  if (orderPrepared_) return;
  orderPrepared_ = true;
  playOrder_.resize(static_cast<std::size_t>(settings_.slideCount));
  std::iota(playOrder_.begin(), playOrder_.end(), 1);
  if (settings_.random) ShufflePlayOrder();
}

void Playback::Start() {
  autoAdvance_ = settings_.timerIntervalMs > 0;
  PreparePlayOrder();
  currentIndex_ = 0;
  NextSlide();
}

void Playback::ShufflePlayOrder() {
  const auto count = static_cast<int>(playOrder_.size());
  for (int p = 0; p < count; ++p) {
    // A draw that rounds up to the top of [0, 1) must still name the last
    // position, never one past it.
    const int j = std::clamp(static_cast<int>(std::floor(random_() * count)), 0, count - 1);
    std::swap(playOrder_[static_cast<std::size_t>(p)], playOrder_[static_cast<std::size_t>(j)]);
  }
}

void Playback::HandleInput(int code) {
  const InputAction action = ActionForInput(code);
  if (ended_ || (loading_ && action != InputAction::kEnd)) return;
  SetTimerRunning(false);
  if (settings_.inputStopsAutoAdvance) autoAdvance_ = false;
  switch (action) {
    case InputAction::kNext:
      NextSlide();
      break;
    case InputAction::kPrevious:
      PreviousSlide();
      break;
    case InputAction::kEnd:
      End();
      break;
    case InputAction::kNone:
      break;  // the show stays paused until the next slide
  }
}

void Playback::TimerTick() {
  if (Accepting() && timerRunning_) NextSlide();
}

void Playback::NextSlide() {
  if (!Accepting()) return;
  loading_ = true;
  ++currentIndex_;
  view_.LetPendingEventsRun();
  if (currentIndex_ > settings_.slideCount) {
    loading_ = false;
    End();
    return;
  }
  if (ended_) {  // Escape among the pending events
    loading_ = false;
    return;
  }
  view_.SetBusy(true);
  SetTimerRunning(false);
  const int position = currentIndex_;
  view_.ShowSlide(playOrder_[static_cast<std::size_t>(position - 1)], position);
  if (currentIndex_ == settings_.slideCount) {
    if (settings_.loop) currentIndex_ = 0;
    // A new order after every pass, looping or not.
    if (settings_.random) ShufflePlayOrder();
  }
  SlideShown(autoAdvance_);  // the delay counts from here
}

void Playback::PreviousSlide() {
  if (!Accepting() || currentIndex_ <= 1) return;
  loading_ = true;
  --currentIndex_;
  view_.LetPendingEventsRun();
  if (ended_) {
    loading_ = false;
    return;
  }
  view_.SetBusy(true);
  const int position = currentIndex_;
  view_.ShowSlide(playOrder_[static_cast<std::size_t>(position - 1)], position);
  SlideShown(false);
}

std::optional<int> Playback::UpcomingSlide() const {
  if (ended_ || currentIndex_ >= settings_.slideCount) return std::nullopt;
  return playOrder_[static_cast<std::size_t>(currentIndex_)];
}

std::optional<int> Playback::PrecedingSlide() const {
  if (ended_ || currentIndex_ <= 1) return std::nullopt;
  return playOrder_[static_cast<std::size_t>(currentIndex_ - 2)];
}

void Playback::SlideShown(bool restartTimer) {
  view_.SetBusy(false);
  loading_ = false;
  if (ended_) return;  // Escape while the slide loaded
  if (restartTimer) SetTimerRunning(true);
  view_.Neighbours(UpcomingSlide(), PrecedingSlide());
}

void Playback::SetTimerRunning(bool running) {
  timerRunning_ = running;
  if (running) {
    view_.StartTimer(settings_.timerIntervalMs);
  } else {
    view_.StopTimer();
  }
}

void Playback::End() {
  if (ended_) return;
  SetTimerRunning(false);
  ended_ = true;
  view_.EndShow();
}

}  // namespace pivolane::playback
