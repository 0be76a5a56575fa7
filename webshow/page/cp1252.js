// Code page 1252, the single-byte text of show files: titles are read with
// it, and a typed password is turned into its bytes as the programs do.

// The characters of bytes 0x80..0x9F. The five bytes without a character
// stand for the C1 control of the same value, as they do for the programs.
const kHighCharacters = [
  0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
  0x2039, 0x0152, 0x008d, 0x017d, 0x008f, 0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
  0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178,
];
const kMaxPasswordLength = 128;

function byteOf(codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xa0 && codePoint <= 0xff)) return codePoint;
  const high = kHighCharacters.indexOf(codePoint);
  return high < 0 ? null : 0x80 + high;
}

// The bytes of a typed password; null when no show can have it: empty,
// longer than 128 characters, or holding a character code page 1252 lacks.
export function passwordBytes(typed) {
  const bytes = [];
  for (const character of typed) {
    const byte = byteOf(character.codePointAt(0));
    if (byte === null || bytes.length === kMaxPasswordLength) return null;
    bytes.push(byte);
  }
  return bytes.length === 0 ? null : Uint8Array.from(bytes);
}

const kDecoder = new TextDecoder("windows-1252");

// A title field as text, without its trailing spaces (and the NULs of a
// field never written).
export function titleText(field) {
  return kDecoder.decode(field).replace(/[ \0]+$/, "");
}
