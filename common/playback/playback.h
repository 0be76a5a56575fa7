// The slide-show playback that the player and the editor's preview share:
// the play order, the current position, moving forward and back, the end of
// the show and the state of the slide timer. The window that shows the slides
// is reached through PlaybackView, so this logic holds no toolkit code.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace pivolane::playback {

// What playback asks of the window that shows it.
class PlaybackView {
 public:
  virtual ~PlaybackView() = default;
  // Lets the window handle the events already queued (repaints above all).
  // Input and timer ticks that arrive meanwhile are ignored by Playback.
  virtual void LetPendingEventsRun() = 0;
  // The busy pointer while a slide loads; input is ignored until it is off.
  virtual void SetBusy(bool busy) = 0;
  // Shows slide slideNumber (1-based entry number) at position (1-based, as
  // the caption counts). Must deal with every failure itself: a slide that
  // cannot be shown is shown empty, and the show goes on.
  virtual void ShowSlide(int slideNumber, int position) noexcept = 0;
  // (Re)starts the slide timer, which calls Playback::TimerTick once
  // intervalMs have passed, and again after each interval.
  virtual void StartTimer(std::int64_t intervalMs) = 0;
  virtual void StopTimer() = 0;
  // Closes the window: the show is over.
  virtual void EndShow() = 0;
  // Once a slide is on screen: the slides that the next NextSlide and the
  // next PreviousSlide would show, if any, which a window may prepare meanwhile.
  virtual void Neighbours(std::optional<int> /*next*/, std::optional<int> /*previous*/) {}
};

struct PlaybackSettings {
  int slideCount = 0;
  bool loop = false;
  bool random = false;
  std::int64_t timerIntervalMs = 0;  // 0: the show advances on user input only
  // The preview's rule: after the first key or click the show advances only
  // on user input. The player restarts the timer at every next slide instead.
  bool inputStopsAutoAdvance = false;
};

// The slide timer's interval for a delay in seconds; a negative delay, which
// no editor writes, counts as 0.
std::int64_t TimerIntervalForDelay(std::int32_t delaySeconds);

// Draws numbers in [0, 1).
using RandomSource = std::function<double()>;

class Playback {
 public:
  // random defaults to the generator initialised from the clock.
  Playback(const PlaybackSettings& settings, PlaybackView& view, RandomSource random = {});

  // Fills the play order (shuffled in random order) unless that is done,
  // so that a window can prepare the first slide before the show starts.
  void PreparePlayOrder();
  // The window has become active: PreparePlayOrder, then shows the first
  // slide. A show without slides ends at once.
  void Start();

  // A key code or mouse button number (input_codes.h). Stops the timer in
  // every case, then moves, ends the show, or does nothing more. While a
  // slide loads only the code that ends the show is taken.
  void HandleInput(int code);
  void TimerTick();

  void NextSlide();
  void PreviousSlide();
  // A fresh permutation of the play order; every position swaps with one
  // drawn from the whole order, itself included.
  void ShufflePlayOrder();

  // PlayOrder()[p - 1] is the slide number shown at position p.
  const std::vector<int>& PlayOrder() const { return playOrder_; }
  // 0 before the first slide and after a pass that wraps around.
  int CurrentIndex() const { return currentIndex_; }
  // The slide that NextSlide would show now: the next position's, the first
  // of the order after a wrap (of the new order when it was redrawn); none
  // when the show would end.
  std::optional<int> UpcomingSlide() const;
  // The slide that PreviousSlide would show now; none at the first position
  // and after a wrap.
  std::optional<int> PrecedingSlide() const;
  bool AutoAdvance() const { return autoAdvance_; }
  bool TimerRunning() const { return timerRunning_; }
  bool Ended() const { return ended_; }

 private:
  void SetTimerRunning(bool running);
  void End();
  // After a slide is on screen: the timer as asked, the window told what comes next.
  void SlideShown(bool restartTimer);
  // Whether input and ticks are taken now: not while a slide loads nor after the end.
  bool Accepting() const { return !loading_ && !ended_; }

  PlaybackSettings settings_;
  PlaybackView& view_;
  RandomSource random_;
  std::vector<int> playOrder_;
  int currentIndex_ = 0;
  bool autoAdvance_ = false;
  bool timerRunning_ = false;
  bool loading_ = false;
  bool ended_ = false;
  bool orderPrepared_ = false;
};

}  // namespace pivolane::playback
