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

  // plainLength plain bytes of slide slideNumber's picture, pictureSize
  // bytes in all, from the start of chunk firstChunk, out of the stored
  // bytes of those chunks; null, with nothing of them left, when a chunk
  // does not open.
  openChunks(slideNumber, pictureSize, firstChunk, plainLength, stored) {
    const lastChunk = Math.max(1, Math.ceil(pictureSize / kSealedChunkSize)) - 1;
    const plain = new Uint8Array(plainLength);
    for (let k = firstChunk, at = 0, from = 0; at < plainLength; ++k) {
      const plainSize = Math.min(kSealedChunkSize, pictureSize - k * kSealedChunkSize);
      const sealed = stored.subarray(from, from + plainSize + kTagLength);
      const opened = this.open(slideNumber, k, k === lastChunk, sealed);
      if (!opened) {
        plain.fill(0);
        return null;
      }
      plain.set(opened, at);
      opened.fill(0);
      at += plainSize;
      from += plainSize + kTagLength;
    }
    return plain;
  }

  forget() {
    this.key_.fill(0);
  }
}
