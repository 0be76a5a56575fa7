// The slides of an opened show: its checked entries, and each slide's title
// and picture, deciphered by the show's cipher when it is wanted.
import { titleText } from "./cp1252.js";
import { applyKeyStream } from "./xor_cipher.js";
import { parseEntries, storedPictureSize, tableSize } from "./show_format.js";

// Larger pictures are bad pictures, as for the player: a show cannot make
// the page hold more than this for one slide.
const kMaxPictureBytes = 64 * 1024 * 1024;

// Ciphers: table(show, size) gives the plain entry table, or null when it
// does not open (a wrong password); picture(show, slideNumber, entry) the
// plain picture, or null when it does not open (a damaged picture).
export const noCipher = {
  table: (show, size) => show.data.read(0, size),
  picture: (show, slideNumber, entry) => show.data.read(entry.offset, entry.size),
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
    picture: (show, slideNumber, entry) => deciphered(show, entry.offset, entry.size),
    forget: () => stream.fill(0),
  };
}

export function sealedCipher(seal) {
  return {
    table: (show, size) => seal.open(0, 0, true, show.data.read(0, size)),
    picture(show, slideNumber, entry) {
      const stored = show.data.read(entry.offset, storedPictureSize(show, entry.size));
      return seal.openPicture(slideNumber, entry.size, stored);
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

  // Slide slideNumber's title and plain picture; the picture is null when
  // it is too large or does not open.
  slide(slideNumber) {
    const entry = this.entries_[slideNumber - 1];
    const title = titleText(entry.titleBytes);
    if (entry.size > kMaxPictureBytes) return { title, picture: null };
    try {
      return { title, picture: this.cipher_.picture(this.show_, slideNumber, entry) };
    } catch {
      // Damaged, or more than the browser gives the page: a bad picture.
      return { title, picture: null };
    }
  }

  // The show is over: the key goes, and the titles with it.
  forget() {
    this.cipher_.forget();
    for (const entry of this.entries_) entry.titleBytes.fill(0);
  }
}
