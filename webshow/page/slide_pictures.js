// Slides ready to be shown: title and picture, drawn at the size the screen
// shows it at. At most the slide on screen and its two neighbours are kept.
// A picture's deciphered bytes live only until the browser has decoded them.
import { afterNextPaint } from "./paint.js";
import { drawPicture } from "./picture_drawing.js";

// Lets a picture's pixels go.
function release(picture) {
  if (picture) picture.canvas.width = picture.canvas.height = 0;
}

export class SlidePictures {
  // readSlide(slideNumber) gives its title and picture (or null), as
  // ShowReader.slide does.
  constructor(readSlide) {
    this.readSlide_ = readSlide;
    this.slides_ = new Map(); // slide number -> { ready: promise of { title, picture } }
  }

  // Slide slideNumber, prepared now unless it is already: { title, picture },
  // picture { canvas, natural size } or null for a bad picture.
  get(slideNumber) {
    return (this.slides_.get(slideNumber) ?? this.prepare_(slideNumber, false)).ready;
  }

  // Keeps these slides only, null entries ignored, preparing those that are
  // not ready yet once the slide on screen is painted; the others are let go.
  keepOnly(slideNumbers) {
    for (const [number, slide] of this.slides_) {
      if (slideNumbers.includes(number)) continue;
      this.slides_.delete(number);
      slide.ready.then(({ picture }) => release(picture));
    }
    for (const number of slideNumbers) {
      if (number !== null && !this.slides_.has(number)) this.prepare_(number, true);
    }
  }

  clear() {
    this.keepOnly([]);
  }

  prepare_(slideNumber, afterPaint) {
    const slide = {};
    this.slides_.set(slideNumber, slide);
    slide.ready = (async () => {
      if (afterPaint) await afterNextPaint();
      if (this.slides_.get(slideNumber) !== slide) return { title: "", picture: null }; // let go
      const { title, picture } = this.readSlide_(slideNumber);
      return { title, picture: picture ? await drawPicture(picture) : null };
    })();
    return slide;
  }
}
