// The web show: reads the show the page carries, asks for its password when
// it has one, and plays it as the player does.
import { passwordBytes } from "./cp1252.js";
import { EndScreen } from "./end_screen.js";
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
    this.endScreen_ = new EndScreen();
    this.show_ = null;
    this.texts_ = null;
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
    this.show_ = show;
    this.texts_ = textsFor(show.header.language);
    document.documentElement.lang = this.texts_.languageTag;
    this.begin_();
  }

  // The show from its beginning: the gate when it has a password.
  begin_() {
    this.ended_ = false;
    this.slideShow_ = null;
    const show = this.show_;
    if (!show.header.hasPassword) {
      try {
        this.play_(ShowReader.open(show, noCipher));
      } catch (failure) {
        this.failed_(failure);
      }
      return;
    }
    if (show.sealed) {
      this.keyDerivation_ = new KeyDerivation(document.getElementById(kLibraryElementId).text);
      this.keyDerivation_.prepare(); // while the password is typed
    }
    this.gate_ ??= new PasswordGate(this.texts_, {
      working: show.sealed,
      submit: (typed) => this.submit_(typed),
      cancel: () => this.end_(),
    });
    this.gate_.open();
  }

  // Resolves true when typed opened the show, which then plays.
  async submit_(typed) {
    this.fullScreen_.ask();
    const cancelled = new Promise((resolve) => (this.cancelUnlock_ = resolve));
    let reader;
    try {
      reader = await unlock(this.show_, typed, this.keyDerivation_, cancelled);
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
    const shown = this.play_(reader);
    // Not before the first slide is on screen, which it would hold up.
    shown.then(afterNextPaint).then(() => keyDerivation?.release());
    return true;
  }

  // Resolves once the first slide is shown.
  play_(reader) {
    this.slideShow_ = new SlideShow(this.show_.header, reader, this.texts_, this.fullScreen_, () =>
      this.end_(),
    );
    return this.slideShow_.start();
  }

  leftFullScreen_() {
    if (this.slideShow_) {
      this.slideShow_.end();
    } else if (this.gate_ && !this.ended_) {
      this.gate_.leave();
    }
  }

  // Nothing of the show is kept: no key, no worker, no full screen.
  stop_() {
    this.ended_ = true;
    this.cancelUnlock_();
    this.keyDerivation_?.release();
    this.keyDerivation_ = null;
    this.fullScreen_.leave();
    document.title = kApplicationTitle;
  }

  // The show is over (the gate left, or the show played to its end): the end
  // screen offers to watch it again, as from the start.
  end_() {
    if (this.ended_) return;
    this.stop_();
    this.endScreen_.show(this.texts_.watchAgain, () => {
      this.fullScreen_.reset();
      this.begin_();
    });
  }

  // A show that cannot be read (damaged, or a key derivation the browser
  // cannot afford) gets the one message there is, over the end screen, and
  // its OK button closes it.
  failed_(failure) {
    if (!(failure instanceof InvalidShow)) console.error(failure);
    this.gate_?.close();
    this.stop_();
    this.endScreen_.show();
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
