// The user's keys, mouse buttons and touches, as the input codes of
// playback. A swipe to the left goes on and one to the right goes back; a
// tap goes on, as a click does. Nothing of it reaches the browser: no
// context menu, no scrolling, no swipe back a page.
import { InputCode } from "./playback.js";

const kKeys = new Map([
  ["Enter", InputCode.enter],
  [" ", InputCode.space],
  ["ArrowRight", InputCode.rightArrow],
  ["ArrowLeft", InputCode.leftArrow],
  ["Backspace", InputCode.backspace],
  ["Escape", InputCode.escape],
]);
// PointerEvent.button: 0 main, 1 middle, 2 secondary.
const kButtons = new Map([
  [0, InputCode.leftButton],
  [1, InputCode.middleButton],
  [2, InputCode.rightButton],
]);
// How far a touch must travel sideways to be a swipe, in CSS pixels.
const kSwipeDistance = 40;

function keyCode(key) {
  return kKeys.get(key) ?? InputCode.otherKey;
}

// A touch that ends dx, dy from where it began: a swipe, or a tap.
function touchCode(dx, dy) {
  if (Math.abs(dx) < kSwipeDistance || Math.abs(dx) < Math.abs(dy)) return InputCode.leftButton;
  return dx < 0 ? InputCode.rightArrow : InputCode.leftArrow;
}

// Calls take(code) for each input on target until the returned function is
// called; gesture() comes first at every input that lets a page go full screen.
export function listenForInput(target, take, gesture) {
  const touches = new Map(); // pointer id -> where it began
  const handlers = {
    keydown(event) {
      if (event.isComposing) return;
      const code = keyCode(event.key);
      if (code !== InputCode.otherKey) event.preventDefault();
      if (code !== InputCode.escape) gesture();
      take(code);
    },
    pointerdown(event) {
      if (event.pointerType === "mouse") {
        event.preventDefault();
        gesture();
        take(kButtons.get(event.button) ?? InputCode.otherKey);
      } else {
        touches.set(event.pointerId, { x: event.clientX, y: event.clientY });
      }
    },
    pointerup(event) {
      const start = touches.get(event.pointerId);
      if (!start) return;
      touches.delete(event.pointerId);
      gesture();
      take(touchCode(event.clientX - start.x, event.clientY - start.y));
    },
    pointercancel(event) {
      touches.delete(event.pointerId);
    },
    contextmenu(event) {
      event.preventDefault();
    },
    // Browsers that do not honour touch-action would scroll or go back.
    touchmove(event) {
      event.preventDefault();
    },
  };
  for (const [type, handler] of Object.entries(handlers)) {
    target.addEventListener(type, handler, { passive: false });
  }
  return () => {
    for (const [type, handler] of Object.entries(handlers)) {
      target.removeEventListener(type, handler);
    }
  };
}
