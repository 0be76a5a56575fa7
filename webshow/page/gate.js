// The password gate: the player's password dialog, in the page. The field
// has the focus; Enter or OK submits, Cancel or Escape leaves. A page cannot
// end a program, so a wrong password keeps the gate open for another try.
import { setLabel } from "./labels.js";

export class PasswordGate {
  // submit(typed) resolves true when the password opened the show and false
  // when it is wrong; cancel() ends the show. working: whether the checking
  // text shows while submit runs, which takes a while when a key is derived.
  constructor(texts, { submit, cancel, working }) {
    this.texts_ = texts;
    this.submit_ = submit;
    this.cancel_ = cancel;
    this.working_ = working;
    this.element_ = document.getElementById("gate");
    this.field_ = document.getElementById("gate-password");
    this.message_ = document.getElementById("gate-message");
    this.ok_ = document.getElementById("gate-ok");
    this.cancelButton_ = document.getElementById("gate-cancel");
    this.checking_ = false;
    setLabel(document.getElementById("gate-label"), texts.passwordLabel, this.field_);
    setLabel(this.ok_, texts.okButton);
    setLabel(this.cancelButton_, texts.cancelButton);
    this.onKey_ = (event) => this.key_(event);
    this.ok_.addEventListener("click", () => this.submitTyped_());
    this.cancelButton_.addEventListener("click", () => this.leave());
  }

  // Opens the gate as new, also after it was left while a password was checked.
  open() {
    this.element_.hidden = false;
    document.addEventListener("keydown", this.onKey_);
    this.setChecking_(false);
  }

  // Closes the gate and ends the show, also while a password is checked.
  leave() {
    this.close();
    this.cancel_();
  }

  close() {
    document.removeEventListener("keydown", this.onKey_);
    this.field_.value = "";
    this.element_.hidden = true;
  }

  key_(event) {
    if (event.key === "Escape") {
      event.preventDefault();
      this.leave();
    } else if (event.key === "Enter" && !event.isComposing && event.target !== this.cancelButton_) {
      event.preventDefault();
      this.submitTyped_();
    }
  }

  async submitTyped_() {
    if (this.checking_ || this.element_.hidden) return;
    const typed = this.field_.value;
    this.field_.value = "";
    if (typed === "") {
      this.field_.focus();
      return;
    }
    this.setChecking_(true);
    const opened = await this.submit_(typed);
    if (this.element_.hidden) return; // left meanwhile
    this.setChecking_(false);
    if (opened) {
      this.close();
      return;
    }
    this.message_.textContent = this.texts_.wrongPassword;
    this.message_.className = "wrong";
    this.field_.focus();
  }

  setChecking_(checking) {
    this.checking_ = checking;
    this.field_.disabled = checking;
    this.ok_.disabled = checking;
    this.message_.textContent = checking && this.working_ ? this.texts_.checkingPassword : "";
    this.message_.className = checking ? "working" : "";
    if (!checking) this.field_.focus();
  }
}
