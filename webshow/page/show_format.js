// The show file's records, read without trusting them: the header record of
// the trailer, the cipher's parameters and the slide entries, each count,
// size and offset checked before it is used. The layout is the document's:
// the payload, then the 155-byte header record and one 0x00.
import { InvalidShow } from "./invalid_show.js";

const kHeaderSize = 155;
const kTrailerSize = kHeaderSize + 1;
const kEntrySize = 136;
const kTitleLength = 128;
export const kTagLength = 16; // after every sealed message
export const kSealedChunkSize = 65536;
const kXorCipherVersion = 1;
const kSealedCipherVersion = 2;
// The bounds of a sealed show's key derivation: more is a hostile file.
const kPasses = { least: 1, most: 10 };
const kMemoryBytes = { least: 8 * 1024, most: 1024 * 1024 * 1024 };

function fieldsOf(bytes) {
  return new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
}

function parseHeader(bytes) {
  const fields = fieldsOf(bytes);
  const passwordCheck = bytes.slice(20, 148);
  return {
    record: bytes.slice(0, kHeaderSize),
    hasShowTag: bytes[0] === 0x70 && bytes[1] === 0x76 && bytes[2] === 0x6c, // "pvl"
    delaySeconds: fields.getInt32(6, true),
    slideCount: fields.getInt16(10, true),
    keyStart: bytes[12],
    loop: fields.getInt16(13, true) !== 0,
    random: fields.getInt16(15, true) !== 0,
    titles: fields.getInt16(17, true) !== 0,
    passwordCheck,
    language: bytes[152],
    cipherVersion: fields.getInt16(153, true),
    hasPassword: passwordCheck.some((byte) => byte !== 0),
  };
}

// The show of data: its header record, and where its payload ends.
export function openShow(data) {
  if (data.length < kTrailerSize) throw new InvalidShow("shorter than a trailer");
  const header = parseHeader(data.read(data.length - kTrailerSize, kHeaderSize));
  if (!header.hasShowTag) throw new InvalidShow("no show tag");
  const show = { data, header, payloadLength: data.length - kTrailerSize };
  show.sealed = header.hasPassword && header.cipherVersion === kSealedCipherVersion;
  return show;
}

// The room a picture of size bytes takes in the payload.
export function storedPictureSize(show, size) {
  if (!show.sealed) return size;
  return size + kTagLength * Math.max(1, Math.ceil(size / kSealedChunkSize));
}

// What can be told before any password: a cipher this page does not know,
// a sealed show's key derivation beyond any show's bounds, and an entry
// table that does not fit into the payload.
export function checkBeforePassword(show) {
  const header = show.header;
  if (header.hasPassword) {
    const version = header.cipherVersion;
    if (version !== kXorCipherVersion && version !== kSealedCipherVersion) {
      throw new InvalidShow(`unknown cipher version ${version}`);
    }
    if (show.sealed) {
      const { passes, memoryBytes } = sealedParameters(header);
      if (passes < kPasses.least || passes > kPasses.most) throw new InvalidShow("passes");
      if (memoryBytes < kMemoryBytes.least || memoryBytes > kMemoryBytes.most) {
        throw new InvalidShow("memory");
      }
    }
  }
  tableSize(show);
}

// The PasswordCheck field of a sealed show: salt, Argon2id passes and memory,
// file id.
export function sealedParameters(header) {
  const field = header.passwordCheck;
  const fields = fieldsOf(field);
  return {
    salt: field.slice(0, 16),
    passes: fields.getUint32(16, true),
    memoryBytes: Number(fields.getBigUint64(20, true)),
    fileId: field.slice(28, 44),
  };
}

// The stored size of the entry table, checked against the payload.
export function tableSize(show) {
  const count = show.header.slideCount;
  if (count < 0) throw new InvalidShow("a negative slide count");
  const size = count * kEntrySize + (show.sealed ? kTagLength : 0);
  if (size > show.payloadLength) throw new InvalidShow("the entries lie past the data");
  return size;
}

// The slide entries of the plain entry table, each picture checked to lie
// inside the payload after the table, no two of them overlapping.
export function parseEntries(show, table) {
  const fields = fieldsOf(table);
  const tableEnd = tableSize(show);
  const entries = [];
  for (let k = 0; k < show.header.slideCount; ++k) {
    const at = k * kEntrySize;
    const entry = {
      titleBytes: table.slice(at, at + kTitleLength),
      size: fields.getInt32(at + kTitleLength, true),
      offset: fields.getInt32(at + kTitleLength + 4, true),
    };
    entry.storedEnd = entry.offset + storedPictureSize(show, entry.size);
    if (entry.size < 0 || entry.offset < tableEnd || entry.storedEnd > show.payloadLength) {
      throw new InvalidShow(`the picture of slide ${k + 1} lies outside the data`);
    }
    entries.push(entry);
  }
  const stored = entries.filter((e) => e.storedEnd > e.offset).sort((a, b) => a.offset - b.offset);
  for (let i = 1; i < stored.length; ++i) {
    if (stored[i - 1].storedEnd > stored[i].offset) throw new InvalidShow("two pictures overlap");
  }
  return entries;
}
