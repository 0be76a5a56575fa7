// A JPEG drawn while its later parts are still being deciphered: the
// browser's ImageDecoder reads the parts as they come and decodes them off
// the page's thread, at the smallest of the JPEG's DCT scales that covers
// the size it is drawn at.
import { fitInto } from "./fit.js";
import { nextTask } from "./paint.js";
import { canvasWith, largestShownSize } from "./picture_canvas.js";
import { withinDecodeLimits } from "./picture_formats.js";

// Where the browser has one: in secure contexts (file:// and https://).
export const kDecodesJpegInParts = typeof ImageDecoder === "function";

// The size to ask the decoder for: the JPEG's least DCT scale (n/8) that
// still covers drawn. Decoders take the size asked as a bound on the
// decoded area and decode at the largest scale within it.
function decodedSize(stored, drawn) {
  const ratio = Math.max(drawn.width / stored.width, drawn.height / stored.height);
  const eighths = Math.min(8, Math.ceil(8 * ratio));
  return {
    desiredWidth: Math.ceil((stored.width * eighths) / 8),
    desiredHeight: Math.ceil((stored.height * eighths) / 8),
  };
}

// The parts as a stream that the decoder reads as they come, first the one
// already read; each later one is read in a task of its own, so that the
// page's thread hands each part over before it reads the next.
function partsStream(first, parts) {
  let waiting = first;
  return new ReadableStream({
    async pull(controller) {
      let part = waiting;
      waiting = null;
      if (!part) {
        await nextTask();
        part = parts.next();
      }
      if (part) {
        controller.enqueue(part);
      } else {
        controller.close();
      }
    },
  });
}

// { canvas, natural size upright } of a JPEG whose frame header gives the
// stored size, from its first part and the reader of the others (next(),
// finish()); null when it is beyond the decoding limits. Rejects when the
// browser cannot decode it or a part cannot be read. Its frame carries the
// EXIF orientation, which drawing applies.
export async function drawJpegInParts(stored, first, parts) {
  if (!withinDecodeLimits(stored)) return null;
  const box = largestShownSize();
  const decoder = new ImageDecoder({
    type: "image/jpeg",
    data: partsStream(first, parts),
    ...decodedSize(stored, fitInto(stored, box)),
  });
  decoder.completed.catch(() => {}); // a failure is the decode's
  try {
    const { image: frame } = await decoder.decode();
    try {
      // The decoder may be done at the picture's end, before its last parts.
      parts.finish();
      // A quarter turn shows in the frame's proportions.
      const turned =
        frame.displayWidth !== frame.displayHeight &&
        frame.displayWidth > frame.displayHeight !== stored.width > stored.height;
      const natural = turned ? { width: stored.height, height: stored.width } : stored;
      return { canvas: canvasWith(fitInto(natural, box), frame), natural };
    } finally {
      frame.close();
    }
  } finally {
    decoder.close();
  }
}
