// The show's document bytes as the page carries them: base64 text in the
// page's last data element. Reads take from its text only the groups of four
// characters they need, and decode only those, so that a show never lies in
// the script's memory as a whole, neither as text nor decoded: a show may be
// larger than the longest string a script can hold.
import { InvalidShow } from "./invalid_show.js";

// The value of each character of the alphabet, -1 for any other.
const kValues = (() => {
  const values = new Int16Array(128).fill(-1);
  const alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (let i = 0; i < alphabet.length; ++i) values[alphabet.charCodeAt(i)] = i;
  return values;
})();

function valueAt(text, i) {
  const code = text.charCodeAt(i);
  const value = code < 128 ? kValues[code] : -1;
  if (value < 0) throw new InvalidShow("a character outside the base64 alphabet");
  return value;
}

// For browsers without Uint8Array.fromBase64. text is whole groups; "=" is
// taken only as the padding of the last one.
function decodeGroups(text) {
  const padding = text.endsWith("==") ? 2 : text.endsWith("=") ? 1 : 0;
  const bytes = new Uint8Array((text.length / 4) * 3 - padding);
  let out = 0;
  for (let i = 0; i < text.length; i += 4) {
    const last = i + 4 === text.length;
    const a = valueAt(text, i);
    const b = valueAt(text, i + 1);
    const c = last && padding === 2 ? 0 : valueAt(text, i + 2);
    const d = last && padding >= 1 ? 0 : valueAt(text, i + 3);
    const bits = (a << 18) | (b << 12) | (c << 6) | d;
    bytes[out++] = bits >> 16;
    if (out < bytes.length) bytes[out++] = (bits >> 8) & 0xff;
    if (out < bytes.length) bytes[out++] = bits & 0xff;
  }
  return bytes;
}

function decode(text) {
  if (typeof Uint8Array.fromBase64 !== "function") return decodeGroups(text);
  try {
    return Uint8Array.fromBase64(text);
  } catch {
    throw new InvalidShow("a character outside the base64 alphabet");
  }
}

export class ShowData {
  // pieces: the element's text nodes, as many as the HTML parser made of it.
  constructor(pieces) {
    this.pieces_ = pieces;
    this.starts_ = [];
    let characters = 0;
    for (const piece of pieces) {
      this.starts_.push(characters);
      characters += piece.length;
    }
    if (characters === 0 || characters % 4 !== 0) {
      throw new InvalidShow("the show's data is not whole groups of base64");
    }
    this.characters_ = characters;
    const tail = this.text_(characters - 2, characters);
    this.padding_ = tail === "==" ? 2 : tail[1] === "=" ? 1 : 0;
    // The number of document bytes.
    this.length = (characters / 4) * 3 - this.padding_;
  }

  static fromElement(element) {
    const pieces = element ? Array.from(element.childNodes) : [];
    return new ShowData(pieces.filter((node) => node.nodeType === Node.TEXT_NODE));
  }

  // length bytes from offset, as a new array (a view of a few bytes more).
  read(offset, length) {
    if (!(offset >= 0 && length >= 0 && offset + length <= this.length)) {
      throw new InvalidShow("a read past the end of the show");
    }
    if (length === 0) return new Uint8Array(0);
    const firstGroup = Math.floor(offset / 3);
    const endGroup = Math.ceil((offset + length) / 3);
    const bytes = decode(this.text_(firstGroup * 4, endGroup * 4));
    // Padding or blanks inside the data change the count.
    const whole = (endGroup - firstGroup) * 3;
    if (bytes.length !== whole - (endGroup * 4 === this.characters_ ? this.padding_ : 0)) {
      throw new InvalidShow("padding or blanks inside the show's data");
    }
    const from = offset - firstGroup * 3;
    return bytes.subarray(from, from + length);
  }

  // Characters begin..end of the text, across pieces.
  text_(begin, end) {
    let index = this.pieceAt_(begin);
    let text = "";
    for (let at = begin; at < end; ++index) {
      const piece = this.pieces_[index];
      const from = at - this.starts_[index];
      const part = piece.substringData(from, Math.min(piece.length - from, end - at));
      text += part;
      at += part.length;
    }
    return text;
  }

  pieceAt_(characterIndex) {
    let low = 0;
    let high = this.starts_.length - 1;
    while (low < high) {
      const middle = (low + high + 1) >> 1;
      if (this.starts_[middle] <= characterIndex) {
        low = middle;
      } else {
        high = middle - 1;
      }
    }
    return low;
  }
}
