// The playback window FormPivplay: the slides one at a time, fitted into the
// visible area and centred, on black. The playback rules themselves live in
// playback::Playback; this window shows what it asks for and hands it the
// user's keys, mouse buttons and timer ticks.
#pragma once

#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Image.H>

#include <memory>
#include <string>

#include "common/playback/playback.h"
#include "player/start_up.h"

namespace pivolane::player {

class FormPivplay : public Fl_Double_Window, public playback::PlaybackView {
 public:
  explicit FormPivplay(PlayerState& state);
  ~FormPivplay() override;

  // The window is on screen: lays out the frame and shows the first slide.
  void Start();

  int handle(int event) override;
  void resize(int x, int y, int w, int h) override;

  // PlaybackView
  void LetPendingEventsRun() override;
  void SetBusy(bool busy) override;
  void ShowSlide(int slideNumber, int position) noexcept override;
  void StartTimer(std::int64_t intervalMs) override;
  void StopTimer() override;
  void EndShow() override;

 private:
  // Lays Frame1 over the whole client area: the window's caption bar is not
  // part of it, so pictures centred in the frame are centred on what is seen.
  void AjusteFormPivplay();
  // Fits the current picture into Frame1 and centres it.
  void PlaceImage();
  static void TimerCallback(void* self);

  PlayerState& state_;
  Fl_Group Frame1_;
  Fl_Box ImageDia_;
  std::unique_ptr<Fl_RGB_Image> picture_;  // the current slide at its natural size
  std::unique_ptr<Fl_Image> fitted_;       // the same reduced to fit, when it had to be
  std::int64_t timerIntervalMs_ = 0;
  playback::Playback playback_;
};

}  // namespace pivolane::player
