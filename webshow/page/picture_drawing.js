// A slide's picture, from its plain parts, drawn on a canvas at its own size
// or reduced to the largest the screen shows: a JPEG while its later parts
// are still being deciphered where the browser can, any other picture, and a
// JPEG that the decoder refuses (one cut short, which the player shows as
// far as it goes), once it is whole.
import { drawJpegInParts, kDecodesJpegInParts } from "./jpeg_in_parts.js";
import { jpegFrameSize, pictureType } from "./picture_formats.js";
import { drawWholePicture } from "./whole_picture.js";

// A picture's plain parts, read one at a time. Every part read is kept, to
// be wiped once the browser has decoded the picture, and so is the failure
// to read one, which a stream's reader may not report.
class Parts {
  constructor(parts) {
    this.parts_ = parts;
    this.read = [];
    this.failure = null;
    this.closed_ = false;
  }

  // The next part, or null after the last and once closed.
  next() {
    if (this.closed_) return null;
    try {
      const { value, done } = this.parts_.next();
      if (done) return null;
      this.read.push(value);
      return value;
    } catch (failure) {
      this.failure = failure;
      throw failure;
    }
  }

  // Reads the parts not read yet: each must open, as it must before a
  // picture is shown. Raises the first failure met, also an earlier one.
  finish() {
    while (this.next());
    if (this.failure) throw this.failure;
  }

  // Wipes the parts read, and reads no more.
  close() {
    this.closed_ = true;
    for (const part of this.read) part.fill(0);
  }
}

// picture: a generator of its plain parts. { canvas, natural size upright },
// or null when the browser cannot decode it, a part cannot be read, or it is
// beyond the decoding limits. The parts are wiped once the browser has
// decoded the picture.
export async function drawPicture(picture) {
  const parts = new Parts(picture);
  try {
    const first = parts.next() ?? new Uint8Array(0);
    const type = pictureType(first);
    if (!type) return null;
    const stored = type === "image/jpeg" && kDecodesJpegInParts ? jpegFrameSize(first) : null;
    if (stored) {
      try {
        return await drawJpegInParts(stored, first, parts);
      } catch {
        // Drawn whole, below, unless a part did not open.
      }
    }
    parts.finish();
    return await drawWholePicture(new Blob(parts.read, { type }));
  } catch {
    return null;
  } finally {
    parts.close();
  }
}
