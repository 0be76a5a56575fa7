#include "player/working_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>

#include "player/dialog_scale.h"
#include "player/player_texts.h"

namespace pivolane::player {

namespace {

// How often the window looks whether work has ended.
constexpr double kPollSeconds = 0.05;

}  // namespace

void RunWithWorkingWindow(const std::string& text, const std::function<void()>& work) {
  const double scale = ScreenDialogScale();
  const int margin = Scaled(24, scale);
  const int fontSize = Scaled(FL_NORMAL_SIZE, scale);
  fl_font(FL_HELVETICA, fontSize);
  int textWidth = 0;
  int textHeight = 0;
  fl_measure(text.c_str(), textWidth, textHeight, 0);
  const int width = std::max(textWidth + 2 * margin, Scaled(240, scale));
  const int height = textHeight + 2 * margin;

  Fl_Window window(width, height, kApplicationTitle);
  auto* message = new Fl_Box(0, 0, width, height);
  message->copy_label(text.c_str());
  message->labelsize(fontSize);
  window.end();
  window.set_modal();
  window.position((Fl::w() - width) / 2, (Fl::h() - height) / 2);
  window.show();
  window.cursor(FL_CURSOR_WAIT);
  Fl::flush();

  std::atomic<bool> done = false;
  std::exception_ptr failure;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      failure = std::current_exception();
    }
    done = true;
  });
  while (!done) Fl::wait(kPollSeconds);
  worker.join();
  window.hide();
  Fl::flush();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace pivolane::player
