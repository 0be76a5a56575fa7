// The canvas a slide's picture is drawn on: at the picture's own size, or
// reduced to the largest the screen can show.

// The largest the page can show a picture at, in device pixels: the screen,
// in either orientation.
export function largestShownSize() {
  const side = Math.max(screen.width, screen.height) * (window.devicePixelRatio || 1);
  return { width: side, height: side };
}

// A canvas of size with picture (anything a canvas draws) over all of it.
// Drawn, not handed over: a canvas that takes a bitmap as it is shows it
// without its EXIF orientation in some browsers.
export function canvasWith(size, picture) {
  const canvas = document.createElement("canvas");
  canvas.width = size.width;
  canvas.height = size.height;
  const context = canvas.getContext("2d");
  context.imageSmoothingQuality = "high";
  context.drawImage(picture, 0, 0, canvas.width, canvas.height);
  return canvas;
}
