// Cipher version 2: every part of the payload sealed with XChaCha20-Poly1305
// (libsodium, embedded in the page) under a key derived from the password.
// The associated data of every message is the 155-byte header record; the
// nonce is the file id, the slide number (0 for the entry table) and the
// chunk number with bit 31 set on a picture's last chunk.
import { kSealedChunkSize, kTagLength, sealedParameters } from "./show_format.js";

const kLastChunkFlag = 0x80000000;

// The page's copy of libsodium, which its own script element put there.
function sodium() {
  return globalThis.sodium;
}

// Resolves once the library can be used.
export function cipherLibraryReady() {
  return sodium().ready;
}

export class PayloadSeal {
  constructor(header, key) {
    this.record_ = header.record;
    this.fileId_ = sealedParameters(header).fileId;
    this.key_ = key;
  }

  // The plain bytes of a stored message, or null when it does not open.
  open(slideNumber, chunk, last, sealed) {
    const nonce = new Uint8Array(24);
    nonce.set(this.fileId_);
    const fields = new DataView(nonce.buffer);
    fields.setUint32(16, slideNumber, true);
    fields.setUint32(20, (chunk | (last ? kLastChunkFlag : 0)) >>> 0, true);
    try {
      return sodium().crypto_aead_xchacha20poly1305_ietf_decrypt(
        null,
        sealed,
        this.record_,
        nonce,
        this.key_,
      );
    } catch {
      return null;
    }
  }

  // The plain picture of slide slideNumber, size bytes, from its stored
  // chunks; null, with nothing of it left, when a chunk does not open.
  openPicture(slideNumber, size, stored) {
    const picture = new Uint8Array(size);
    const chunks = Math.max(1, Math.ceil(size / kSealedChunkSize));
    for (let k = 0, at = 0; k < chunks; ++k) {
      const plainSize = Math.min(kSealedChunkSize, size - k * kSealedChunkSize);
      const from = k * (kSealedChunkSize + kTagLength);
      const sealed = stored.subarray(from, from + plainSize + kTagLength);
      const plain = this.open(slideNumber, k, k + 1 === chunks, sealed);
      if (!plain) {
        picture.fill(0);
        return null;
      }
      picture.set(plain, at);
      plain.fill(0);
      at += plainSize;
    }
    return picture;
  }

  forget() {
    this.key_.fill(0);
  }
}
