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

// Resolves in a task of its own, queued behind those already waiting, so that
// work split into pieces lets the browser's other tasks run between them: a
// decoder fed piece by piece goes on only once the page's thread has taken
// its answers. (Not scheduler.yield(), whose continuations go first.)
export function nextTask() {
  return new Promise((resolve) => {
    const channel = new MessageChannel();
    channel.port1.onmessage = () => {
      channel.port1.close();
      resolve();
    };
    channel.port2.postMessage(null);
  });
}
