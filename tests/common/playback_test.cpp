#include "common/playback/playback.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/playback/input_codes.h"
#include "common/playback/pointer_visibility.h"

namespace pivolane::playback {
namespace {

namespace code = input_code;

// Records what playback asks of its window.
class RecordingView : public PlaybackView {
 public:
  void LetPendingEventsRun() override {
    if (onPendingEvents) onPendingEvents();
  }
  void SetBusy(bool busy) override { busyCalls.push_back(busy); }
  void ShowSlide(int slideNumber, int position) noexcept override {
    shown.push_back(slideNumber);
    positions.push_back(position);
  }
  void StartTimer(std::int64_t intervalMs) override {
    timerRunning = true;
    lastInterval = intervalMs;
  }
  void StopTimer() override { timerRunning = false; }
  void EndShow() override { ++endCount; }
  void Neighbours(std::optional<int> next, std::optional<int> previous) override {
    neighbours.emplace_back(next.value_or(0), previous.value_or(0));
  }

  std::function<void()> onPendingEvents;
  std::vector<std::pair<int, int>> neighbours;  // next, previous; 0 for none
  std::vector<int> shown;
  std::vector<int> positions;
  std::vector<bool> busyCalls;
  bool timerRunning = false;
  std::int64_t lastInterval = 0;
  int endCount = 0;
};

// Hands out fixed draws in [0, 1), then 0 forever.
RandomSource Draws(std::vector<double> draws) {
  auto queue = std::make_shared<std::deque<double>>(draws.begin(), draws.end());
  return [queue] {
    if (queue->empty()) return 0.0;
    const double next = queue->front();
    queue->pop_front();
    return next;
  };
}

PlaybackSettings Settings(int slides, std::int64_t intervalMs = 3000) {
  PlaybackSettings settings;
  settings.slideCount = slides;
  settings.timerIntervalMs = intervalMs;
  return settings;
}

TEST(PlaybackTimer, IntervalIsTheDelayInMilliseconds) {
  EXPECT_EQ(TimerIntervalForDelay(3), 3000);
  EXPECT_EQ(TimerIntervalForDelay(0), 0);
  EXPECT_EQ(TimerIntervalForDelay(-5), 0);
  EXPECT_EQ(TimerIntervalForDelay(2147483647), 2147483647000);
}

TEST(PlaybackTimer, TicksAdvanceThroughTheShowInStoredOrderAndEnd) {
  RecordingView view;
  Playback playback(Settings(3), view);
  playback.Start();
  EXPECT_TRUE(playback.AutoAdvance());
  EXPECT_TRUE(view.timerRunning);
  EXPECT_EQ(view.lastInterval, 3000);
  playback.TimerTick();
  playback.TimerTick();
  EXPECT_EQ(view.shown, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(view.positions, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(view.busyCalls, (std::vector<bool>{true, false, true, false, true, false}));
  EXPECT_EQ(view.endCount, 0);
  playback.TimerTick();  // after the last position: the end
  EXPECT_TRUE(playback.Ended());
  EXPECT_EQ(view.endCount, 1);
  EXPECT_FALSE(view.timerRunning);
  playback.TimerTick();
  playback.HandleInput(code::kSpace);
  EXPECT_EQ(view.shown.size(), 3u);
  EXPECT_EQ(view.endCount, 1);
}

TEST(PlaybackTimer, DelayZeroWaitsForTheUser) {
  RecordingView view;
  Playback playback(Settings(3, 0), view);
  playback.Start();
  EXPECT_FALSE(playback.AutoAdvance());
  EXPECT_FALSE(view.timerRunning);
  EXPECT_EQ(view.shown, std::vector<int>{1});
  playback.TimerTick();  // a stray tick moves nothing
  EXPECT_EQ(view.shown, std::vector<int>{1});
  playback.HandleInput(code::kEnter);
  EXPECT_EQ(view.shown, (std::vector<int>{1, 2}));
  EXPECT_FALSE(view.timerRunning);
}

TEST(PlaybackInput, CodesMapToTheirActions) {
  for (int c : {code::kLeftButton, code::kEnter, code::kSpace, code::kRightArrow}) {
    EXPECT_EQ(ActionForInput(c), InputAction::kNext) << c;
  }
  for (int c : {code::kRightButton, code::kBackspace, code::kLeftArrow}) {
    EXPECT_EQ(ActionForInput(c), InputAction::kPrevious) << c;
  }
  EXPECT_EQ(ActionForInput(code::kEscape), InputAction::kEnd);
  for (int c : {code::kMiddleButton, code::kOtherKey, 38, 40, 65}) {
    EXPECT_EQ(ActionForInput(c), InputAction::kNone) << c;
  }
}

TEST(PlaybackInput, UnmappedKeyPausesUntilTheNextSlideRestartsTheTimer) {
  RecordingView view;
  Playback playback(Settings(4), view);
  playback.Start();
  playback.HandleInput(38);  // up arrow: no action of its own
  EXPECT_FALSE(view.timerRunning);
  EXPECT_FALSE(playback.TimerRunning());
  playback.TimerTick();  // a tick already queued when the key came
  EXPECT_EQ(view.shown, std::vector<int>{1});
  playback.HandleInput(code::kMiddleButton);
  EXPECT_EQ(view.shown, std::vector<int>{1});
  playback.HandleInput(code::kRightArrow);
  EXPECT_EQ(view.shown, (std::vector<int>{1, 2}));
  EXPECT_TRUE(view.timerRunning);  // the player resumes on the next slide
}

TEST(PlaybackInput, GoingBackShowsThePreviousSlideWithoutRestartingTheTimer) {
  RecordingView view;
  Playback playback(Settings(3), view);
  playback.Start();
  playback.HandleInput(code::kLeftButton);
  playback.HandleInput(code::kSpace);
  EXPECT_EQ(playback.CurrentIndex(), 3);
  playback.HandleInput(code::kBackspace);
  EXPECT_EQ(view.shown, (std::vector<int>{1, 2, 3, 2}));
  EXPECT_EQ(view.positions.back(), 2);
  EXPECT_FALSE(view.timerRunning);
  playback.HandleInput(code::kRightButton);
  playback.HandleInput(code::kLeftArrow);  // from position 1: nothing
  EXPECT_EQ(view.shown, (std::vector<int>{1, 2, 3, 2, 1}));
  EXPECT_EQ(playback.CurrentIndex(), 1);
  EXPECT_FALSE(playback.Ended());
}

TEST(PlaybackInput, EscapeEndsTheShowAndLaterInputIsIgnored) {
  RecordingView view;
  Playback playback(Settings(3), view);
  playback.Start();
  playback.HandleInput(code::kEscape);
  EXPECT_TRUE(playback.Ended());
  EXPECT_EQ(view.endCount, 1);
  EXPECT_FALSE(view.timerRunning);
  playback.HandleInput(code::kSpace);
  playback.HandleInput(code::kEscape);
  EXPECT_EQ(view.shown, std::vector<int>{1});
  EXPECT_EQ(view.endCount, 1);
}

TEST(PlaybackInput, InputArrivingWhileASlideLoadsIsIgnoredButEscapeEndsTheShow) {
  RecordingView view;
  Playback playback(Settings(5), view);
  int reentered = 0;
  view.onPendingEvents = [&] {
    ++reentered;
    playback.HandleInput(code::kSpace);
    playback.HandleInput(code::kLeftButton);
    playback.TimerTick();
  };
  playback.Start();
  playback.HandleInput(code::kSpace);
  playback.HandleInput(code::kLeftArrow);
  EXPECT_EQ(reentered, 3);
  EXPECT_EQ(view.shown, (std::vector<int>{1, 2, 1}));
  EXPECT_FALSE(playback.Ended());

  view.onPendingEvents = [&] { playback.HandleInput(code::kEscape); };
  playback.HandleInput(code::kSpace);
  EXPECT_TRUE(playback.Ended());
  EXPECT_EQ(view.shown.size(), 3u);  // ended before the slide loaded
  EXPECT_FALSE(view.timerRunning);
  EXPECT_EQ(view.endCount, 1);
}

// Which slides the window may prepare while one is on screen, through a
// loop and a redrawn random order; none where the next step would end the
// show or going back would do nothing.
TEST(PlaybackInput, TheWindowIsToldTheSlidesOnEitherSide) {
  using Sides = std::vector<std::pair<int, int>>;
  struct Case {
    bool loop, random;
    std::vector<double> draws;
    Sides sides;  // after the start, each of three ticks, and a step back
  };
  for (const Case& c :
       {Case{false, false, {}, {{2, 0}, {3, 1}, {0, 2}}},
        Case{true, false, {}, {{2, 0}, {3, 1}, {1, 0}, {2, 0}}},
        // 123 kept, then redrawn as 312 after the pass
        Case{true, true, {0.0, 0.4, 0.7, 0.9, 0.9, 0.9}, {{2, 0}, {3, 1}, {3, 0}, {1, 0}}}}) {
    RecordingView view;
    PlaybackSettings settings = Settings(3);
    settings.loop = c.loop;
    settings.random = c.random;
    Playback playback(settings, view, Draws(c.draws));
    playback.Start();
    for (int tick = 0; tick < 3; ++tick) playback.TimerTick();
    EXPECT_EQ(view.neighbours, c.sides) << c.loop << c.random;
  }
  RecordingView view;
  Playback playback(Settings(4), view);
  playback.Start();
  playback.TimerTick();
  playback.TimerTick();
  playback.HandleInput(code::kLeftArrow);
  EXPECT_EQ(view.neighbours.back(), (std::pair<int, int>{3, 1}));
}

TEST(PlaybackInput, PreviewStopsAdvancingOnItsOwnAfterTheFirstInput) {
  RecordingView view;
  PlaybackSettings settings = Settings(5);
  settings.inputStopsAutoAdvance = true;
  Playback playback(settings, view);
  playback.Start();
  playback.TimerTick();
  EXPECT_TRUE(view.timerRunning);
  playback.HandleInput(code::kSpace);
  EXPECT_FALSE(playback.AutoAdvance());
  EXPECT_FALSE(view.timerRunning);
  EXPECT_EQ(view.shown, (std::vector<int>{1, 2, 3}));
}

TEST(PlaybackLoop, WrapsToTheStartAndGoingBackAfterTheWrapDoesNothing) {
  RecordingView view;
  PlaybackSettings settings = Settings(2);
  settings.loop = true;
  Playback playback(settings, view);
  playback.Start();
  playback.TimerTick();
  EXPECT_EQ(playback.CurrentIndex(), 0);
  playback.HandleInput(code::kLeftArrow);
  EXPECT_EQ(view.shown, (std::vector<int>{1, 2}));
  playback.HandleInput(code::kSpace);
  playback.TimerTick();
  playback.TimerTick();
  EXPECT_EQ(view.shown, (std::vector<int>{1, 2, 1, 2, 1}));
  EXPECT_EQ(view.positions, (std::vector<int>{1, 2, 1, 2, 1}));
  EXPECT_FALSE(playback.Ended());
}

TEST(PlaybackLoop, OneSlideIsShownAgainAtEveryTick) {
  RecordingView view;
  PlaybackSettings settings = Settings(1);
  settings.loop = true;
  Playback playback(settings, view);
  playback.Start();
  for (int i = 0; i < 3; ++i) playback.TimerTick();
  EXPECT_EQ(view.shown, (std::vector<int>{1, 1, 1, 1}));
  EXPECT_TRUE(view.timerRunning);
  EXPECT_FALSE(playback.Ended());
}

TEST(PlaybackLoop, AShowWithoutSlidesEndsAtOnce) {
  RecordingView view;
  Playback playback(Settings(0), view);
  playback.Start();
  EXPECT_TRUE(playback.Ended());
  EXPECT_EQ(view.endCount, 1);
  EXPECT_TRUE(view.shown.empty());
  EXPECT_FALSE(view.timerRunning);
}

TEST(PlaybackShuffle, EveryPositionSwapsWithOneDrawnFromTheWholeOrder) {
  RecordingView view;
  PlaybackSettings settings = Settings(3);
  settings.random = true;
  // p=1 swaps with 1, p=2 with 1, p=3 with 1: 123 -> 123 -> 213 -> 312.
  Playback playback(settings, view, Draws({0.0, 0.1, 0.2}));
  playback.Start();
  EXPECT_EQ(playback.PlayOrder(), (std::vector<int>{3, 1, 2}));
  EXPECT_EQ(view.shown, std::vector<int>{3});
}

TEST(PlaybackShuffle, ADrawRoundedUpToOneStillNamesTheLastPosition) {
  RecordingView view;
  PlaybackSettings settings = Settings(4);
  settings.random = true;
  Playback playback(settings, view, Draws({1.0, 1.0, 1.0, 1.0}));
  playback.Start();
  // 1234 -> 4231 -> 4132 -> 4123 -> 4123
  EXPECT_EQ(playback.PlayOrder(), (std::vector<int>{4, 1, 2, 3}));
}

TEST(PlaybackShuffle, RandomLoopDrawsANewOrderAfterEachPass) {
  RecordingView view;
  PlaybackSettings settings = Settings(2);
  settings.random = true;
  settings.loop = true;
  // First order: p1<->2, p2<->2 gives 21. After the pass: p1<->1, p2<->1
  // gives 12, so the new pass starts with the slide that ended the last one.
  Playback playback(settings, view, Draws({0.6, 0.6, 0.1, 0.1}));
  playback.Start();
  EXPECT_EQ(playback.PlayOrder(), (std::vector<int>{2, 1}));
  playback.TimerTick();
  EXPECT_EQ(playback.CurrentIndex(), 0);
  EXPECT_EQ(playback.PlayOrder(), (std::vector<int>{1, 2}));
  playback.TimerTick();
  playback.TimerTick();
  EXPECT_EQ(view.shown, (std::vector<int>{2, 1, 1, 2}));
  EXPECT_EQ(view.positions, (std::vector<int>{1, 2, 1, 2}));
  EXPECT_FALSE(playback.Ended());
}

TEST(PlaybackShuffle, WithoutLoopTheOrderIsRedrawnAfterTheLastSlide) {
  RecordingView view;
  PlaybackSettings settings = Settings(3);
  settings.random = true;
  // First order 123 (every draw keeps its place); after the last slide
  // p1<->3, p2<->3, p3<->3: 321 -> 312 -> 312.
  Playback playback(settings, view, Draws({0.0, 0.4, 0.7, 0.9, 0.9, 0.9}));
  playback.Start();
  EXPECT_EQ(playback.PlayOrder(), (std::vector<int>{1, 2, 3}));
  playback.TimerTick();
  playback.TimerTick();
  EXPECT_EQ(view.shown, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(playback.PlayOrder(), (std::vector<int>{3, 1, 2}));
  playback.HandleInput(code::kLeftArrow);  // position 2 of the new order
  EXPECT_EQ(view.shown.back(), 1);
  playback.HandleInput(code::kSpace);
  playback.HandleInput(code::kSpace);
  EXPECT_TRUE(playback.Ended());
}

// The pointer hides when still and comes back when moved; a slide that loads
// while it is hidden does not bring it back as the busy pointer.
TEST(PointerVisibility, HiddenWhenStillBusyOnlyWhenSeen) {
  PointerVisibility pointer;
  EXPECT_EQ(pointer.SetBusy(true), PointerShape::kBusy);
  EXPECT_EQ(pointer.Idle(), PointerShape::kHidden);
  EXPECT_EQ(pointer.SetBusy(false), PointerShape::kHidden);
  EXPECT_EQ(pointer.SetBusy(true), PointerShape::kHidden);
  EXPECT_EQ(pointer.Moved(), PointerShape::kBusy);
  EXPECT_EQ(pointer.SetBusy(false), PointerShape::kNormal);
  EXPECT_EQ(pointer.Idle(), PointerShape::kHidden);
  EXPECT_EQ(pointer.Moved(), PointerShape::kNormal);
}

}  // namespace
}  // namespace pivolane::playback
