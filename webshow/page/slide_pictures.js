// Slides ready to be shown: title and picture, drawn at the size the screen
// shows it at. At most the slide on screen and its two neighbours are kept.
// A picture's deciphered bytes live only until the browser has decoded them,
// and the object URL that tells its size is revoked as soon as it has.
import { fitInto } from "./fit.js";
import { afterNextPaint } from "./paint.js";

// The formats a slide may hold, told from their first bytes as the player
// tells them; anything else is a bad picture.
const kFormats = [
  { type: "image/jpeg", magic: [0xff, 0xd8, 0xff] },
  { type: "image/png", magic: [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a] },
  { type: "image/gif", magic: [0x47, 0x49, 0x46, 0x38, 0x37, 0x61] }, // GIF87a
  { type: "image/gif", magic: [0x47, 0x49, 0x46, 0x38, 0x39, 0x61] }, // GIF89a
  { type: "image/bmp", magic: [0x42, 0x4d] },
  { type: "image/x-icon", magic: [0x00, 0x00, 0x01, 0x00] },
];

function pictureType(bytes) {
  const format = kFormats.find((f) => f.magic.every((byte, i) => bytes[i] === byte));
  return format ? format.type : null;
}

// The sizes the player decodes: no side above 32767 pixels, at most 2^27
// pixels in all.
const kMaxSide = 32767;
const kMaxPixelCount = 2 ** 27;

function withinDecodeLimits({ width, height }) {
  const sides = width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
  return sides && width * height <= kMaxPixelCount;
}

// The picture of blob as an image element, loaded: its size, EXIF
// orientation applied, is known, but nothing is decoded yet. Rejects when
// the browser cannot read it. Its object URL lives only while it loads.
async function loadImage(blob) {
  const url = URL.createObjectURL(blob);
  const image = new Image();
  try {
    await new Promise((resolve, reject) => {
      image.onload = resolve;
      image.onerror = reject;
      image.src = url;
    });
    return image;
  } finally {
    URL.revokeObjectURL(url);
  }
}

// The picture's size as shown, read from the header at its start: the
// browser then need not take in the whole picture. When the header is longer,
// from the whole picture. null when the browser cannot read it.
const kHeaderBytes = 64 * 1024;

async function shownSize(blob) {
  const parts = blob.size > kHeaderBytes ? [blob.slice(0, kHeaderBytes, blob.type), blob] : [blob];
  for (const part of parts) {
    try {
      const image = await loadImage(part);
      const size = { width: image.naturalWidth, height: image.naturalHeight };
      image.removeAttribute("src");
      return size;
    } catch {
      // the next part, if any
    }
  }
  return null;
}

// The largest the page can show a picture at, in device pixels: the screen,
// in either orientation.
function largestShownSize() {
  const side = Math.max(screen.width, screen.height) * (window.devicePixelRatio || 1);
  return { width: side, height: side };
}

// Decodes the picture and draws it over the whole canvas: off the page's
// thread where the browser can, else from an image element. Drawn, not
// handed over: a canvas that takes a bitmap as it is shows it without its
// EXIF orientation in some browsers.
async function drawOnto(canvas, blob) {
  const context = canvas.getContext("2d");
  context.imageSmoothingQuality = "high";
  let picture;
  try {
    picture = await createImageBitmap(blob, {
      resizeWidth: canvas.width,
      resizeHeight: canvas.height,
      resizeQuality: "high",
    });
  } catch {
    // Browsers without these options.
    picture = await loadImage(blob);
    await picture.decode();
  }
  context.drawImage(picture, 0, 0, canvas.width, canvas.height);
  if (picture.close) {
    picture.close();
  } else {
    picture.removeAttribute("src");
  }
}

// A picture's bytes drawn onto a canvas, at its own size or reduced to the
// largest the screen shows; null when the browser cannot decode it or it is
// beyond the decoding limits. bytes are wiped once the browser has its copy.
async function drawPicture(bytes) {
  const type = pictureType(bytes);
  const blob = type ? new Blob([bytes], { type }) : null;
  bytes.fill(0);
  const natural = blob && (await shownSize(blob));
  if (!natural || !withinDecodeLimits(natural)) return null;
  try {
    const canvas = document.createElement("canvas");
    const drawn = fitInto(natural, largestShownSize());
    canvas.width = drawn.width;
    canvas.height = drawn.height;
    await drawOnto(canvas, blob);
    return { canvas, natural };
  } catch {
    return null;
  }
}

// Lets a picture's pixels go.
function release(picture) {
  if (picture) picture.canvas.width = picture.canvas.height = 0;
}

export class SlidePictures {
  // readSlide(slideNumber) gives its title and plain picture bytes (or null).
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
