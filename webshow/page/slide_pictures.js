// Slides ready to be shown: title and decoded picture. At most the slide on
// screen and its two neighbours are kept; a picture's deciphered bytes live
// only as long as it takes the browser to decode them, and its object URL is
// revoked as soon as it is decoded.
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

export function pictureType(bytes) {
  const format = kFormats.find((f) => f.magic.every((byte, i) => bytes[i] === byte));
  return format ? format.type : null;
}

// The sizes the player decodes: no side above 32767 pixels, at most 2^27
// pixels in all.
const kMaxSide = 32767;
const kMaxPixelCount = 2 ** 27;

function withinDecodeLimits(image) {
  const { naturalWidth: width, naturalHeight: height } = image;
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixelCount;
}

function release(image) {
  if (image) image.removeAttribute("src");
}

// Decodes bytes of a picture into an image element; null when the browser
// cannot decode it or it is beyond the limits. bytes are wiped once the
// browser has its copy.
async function decodePicture(bytes) {
  const type = pictureType(bytes);
  if (!type) {
    bytes.fill(0);
    return null;
  }
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  bytes.fill(0);
  const image = new Image();
  image.alt = "";
  image.decoding = "async";
  try {
    // Its size first, before the browser spends anything on its pixels.
    await new Promise((resolve, reject) => {
      image.onload = resolve;
      image.onerror = reject;
      image.src = url;
    });
    if (!withinDecodeLimits(image)) throw new Error("beyond the decoding limits");
    await image.decode();
    return image;
  } catch {
    release(image);
    return null;
  } finally {
    image.onload = image.onerror = null;
    URL.revokeObjectURL(url);
  }
}

export class SlidePictures {
  // readSlide(slideNumber) gives its title and plain picture bytes (or null).
  constructor(readSlide) {
    this.readSlide_ = readSlide;
    this.slides_ = new Map(); // slide number -> { ready: promise of { title, image } }
  }

  // Slide slideNumber, prepared now unless it is already: { title, image },
  // image null for a bad picture.
  get(slideNumber) {
    return (this.slides_.get(slideNumber) ?? this.prepare_(slideNumber, false)).ready;
  }

  // Keeps these slides only, null entries ignored, preparing those that are
  // not ready yet once the slide on screen is painted; the others are let go.
  keepOnly(slideNumbers) {
    for (const [number, slide] of this.slides_) {
      if (slideNumbers.includes(number)) continue;
      this.slides_.delete(number);
      slide.ready.then(({ image }) => release(image));
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
      if (this.slides_.get(slideNumber) !== slide) return { title: "", image: null }; // let go
      const { title, picture } = this.readSlide_(slideNumber);
      return { title, image: picture ? await decodePicture(picture) : null };
    })();
    return slide;
  }
}
