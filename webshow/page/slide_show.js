// The show on screen: playback's rules acting on the stage, with the slides
// prepared ahead, the slide timer and the user's input.
import { listenForInput } from "./input.js";
import { InputCode, Playback, timerIntervalForDelay } from "./playback.js";
import { SlidePictures } from "./slide_pictures.js";
import { Stage } from "./stage.js";

export class SlideShow {
  // fullScreen: asked for at the first gesture, given back at the end.
  // ended() is called once the show is over.
  constructor(header, reader, texts, fullScreen, ended) {
    this.reader_ = reader;
    this.fullScreen_ = fullScreen;
    this.ended_ = ended;
    this.stage_ = new Stage(texts, header.titles);
    this.pictures_ = new SlidePictures((slideNumber) => reader.slide(slideNumber));
    this.timer_ = 0;
    this.shownSlide_ = null;
    this.playback_ = new Playback(
      {
        slideCount: header.slideCount,
        loop: header.loop,
        random: header.random,
        timerIntervalMs: timerIntervalForDelay(header.delaySeconds),
      },
      this,
    );
    this.stopListening_ = listenForInput(
      document,
      (code) => this.playback_.handleInput(code),
      () => fullScreen.ask(),
    );
  }

  // Resolves once the first slide is shown.
  start() {
    return this.playback_.start();
  }

  // Ends the show as Escape does.
  end() {
    this.playback_.handleInput(InputCode.escape);
  }

  // The view of playback.
  setBusy(busy) {
    this.stage_.setBusy(busy);
  }

  async showSlide(slideNumber) {
    const slide = await this.pictures_.get(slideNumber);
    if (this.playback_.ended) return;
    this.shownSlide_ = slideNumber;
    this.stage_.show(slide);
  }

  startTimer(ms) {
    clearInterval(this.timer_);
    this.timer_ = setInterval(() => this.playback_.timerTick(), ms);
  }

  stopTimer() {
    clearInterval(this.timer_);
  }

  endShow() {
    clearInterval(this.timer_);
    this.stopListening_();
    this.stage_.end();
    this.pictures_.clear();
    this.reader_.forget();
    this.fullScreen_.leave();
    this.ended_();
  }

  neighbours(next, previous) {
    this.pictures_.keepOnly([this.shownSlide_, next, previous]);
  }
}
