// A slide's picture drawn from all its bytes at once: decoded off the page's
// thread at the size it is drawn at where the browser can, else from an
// image element. Its size is first read from its header, so that a picture
// beyond the decoding limits is never decoded.
import { fitInto } from "./fit.js";
import { canvasWith, largestShownSize } from "./picture_canvas.js";
import { withinDecodeLimits } from "./picture_formats.js";

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

// { canvas, natural size } of the picture blob holds, or null when it is
// beyond the decoding limits; rejects when the browser cannot decode it.
export async function drawWholePicture(blob) {
  const natural = await shownSize(blob);
  if (!natural || !withinDecodeLimits(natural)) return null;
  const drawn = fitInto(natural, largestShownSize());
  let picture;
  try {
    picture = await createImageBitmap(blob, {
      resizeWidth: drawn.width,
      resizeHeight: drawn.height,
      resizeQuality: "high",
    });
  } catch {
    // Browsers without these options.
    picture = await loadImage(blob);
    await picture.decode();
  }
  const canvas = canvasWith(drawn, picture);
  if (picture.close) {
    picture.close();
  } else {
    picture.removeAttribute("src");
  }
  return { canvas, natural };
}
