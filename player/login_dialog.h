// The password dialog frmLoginAuto: a masked field of at most 128
// characters, OK (Enter) and Cancel (Esc). Closing it with its close box
// counts like OK: the typed text is taken.
#pragma once

#include <FL/Fl_Button.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Secret_Input.H>
#include <FL/Fl_Window.H>

#include <cstdint>
#include <string>

namespace pivolane::player {

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

  Fl_Window window_;
  Fl_Secret_Input txtPassword_;
  Fl_Return_Button cmdOK_;
  Fl_Button cmdCancel_;
  bool passwordTyped_ = false;
  std::string typedPassword_;
};

}  // namespace pivolane::player
