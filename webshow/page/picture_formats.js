// What the bytes of a slide's picture tell before it is decoded: its format,
// from its first bytes as the player tells it, and for a JPEG the size its
// frame header gives.

const kFormats = [
  { type: "image/jpeg", magic: [0xff, 0xd8, 0xff] },
  { type: "image/png", magic: [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a] },
  { type: "image/gif", magic: [0x47, 0x49, 0x46, 0x38, 0x37, 0x61] }, // GIF87a
  { type: "image/gif", magic: [0x47, 0x49, 0x46, 0x38, 0x39, 0x61] }, // GIF89a
  { type: "image/bmp", magic: [0x42, 0x4d] },
  { type: "image/x-icon", magic: [0x00, 0x00, 0x01, 0x00] },
];

// The picture's MIME type, or null for anything a slide may not hold.
export function pictureType(bytes) {
  const format = kFormats.find((f) => f.magic.every((byte, i) => bytes[i] === byte));
  return format ? format.type : null;
}

// The sizes the player decodes: no side above 32767 pixels, at most 2^27
// pixels in all.
const kMaxSide = 32767;
const kMaxPixelCount = 2 ** 27;

export function withinDecodeLimits({ width, height }) {
  const sides = width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
  return sides && width * height <= kMaxPixelCount;
}

// The markers of the frame headers, which give the picture's size: every
// SOFn but DHT (C4), JPG (C8) and DAC (CC), which share their range.
const kFrameMarkers = new Set([
  0xc0, 0xc1, 0xc2, 0xc3, 0xc5, 0xc6, 0xc7, 0xc9, 0xca, 0xcb, 0xcd, 0xce, 0xcf,
]);
const kStartOfScan = 0xda;
const kEndOfImage = 0xd9;

// The size a JPEG stores its picture at, before any EXIF orientation, from
// the frame header when it lies within bytes; null when it does not, or
// when the segments before it are not what a JPEG holds.
export function jpegFrameSize(bytes) {
  let at = 2; // after the start-of-image marker
  while (at + 4 <= bytes.length) {
    if (bytes[at] !== 0xff) return null;
    const marker = bytes[at + 1];
    if (marker === 0xff) {
      ++at; // a fill byte
      continue;
    }
    const length = (bytes[at + 2] << 8) | bytes[at + 3];
    if (kFrameMarkers.has(marker)) {
      if (length < 8 || at + 9 > bytes.length) return null;
      const height = (bytes[at + 5] << 8) | bytes[at + 6];
      const width = (bytes[at + 7] << 8) | bytes[at + 8];
      return width > 0 && height > 0 ? { width, height } : null;
    }
    if (marker === kStartOfScan || marker === kEndOfImage || length < 2) return null;
    at += 2 + length;
  }
  return null;
}
