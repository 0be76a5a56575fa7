// Full screen, asked for once, at the first gesture that allows it. A
// browser keeps the first Escape for itself to leave full screen: leaving it
// ends the show, as Escape does. Where full screen is refused the show plays
// in the page as it is.
export class FullScreen {
  constructor(left) {
    this.asked_ = false;
    this.entered_ = false;
    document.addEventListener("fullscreenchange", () => {
      if (document.fullscreenElement) {
        this.entered_ = true;
      } else if (this.entered_) {
        this.entered_ = false;
        left();
      }
    });
  }

  // Within a user gesture; an input that gives the page no right to full
  // screen (a modifier key alone, say) leaves the question for the next one.
  ask() {
    const page = document.documentElement;
    if (this.asked_ || !page.requestFullscreen) return;
    if (navigator.userActivation && !navigator.userActivation.isActive) return;
    this.asked_ = true;
    page.requestFullscreen({ navigationUI: "hide" }).catch(() => {});
  }

  // Asks again at the next gesture, as for a show that starts.
  reset() {
    this.asked_ = false;
  }

  // Gives the screen back without telling anyone it was left.
  leave() {
    this.entered_ = false;
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  }
}
