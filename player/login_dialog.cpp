#include "player/login_dialog.h"

#include <FL/Fl.H>

#include "common/cipher/password.h"
#include "player/dialog_scale.h"
#include "player/player_texts.h"

namespace pivolane::player {

frmLoginAuto::frmLoginAuto(std::uint8_t language)
    : scale_(ScreenDialogScale()),
      window_(Scaled(360, scale_), Scaled(96, scale_), kApplicationTitle),
      // The label belongs to the field, so that its shortcut letter moves the focus there.
      txtPassword_(Scaled(120, scale_), Scaled(16, scale_), Scaled(224, scale_), Scaled(26, scale_),
                   TextsFor(language).passwordLabel),
      cmdOK_(Scaled(144, scale_), Scaled(56, scale_), Scaled(96, scale_), Scaled(28, scale_),
             "&OK"),
      cmdCancel_(Scaled(248, scale_), Scaled(56, scale_), Scaled(96, scale_), Scaled(28, scale_),
                 TextsFor(language).cancelButton) {
  const int fontSize = Scaled(FL_NORMAL_SIZE, scale_);
  txtPassword_.labelsize(fontSize);
  txtPassword_.textsize(fontSize);
  cmdOK_.labelsize(fontSize);
  cmdCancel_.labelsize(fontSize);
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
  window_.position((Fl::w() - window_.w()) / 2, (Fl::h() - window_.h()) / 2);
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
