// The slides of an opened show: its checked entries, and each slide's title
// and picture, deciphered by the show's cipher when it is wanted.
import { titleText } from "./cp1252.js";
import { applyKeyStream } from "./xor_cipher.js";
import {
  kSealedChunkSize,
  kTagLength,
  parseEntries,
  storedPictureSize,
  tableSize,
} from "./show_format.js";

// Larger pictures are bad pictures, as for the player: a show cannot make
// the page hold more than this for one slide.
const kMaxPictureBytes = 64 * 1024 * 1024;

// A picture is deciphered a part at a time, so that the browser can decode
// one part while the next is made: whole sealed chunks, as many plain bytes
// for the other ciphers.
const kPartChunks = 4;
const kPartBytes = kPartChunks * kSealedChunkSize;

// The plain parts of a picture of size bytes, in order; readPart(at, length)
// gives the plain bytes at..at+length of it, or null when they do not open.
function* partsOf(size, readPart) {
  for (let at = 0; at < size; at += kPartBytes) {
    const part = readPart(at, Math.min(kPartBytes, size - at));
    if (!part) throw new Error("a part of the picture does not open");
    yield part;
  }
}

// Ciphers: table(show, size) gives the plain entry table, or null when it
// does not open (a wrong password); readPart(show, slideNumber, entry) the
// picture's readPart for partsOf.
export const noCipher = {
  table: (show, size) => show.data.read(0, size),
  readPart: (show, slideNumber, entry) => (at, length) => show.data.read(entry.offset + at, length),
  forget() {},
};

export function xorCipher(stream, start) {
  const deciphered = (show, offset, size) => {
    const bytes = show.data.read(offset, size);
    applyKeyStream(stream, start, bytes, offset);
    return bytes;
  };
  return {
    table: (show, size) => deciphered(show, 0, size),
    readPart: (show, slideNumber, entry) => (at, length) =>
      deciphered(show, entry.offset + at, length),
    forget: () => stream.fill(0),
  };
}

export function sealedCipher(seal) {
  return {
    table: (show, size) => seal.open(0, 0, true, show.data.read(0, size)),
    readPart: (show, slideNumber, entry) => (at, length) => {
      const firstChunk = at / kSealedChunkSize;
      const from = entry.offset + at + firstChunk * kTagLength;
      const stored = show.data.read(from, storedPictureSize(show, length));
      return seal.openChunks(slideNumber, entry.size, firstChunk, length, stored);
    },
    forget: () => seal.forget(),
  };
}

export class ShowReader {
  // null when the entry table does not open; a damaged table or entries
  // raise InvalidShow.
  static open(show, cipher) {
    const table = cipher.table(show, tableSize(show));
    if (!table) return null;
    const entries = parseEntries(show, table);
    table.fill(0);
    return new ShowReader(show, cipher, entries);
  }

  constructor(show, cipher, entries) {
    this.show_ = show;
    this.cipher_ = cipher;
    this.entries_ = entries;
  }

  // Slide slideNumber's title and picture: a generator of its plain parts,
  // which raises when a part cannot be read or does not open; null when the
  // picture is too large.
  slide(slideNumber) {
    const entry = this.entries_[slideNumber - 1];
    const title = titleText(entry.titleBytes);
    if (entry.size > kMaxPictureBytes) return { title, picture: null };
    const readPart = this.cipher_.readPart(this.show_, slideNumber, entry);
    return { title, picture: partsOf(entry.size, readPart) };
  }

  // The show is over: the key goes, and the titles with it.
  forget() {
    this.cipher_.forget();
    for (const entry of this.entries_) entry.titleBytes.fill(0);
  }
}
