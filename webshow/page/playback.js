// The player's playback rules: the play order, the current position, moving
// forward and back, the end of the show and the slide timer. The page that
// shows the slides is reached through a view:
//   setBusy(busy)                 the busy pointer while a slide loads
//   showSlide(slideNumber)        shows slide slideNumber (1-based); a promise
//                                 that settles once it is on screen, never
//                                 rejected: a slide that cannot be shown is
//                                 shown empty
//   startTimer(ms), stopTimer()   the slide timer, which calls timerTick
//                                 after ms, and again after each ms
//   endShow()                     the show is over
//   neighbours(next, previous)    the slides that the next nextSlide and
//                                 previousSlide would show (or null), which
//                                 the view may prepare meanwhile

// The codes input comes as: key codes and mouse button numbers.
export const InputCode = Object.freeze({
  leftButton: 1,
  rightButton: 2,
  middleButton: 4,
  backspace: 8,
  enter: 13,
  escape: 27,
  space: 32,
  leftArrow: 37,
  rightArrow: 39,
  // Keys without a code of their own pause the show and do nothing else.
  otherKey: 0,
});

function actionFor(code) {
  switch (code) {
    case InputCode.leftButton:
    case InputCode.enter:
    case InputCode.space:
    case InputCode.rightArrow:
      return "next";
    case InputCode.rightButton:
    case InputCode.backspace:
    case InputCode.leftArrow:
      return "previous";
    case InputCode.escape:
      return "end";
    default:
      return "none";
  }
}

// The slide timer's interval for a delay in seconds; a negative delay, which
// no editor writes, counts as 0.
export function timerIntervalForDelay(delaySeconds) {
  return Math.max(delaySeconds, 0) * 1000;
}

export class Playback {
  // settings: slideCount, loop, random, timerIntervalMs; random() draws
  // numbers in [0, 1).
  constructor(settings, view, random = Math.random) {
    this.settings_ = { ...settings, slideCount: Math.max(settings.slideCount, 0) };
    this.view_ = view;
    this.random_ = random;
    this.playOrder = [];
    this.currentIndex = 0; // 0 before the first slide and after a pass that wraps
    this.autoAdvance_ = false;
    this.timerRunning_ = false;
    this.loading_ = false;
    this.ended = false;
    this.orderPrepared_ = false;
  }

  // Fills the play order, shuffled in random order, unless that is done, so
  // that the first slide can be prepared before the show starts.
  preparePlayOrder() {
    if (this.orderPrepared_) return;
    this.orderPrepared_ = true;
    this.playOrder = Array.from({ length: this.settings_.slideCount }, (_, p) => p + 1);
    if (this.settings_.random) this.shufflePlayOrder();
  }

  // Shows the first slide; a show without slides ends at once.
  start() {
    this.autoAdvance_ = this.settings_.timerIntervalMs > 0;
    this.preparePlayOrder();
    this.currentIndex = 0;
    return this.nextSlide();
  }

  // Every position swaps with one drawn from the whole order, itself included.
  shufflePlayOrder() {
    const count = this.playOrder.length;
    for (let p = 0; p < count; ++p) {
      // A draw that rounds up to the top of [0, 1) still names the last position.
      const j = Math.min(Math.max(Math.floor(this.random_() * count), 0), count - 1);
      [this.playOrder[p], this.playOrder[j]] = [this.playOrder[j], this.playOrder[p]];
    }
  }

  // A key code or mouse button number: stops the timer in every case, then
  // moves, ends the show, or does nothing more. While a slide loads only the
  // code that ends the show is taken.
  handleInput(code) {
    const action = actionFor(code);
    if (this.ended || (this.loading_ && action !== "end")) return;
    this.setTimerRunning_(false);
    if (action === "next") this.nextSlide();
    if (action === "previous") this.previousSlide();
    if (action === "end") this.end_();
  }

  timerTick() {
    if (this.accepting_() && this.timerRunning_) this.nextSlide();
  }

  async nextSlide() {
    if (!this.accepting_()) return;
    ++this.currentIndex;
    if (this.currentIndex > this.settings_.slideCount) {
      this.end_();
      return;
    }
    this.loading_ = true;
    this.view_.setBusy(true);
    this.setTimerRunning_(false);
    await this.view_.showSlide(this.playOrder[this.currentIndex - 1]);
    if (this.currentIndex === this.settings_.slideCount) {
      if (this.settings_.loop) this.currentIndex = 0;
      // A new order after every pass, looping or not.
      if (this.settings_.random) this.shufflePlayOrder();
    }
    this.slideShown_(this.autoAdvance_); // the delay counts from here
  }

  async previousSlide() {
    if (!this.accepting_() || this.currentIndex <= 1) return;
    --this.currentIndex;
    this.loading_ = true;
    this.view_.setBusy(true);
    await this.view_.showSlide(this.playOrder[this.currentIndex - 1]);
    this.slideShown_(false);
  }

  // The slide that nextSlide would show now: the next position's, the first
  // of the order after a wrap (of the new order when it was redrawn); null
  // when the show would end.
  upcomingSlide() {
    if (this.ended || this.currentIndex >= this.settings_.slideCount) return null;
    return this.playOrder[this.currentIndex];
  }

  // The slide that previousSlide would show now; null at the first position
  // and after a wrap.
  precedingSlide() {
    if (this.ended || this.currentIndex <= 1) return null;
    return this.playOrder[this.currentIndex - 2];
  }

  slideShown_(restartTimer) {
    this.view_.setBusy(false);
    this.loading_ = false;
    if (this.ended) return; // Escape while the slide loaded
    if (restartTimer) this.setTimerRunning_(true);
    this.view_.neighbours(this.upcomingSlide(), this.precedingSlide());
  }

  accepting_() {
    return !this.loading_ && !this.ended;
  }

  setTimerRunning_(running) {
    this.timerRunning_ = running;
    if (running) {
      this.view_.startTimer(this.settings_.timerIntervalMs);
    } else {
      this.view_.stopTimer();
    }
  }

  end_() {
    if (this.ended) return;
    this.setTimerRunning_(false);
    this.ended = true;
    this.view_.endShow();
  }
}
