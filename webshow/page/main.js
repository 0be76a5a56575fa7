// The web show: reads the show the page carries, asks for its password when
// it has one, and plays it as the player does.
import { passwordBytes } from "./cp1252.js";
import { FullScreen } from "./full_screen.js";
import { PasswordGate } from "./gate.js";
import { InvalidShow } from "./invalid_show.js";
import { KeyDerivation } from "./key_derivation.js";
import { afterNextPaint } from "./paint.js";
import { kApplicationTitle, kInvalidFileText, textsFor } from "./player_texts.js";
import { PayloadSeal, cipherLibraryReady } from "./sealed_cipher.js";
import { ShowData } from "./show_data.js";
import { checkBeforePassword, openShow, sealedParameters } from "./show_format.js";
import { ShowReader, noCipher, sealedCipher, xorCipher } from "./show_reader.js";
import { SlideShow } from "./slide_show.js";
import { keyStream, passwordMatches } from "./xor_cipher.js";

// The element of the page's copy of the cryptographic library, whose text
// also makes the worker that derives keys.
const kLibraryElementId = "pivolane-sodium";

// The show's reader for a typed password: null when it is wrong. A show that
// turns out damaged raises InvalidShow. A sealed show's key comes from
// keyDerivation.
async function unlock(show, typed, keyDerivation, cancelled) {
  const password = passwordBytes(typed);
  if (!password) return null; // no show can have it
  try {
    const header = show.header;
    if (!show.sealed) {
      if (header.keyStart === 0) throw new InvalidShow("the key stream start is 0");
      if (!passwordMatches(password, header.keyStart, header.passwordCheck)) return null;
      return ShowReader.open(show, xorCipher(keyStream(password), header.keyStart));
    }
    const { salt, passes, memoryBytes } = sealedParameters(header);
    const key = await keyDerivation.derive({ password, salt, passes, memoryBytes }, cancelled);
    await cipherLibraryReady();
    const cipher = sealedCipher(new PayloadSeal(header, key));
    const reader = ShowReader.open(show, cipher);
    if (!reader) cipher.forget();
    return reader;
  } finally {
    password.fill(0);
  }
}

class WebShow {
  constructor() {
    this.fullScreen_ = new FullScreen(() => this.leftFullScreen_());
    this.gate_ = null;
    this.slideShow_ = null;
    this.keyDerivation_ = null; // a sealed show's
    this.ended_ = false;
    this.cancelUnlock_ = () => {};
  }

  start() {
    let show;
    try {
      show = openShow(ShowData.fromElement(document.getElementById("pivolane-show")));
      checkBeforePassword(show);
    } catch (failure) {
      this.failed_(failure);
      return;
    }
    const texts = textsFor(show.header.language);
    document.documentElement.lang = texts.languageTag;
    if (!show.header.hasPassword) {
      try {
        this.play_(show, ShowReader.open(show, noCipher), texts);
      } catch (failure) {
        this.failed_(failure);
      }
      return;
    }
    if (show.sealed) {
      this.keyDerivation_ = new KeyDerivation(document.getElementById(kLibraryElementId).text);
      this.keyDerivation_.prepare(); // while the password is typed
    }
    this.gate_ = new PasswordGate(texts, {
      working: show.sealed,
      submit: (typed) => this.submit_(show, typed, texts),
      cancel: () => this.end_(),
    });
    this.gate_.open();
  }

  // Resolves true when typed opened the show, which then plays.
  async submit_(show, typed, texts) {
    this.fullScreen_.ask();
    const cancelled = new Promise((resolve) => (this.cancelUnlock_ = resolve));
    let reader;
    try {
      reader = await unlock(show, typed, this.keyDerivation_, cancelled);
    } catch (failure) {
      if (!this.ended_) this.failed_(failure);
      return false;
    }
    if (this.ended_) {
      reader?.forget(); // left while the key was derived on the page
      return false;
    }
    if (!reader) {
      // A new worker for the next try: the memory of this one goes.
      this.keyDerivation_?.release();
      this.keyDerivation_?.prepare();
      return false;
    }
    const keyDerivation = this.keyDerivation_;
    const shown = this.play_(show, reader, texts);
    // Not before the first slide is on screen, which it would hold up.
    shown.then(afterNextPaint).then(() => keyDerivation?.release());
    return true;
  }

  // Resolves once the first slide is shown.
  play_(show, reader, texts) {
    this.slideShow_ = new SlideShow(show.header, reader, texts, this.fullScreen_);
    return this.slideShow_.start();
  }

  leftFullScreen_() {
    if (this.slideShow_) {
      this.slideShow_.end();
    } else if (this.gate_) {
      this.gate_.leave();
    }
  }

  // Before the show plays: the password gate was left.
  end_() {
    this.ended_ = true;
    this.cancelUnlock_();
    this.keyDerivation_?.release();
    this.fullScreen_.leave();
    document.title = kApplicationTitle;
  }

  // A show that cannot be read (damaged, or a key derivation the browser
  // cannot afford) gets the one message there is, and its OK button ends it.
  failed_(failure) {
    if (!(failure instanceof InvalidShow)) console.error(failure);
    if (this.gate_) this.gate_.leave();
    this.end_();
    const notice = document.getElementById("notice");
    const ok = document.getElementById("notice-ok");
    document.getElementById("notice-text").textContent = kInvalidFileText;
    notice.hidden = false;
    ok.focus();
    ok.addEventListener("click", () => (notice.hidden = true), { once: true });
  }
}

function start() {
  new WebShow().start();
}

if (document.readyState === "loading") {
  document.addEventListener("DOMContentLoaded", start);
} else {
  start();
}
