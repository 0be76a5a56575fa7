// The page once the show is over: the program's icon and name, and a button
// that starts the show over. No picture and no text of the show is on it.
import { afterNextPaint } from "./paint.js";

export class EndScreen {
  constructor() {
    this.element_ = document.getElementById("end");
    this.again_ = document.getElementById("end-again");
    this.watchAgain_ = null;
    // A tap that ended the show is followed by a click wherever the finger
    // was, maybe on the button: only a press that began on it counts.
    this.pressed_ = false;
    this.again_.addEventListener("pointerdown", () => (this.pressed_ = true));
    this.again_.addEventListener("click", (event) => {
      const watchAgain = this.watchAgain_;
      const byKey = event.detail === 0;
      if (!watchAgain || !(byKey || this.pressed_)) return;
      this.hide();
      watchAgain();
    });
  }

  // label: the button's text, and watchAgain what it does; without them
  // the screen has no button (a show that cannot be read).
  show(label = null, watchAgain = null) {
    this.watchAgain_ = watchAgain;
    this.pressed_ = false;
    this.again_.textContent = label ?? "";
    this.again_.hidden = !watchAgain;
    this.element_.hidden = false;
    // Not at once: the key that ended the show would reach the button.
    if (watchAgain) afterNextPaint().then(() => this.watchAgain_ && this.again_.focus());
  }

  hide() {
    this.watchAgain_ = null;
    this.element_.hidden = true;
  }
}
