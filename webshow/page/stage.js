// What the show puts on screen: one slide's picture, centred on black at its
// own size or reduced to fit, its title on the picture's lower edge when the
// show has titles on, and the page's title as the player's window caption.
import { kApplicationTitle } from "./player_texts.js";

const kPointerRestMs = 2500;

export class Stage {
  constructor(texts, titlesOn) {
    this.texts_ = texts;
    this.titlesOn_ = titlesOn;
    this.element_ = document.getElementById("stage");
    this.figure_ = document.getElementById("slide");
    this.caption_ = document.getElementById("slide-title");
    this.problem_ = document.getElementById("slide-problem");
    this.image_ = null;
    this.pointerTimer_ = 0;
    this.element_.hidden = false;
    this.element_.addEventListener("pointermove", () => this.pointerMoved_());
    this.pointerMoved_();
  }

  // The slide { title, image }; image null for a picture that cannot be shown.
  show(slide) {
    let caption = this.titlesOn_ ? slide.title : kApplicationTitle;
    if (!slide.image) caption += " : " + this.texts_.badPicture;
    document.title = caption;
    if (this.image_ !== slide.image) {
      this.image_?.remove();
      this.image_ = slide.image;
      if (this.image_) this.figure_.prepend(this.image_);
    }
    this.figure_.hidden = !slide.image;
    this.caption_.textContent = slide.title;
    this.caption_.hidden = !this.titlesOn_ || slide.title === "";
    // Full screen hides the caption that tells of a bad picture.
    this.problem_.textContent = caption;
    this.problem_.hidden = Boolean(slide.image);
  }

  setBusy(busy) {
    this.element_.classList.toggle("busy", busy);
  }

  // No picture stays on screen or in the page.
  end() {
    this.image_?.remove();
    this.image_ = null;
    this.figure_.hidden = true;
    this.problem_.hidden = true;
    this.caption_.textContent = "";
    this.element_.classList.remove("busy");
    document.title = kApplicationTitle;
  }

  // The pointer hides over the slides while it rests.
  pointerMoved_() {
    this.element_.classList.remove("pointer-resting");
    clearTimeout(this.pointerTimer_);
    this.pointerTimer_ = setTimeout(() => this.element_.classList.add("pointer-resting"), kPointerRestMs);
  }
}
