// What the show puts on screen: one slide's picture, centred on black at its
// own size or reduced to fit, its title on the picture's lower edge when the
// show has titles on, and the page's title as the player's window caption.
import { fitInto } from "./fit.js";
import { kApplicationTitle } from "./player_texts.js";

const kPointerRestMs = 2500;
// A picture smaller than this has its title under it, not on it.
const kRoomForTitle = { width: 240, height: 160 };

export class Stage {
  constructor(texts, titlesOn) {
    this.texts_ = texts;
    this.titlesOn_ = titlesOn;
    this.element_ = document.getElementById("stage");
    this.figure_ = document.getElementById("slide");
    this.caption_ = document.getElementById("slide-title");
    this.problem_ = document.getElementById("slide-problem");
    this.picture_ = null; // { canvas, natural size } on screen
    this.pointerTimer_ = 0;
    this.element_.hidden = false;
    this.onPointerMove_ = () => this.pointerMoved_();
    this.element_.addEventListener("pointermove", this.onPointerMove_);
    this.pointerMoved_();
    this.resized_ = new ResizeObserver(() => this.place_());
    this.resized_.observe(this.element_);
  }

  // The slide { title, picture }; picture null when it cannot be shown.
  show(slide) {
    let caption = this.titlesOn_ ? slide.title : kApplicationTitle;
    if (!slide.picture) caption += " : " + this.texts_.badPicture;
    document.title = caption;
    if (this.picture_ !== slide.picture) {
      this.picture_?.canvas.remove();
      this.picture_ = slide.picture;
      if (this.picture_) this.figure_.prepend(this.picture_.canvas);
    }
    this.place_();
    this.figure_.hidden = !slide.picture;
    this.caption_.textContent = slide.title;
    this.caption_.hidden = !this.titlesOn_ || slide.title === "";
    // Full screen hides the caption that tells of a bad picture.
    this.problem_.textContent = caption;
    this.problem_.hidden = Boolean(slide.picture);
  }

  setBusy(busy) {
    this.element_.classList.toggle("busy", busy);
  }

  // No picture and no title stays on screen or in the page.
  end() {
    this.picture_?.canvas.remove();
    this.picture_ = null;
    this.resized_.disconnect();
    this.element_.removeEventListener("pointermove", this.onPointerMove_);
    clearTimeout(this.pointerTimer_);
    this.figure_.hidden = true;
    this.problem_.hidden = true;
    this.problem_.textContent = "";
    this.caption_.textContent = "";
    this.element_.classList.remove("busy", "pointer-resting");
    this.element_.hidden = true;
    document.title = kApplicationTitle;
  }

  // The picture's size on the page, which it fills to the edges at most.
  place_() {
    if (!this.picture_) return;
    const area = { width: this.element_.clientWidth, height: this.element_.clientHeight };
    const shown = fitInto(this.picture_.natural, area);
    this.picture_.canvas.style.width = `${shown.width}px`;
    this.picture_.canvas.style.height = `${shown.height}px`;
    this.figure_.classList.toggle(
      "small",
      shown.width < kRoomForTitle.width || shown.height < kRoomForTitle.height,
    );
  }

  // The pointer hides over the slides while it rests.
  pointerMoved_() {
    this.element_.classList.remove("pointer-resting");
    clearTimeout(this.pointerTimer_);
    this.pointerTimer_ = setTimeout(
      () => this.element_.classList.add("pointer-resting"),
      kPointerRestMs,
    );
  }
}
