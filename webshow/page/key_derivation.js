// The key of a sealed show: Argon2id version 1.3 of the password with the
// header's salt, passes and memory (libsodium's crypto_pwhash, 32 bytes).
// It takes a second or more, so it runs on a worker made from the page's
// own copy of the library, and the page stays responsive meanwhile; where a
// browser refuses such a worker, it runs on the page itself.
import { afterNextPaint } from "./paint.js";
import { cipherLibraryReady } from "./sealed_cipher.js";

// Runs on the worker too, from its text: it refers to nothing else.
function derive(sodium, request) {
  const keyLength = 32;
  return sodium.crypto_pwhash(
    keyLength,
    request.password,
    request.salt,
    request.passes,
    request.memoryBytes,
    sodium.crypto_pwhash_ALG_ARGON2ID13,
  );
}

// The worker's program, after the library's text and derive: a derivation
// for every request.
function workerMain() {
  self.onmessage = async (message) => {
    const request = message.data;
    try {
      await self.sodium.ready;
      const key = derive(self.sodium, request);
      self.postMessage({ key }, [key.buffer]);
    } catch (failure) {
      self.postMessage({ failure: String(failure) });
    } finally {
      request.password.fill(0);
    }
  };
}

// A worker made from the library's text, started at once; every request
// rejects with "refused" once the browser has refused to run it.
class DerivationWorker {
  constructor(libraryText) {
    const parts = [libraryText, "\n;", derive.toString(), "\n(", workerMain.toString(), ")();"];
    this.url_ = URL.createObjectURL(new Blob(parts, { type: "text/javascript" }));
    this.answer_ = null; // the request under way: { resolve, reject }
    try {
      this.worker_ = new Worker(this.url_);
    } catch {
      this.worker_ = null;
      return;
    }
    this.worker_.onerror = (event) => {
      event.preventDefault();
      this.stop("refused");
    };
    this.worker_.onmessage = ({ data }) => {
      const answer = this.answer_;
      this.answer_ = null;
      if (data.key) {
        answer?.resolve(data.key);
      } else {
        answer?.reject(new Error(data.failure));
      }
    };
  }

  derive(request) {
    return new Promise((resolve, reject) => {
      if (!this.worker_) {
        reject(new Error("refused"));
        return;
      }
      this.answer_ = { resolve, reject };
      const password = request.password.slice();
      this.worker_.postMessage({ ...request, password }, [password.buffer]);
    });
  }

  // Ends the worker; a request under way rejects with reason.
  stop(reason) {
    this.worker_?.terminate();
    this.worker_ = null;
    URL.revokeObjectURL(this.url_);
    this.answer_?.reject(new Error(reason));
    this.answer_ = null;
  }
}

// Derives keys on a worker that is started before the password comes, so
// that the library is ready on it by then, and that is kept after the key
// until the page lets it go: ending it gives back the derivation's memory,
// work that slows whatever the page does at that moment.
export class KeyDerivation {
  constructor(libraryText) {
    this.libraryText_ = libraryText;
    this.worker_ = null;
  }

  // Starts the worker for the next derivation, unless it is started.
  prepare() {
    this.worker_ ??= new DerivationWorker(this.libraryText_);
  }

  // request: password (code page 1252 bytes), salt, passes, memoryBytes.
  // cancelled: a promise that settles when the derivation is no longer wanted.
  async derive(request, cancelled) {
    this.prepare();
    const abandoned = cancelled.then(() => Promise.reject(new Error("cancelled")));
    abandoned.catch(() => {}); // raised where it is awaited
    try {
      return await Promise.race([this.worker_.derive(request), abandoned]);
    } catch (failure) {
      if (failure.message !== "refused") throw failure;
    }
    // The page shows that it is working before it is kept busy.
    await Promise.race([Promise.all([cipherLibraryReady(), afterNextPaint()]), abandoned]);
    return derive(globalThis.sodium, request);
  }

  // Ends the worker, and any derivation under way on it.
  release() {
    this.worker_?.stop("cancelled");
    this.worker_ = null;
  }
}
