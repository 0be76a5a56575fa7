#include "player/player_main.h"

#include <FL/Fl.H>

#include <cstdlib>
#include <optional>

#include "common/platform/platform.h"
#include "player/early_display.h"
#include "player/login_dialog.h"
#include "player/maximise_window.h"
#include "player/message_box.h"
#include "player/playback_window.h"
#include "player/player_texts.h"
#include "player/program_icon.h"
#include "player/slide_loader.h"
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

// Plays the show in the playback window until it ends. The slides come from
// the loader's thread, which wakes the event loop whenever one is ready.
void Play(PlayerState& state) {
  Fl::lock();  // makes Fl::awake work from the loader's thread
  SlideLoader loader(*state.show, [] { Fl::awake(); });
  std::optional<EarlyDisplay> early(std::in_place);
  FormPivplay window(state, loader, early->area());  // starts loading the first slide
  window.show();
  early.reset();
  window.wait_for_expose();
  MaximiseWindow(window);
  window.Start();
  while (window.shown()) Fl::wait();
}

}  // namespace

int Main() {
  PlayerState state;
  DialogPrompts prompts;
  UseProgramIcon();
  switch (PrepareShow(state, platform::OwnProgramFile(), prompts)) {
    case StartOutcome::kPlay:
      break;
    case StartOutcome::kCancelled:
      EndShow(state, EXIT_SUCCESS);
    case StartOutcome::kInvalidFile:
    case StartOutcome::kWrongPassword:
      EndShow(state, EXIT_FAILURE);
  }
  if (state.SlideCount > 0) Play(state);  // a show without slides ends at once
  EndShow(state, EXIT_SUCCESS);
}

void EndShow(PlayerState& state, int exitCode) {
  while (Fl_Window* window = Fl::first_window()) window->hide();
  state.show.reset();
  std::exit(exitCode);
}

}  // namespace pivolane::player
