// Resolves once the browser has painted what the page shows now, so that
// long work started then does not hold the picture back. Pages that are not
// visible paint nothing: there a moment's wait stands for the paint.
export function afterNextPaint() {
  return new Promise((resolve) => {
    let done = false;
    const painted = () => {
      if (done) return;
      done = true;
      clearTimeout(fallback);
      setTimeout(resolve, 0); // the paint follows the frame's callbacks
    };
    const fallback = setTimeout(painted, 100);
    requestAnimationFrame(painted);
  });
}
