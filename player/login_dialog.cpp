#include "player/login_dialog.h"

#include <FL/Fl.H>

#include "common/cipher/password.h"
#include "player/player_texts.h"

namespace pivolane::player {

namespace {
constexpr int kWidth = 360;
constexpr int kHeight = 96;
}  // namespace

frmLoginAuto::frmLoginAuto(std::uint8_t language)
    : window_(kWidth, kHeight, kApplicationTitle),
      // The label belongs to the field, so that its shortcut letter moves the focus there.
      txtPassword_(120, 16, 224, 26, TextsFor(language).passwordLabel),
      cmdOK_(144, 56, 96, 28, "&OK"),
      cmdCancel_(248, 56, 96, 28, TextsFor(language).cancelButton) {
  window_.end();
  window_.set_modal();
  txtPassword_.maximum_size(static_cast<int>(cipher::kMaxPasswordLength));
  cmdCancel_.shortcut(FL_Escape);
  cmdOK_.callback([](Fl_Widget*, void* self) { static_cast<frmLoginAuto*>(self)->Close(false); },
                  this);
  cmdCancel_.callback([](Fl_Widget*, void* self) { static_cast<frmLoginAuto*>(self)->Close(true); },
                      this);
  // The close box; Escape never gets here, the Cancel button takes it first.
  window_.callback([](Fl_Widget*, void* self) { static_cast<frmLoginAuto*>(self)->Close(false); },
                   this);
}

frmLoginAuto::~frmLoginAuto() {
  ClearField();
  std::fill(typedPassword_.begin(), typedPassword_.end(), ' ');
}

void frmLoginAuto::ShowModal() {
  passwordTyped_ = false;
  ClearField();
  window_.position((Fl::w() - kWidth) / 2, (Fl::h() - kHeight) / 2);
  window_.show();
  txtPassword_.take_focus();
  while (window_.shown()) Fl::wait();
}

void frmLoginAuto::Close(bool cancelled) {
  if (cancelled) {
    passwordTyped_ = false;
  } else {
    typedPassword_.assign(txtPassword_.value(), static_cast<std::size_t>(txtPassword_.size()));
    passwordTyped_ = !typedPassword_.empty();
  }
  ClearField();
  window_.hide();
}

void frmLoginAuto::ClearField() {
  const std::string blanks(static_cast<std::size_t>(txtPassword_.size()), ' ');
  txtPassword_.replace(0, txtPassword_.size(), blanks.c_str(), static_cast<int>(blanks.size()));
  txtPassword_.value("");
}

}  // namespace pivolane::player
