#include "player/player_main.h"

#include <FL/Fl.H>

#include <cstdlib>

#include "common/errors.h"
#include "common/platform/platform.h"
#include "player/login_dialog.h"
#include "player/maximise_window.h"
#include "player/message_box.h"
#include "player/playback_window.h"
#include "player/player_texts.h"
#include "player/working_window.h"

namespace pivolane::player {

namespace {

class DialogPrompts : public StartUpPrompts {
 public:
  std::optional<std::string> AskPassword(std::uint8_t language) override {
    frmLoginAuto dialog(language);
    dialog.ShowModal();
    if (!dialog.PasswordTyped()) return std::nullopt;
    return std::move(dialog.TypedPassword());
  }
  void ShowMessage(const std::string& text, MessageIcon icon) override {
    ShowMessageBox(text, icon);
  }
  void RunShowingWork(const std::function<void()>& work, std::uint8_t language) override {
    RunWithWorkingWindow(TextsFor(language).checkingPassword, work);
  }
};

// This run's own folder, for the GIF and BMP pictures while they load.
void OpenWorkFolder(PlayerState& state) {
  try {
    state.work.emplace(workspace::Workspace::Open("player"));
    state.PictureFile = state.work->File("PivolaneImg.tmp");
  } catch (const Failure& failure) {
    ShowMessageBox(failure.description(), MessageIcon::kCritical);
    EndShow(state, EXIT_FAILURE);
  }
}

}  // namespace

int Main() {
  PlayerState state;
  DialogPrompts prompts;
  switch (PrepareShow(state, platform::OwnProgramFile(), prompts)) {
    case StartOutcome::kPlay:
      break;
    case StartOutcome::kCancelled:
      EndShow(state, EXIT_SUCCESS);
    case StartOutcome::kInvalidFile:
    case StartOutcome::kWrongPassword:
      EndShow(state, EXIT_FAILURE);
  }
  if (state.SlideCount == 0) EndShow(state, EXIT_SUCCESS);  // nothing to show
  OpenWorkFolder(state);

  Fl_Image::RGB_scaling(FL_RGB_SCALING_BILINEAR);
  FormPivplay window(state);
  window.show();
  window.wait_for_expose();
  MaximiseWindow(window);
  window.Start();
  while (window.shown()) Fl::wait();
  EndShow(state, EXIT_SUCCESS);
}

void EndShow(PlayerState& state, int exitCode) {
  while (Fl_Window* window = Fl::first_window()) window->hide();
  state.show.reset();
  state.work.reset();
  std::exit(exitCode);
}

}  // namespace pivolane::player
