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

// The worker's program, after the library's text and derive: one derivation.
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

// Rejects with "refused" when the browser does not run the worker at all.
function deriveOnWorker(request, libraryText, cancelled) {
  return new Promise((resolve, reject) => {
    let url = null;
    let worker = null;
    const finish = (settle, value) => {
      if (url) URL.revokeObjectURL(url);
      if (worker) worker.terminate();
      settle(value);
    };
    try {
      const parts = [libraryText, "\n;", derive.toString(), "\n(", workerMain.toString(), ")();"];
      const program = new Blob(parts, { type: "text/javascript" });
      url = URL.createObjectURL(program);
      worker = new Worker(url);
    } catch {
      finish(reject, new Error("refused"));
      return;
    }
    cancelled.then(() => finish(reject, new Error("cancelled")));
    worker.onerror = (event) => {
      event.preventDefault();
      finish(reject, new Error("refused"));
    };
    worker.onmessage = (message) => {
      if (message.data.key) {
        finish(resolve, message.data.key);
      } else {
        finish(reject, new Error(message.data.failure));
      }
    };
    const password = request.password.slice();
    worker.postMessage({ ...request, password }, [password.buffer]);
  });
}

// request: password (code page 1252 bytes), salt, passes, memoryBytes.
// cancelled: a promise that settles when the derivation is no longer wanted.
export async function deriveKey(request, libraryText, cancelled) {
  try {
    return await deriveOnWorker(request, libraryText, cancelled);
  } catch (failure) {
    if (failure.message !== "refused") throw failure;
  }
  // The page shows that it is working before it is kept busy.
  await Promise.all([cipherLibraryReady(), afterNextPaint()]);
  return derive(globalThis.sodium, request);
}
