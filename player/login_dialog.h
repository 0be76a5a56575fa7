// The password dialog frmLoginAuto: a masked field of at most 128
// characters, OK (Enter, Alt+O) and Cancel (Esc, and Alt with its
// underlined letter). Closing it with its close box counts like OK: the
// typed text is taken.
#pragma once

#include <FL/Enumerations.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Secret_Input.H>
#include <FL/Fl_Window.H>

#include <cstdint>
#include <string>

namespace pivolane::player {

// A button that answers its own key and also the Alt mnemonic of its label
// ("&Annuler": Alt+A); the toolkit's buttons answer only one of the two.
template <class Button>
class MnemonicButton : public Button {
 public:
  using Button::Button;
  int handle(int event) override {
    if (event == FL_SHORTCUT && this->shortcut() != 0 && this->test_shortcut() != 0) {
      this->do_callback();
      return 1;
    }
    return Button::handle(event);
  }
};

class frmLoginAuto {
 public:
  explicit frmLoginAuto(std::uint8_t language);
  ~frmLoginAuto();

  // Shows the dialog centred on the screen and returns when it has closed.
  void ShowModal();

  // True when the dialog was closed, other than by Cancel, with a password.
  bool PasswordTyped() const { return passwordTyped_; }
  // The typed password (UTF-8); Discard it once used.
  std::string& TypedPassword() { return typedPassword_; }

 private:
  void Close(bool cancelled);
  // Overwrites the field's text, so that no copy of the password stays in it.
  void ClearField();

  double scale_;  // first: the sizes of everything below follow it
  Fl_Window window_;
  Fl_Secret_Input txtPassword_;
  MnemonicButton<Fl_Return_Button> cmdOK_;
  MnemonicButton<Fl_Button> cmdCancel_;
  bool passwordTyped_ = false;
  std::string typedPassword_;
};

}  // namespace pivolane::player
