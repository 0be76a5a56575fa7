// The playback window FormPivplay: the slides one at a time, fitted into the
// visible area and centred, on black. The playback rules themselves live in
// playback::Playback; this window shows what it asks for and hands it the
// user's keys, mouse buttons and timer ticks. Pictures come from the
// SlideLoader, which prepares the slides on either side while one is on
// screen.
#pragma once

#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Image.H>

#include <memory>
#include <optional>

#include "common/picture/slide_picture.h"
#include "common/playback/playback.h"
#include "common/playback/pointer_visibility.h"
#include "player/early_display.h"
#include "player/slide_loader.h"
#include "player/start_up.h"

namespace pivolane::player {

// The picture control ImageDia: it draws its picture and nothing else. A
// labelled box would lay out its empty label with the first picture, and so
// load the fonts, which the playback window never needs, while the user waits.
class PictureBox : public Fl_Widget {
 public:
  PictureBox() : Fl_Widget(0, 0, 0, 0) {}
  void picture(Fl_RGB_Image* picture) { picture_ = picture; }
  void draw() override;

 private:
  Fl_RGB_Image* picture_ = nullptr;
};

class FormPivplay : public Fl_Double_Window, public playback::PlaybackView {
 public:
  // The window over area, which is all it needs of the display: the first
  // slide starts loading at once.
  FormPivplay(PlayerState& state, SlideLoader& loader, const ScreenArea& area);
  ~FormPivplay() override;

  // The window is on screen: lays out the frame and shows the first slide,
  // which has been loading since the window was made.
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
  void Neighbours(std::optional<int> next, std::optional<int> previous) override;

 private:
  // Lays Frame1 over the whole client area: the window's caption bar is not
  // part of it, so pictures centred in the frame are centred on what is seen.
  void AjusteFormPivplay();
  playback::Size FrameSize() const { return {Frame1_.w(), Frame1_.h()}; }
  // The loaded slide on screen: its caption, and its picture if it has one.
  // The slide it replaces goes back to the loader, which may hold it ready.
  void Display(SlideLoader::Slide slide);
  // Puts the current picture in place; after a resize, reduced further when
  // it no longer fits.
  void PlaceImage();
  void ShowPointer(playback::PointerShape shape);
  // The pointer has moved, or the show starts: it is hidden once it has
  // been still for playback::kPointerIdleTime.
  void RestartPointerIdleTime();
  static void TimerCallback(void* self);
  static void PointerIdleCallback(void* self);

  PlayerState& state_;
  SlideLoader& loader_;
  Fl_Group Frame1_;
  PictureBox ImageDia_;
  std::optional<SlideLoader::Slide> current_;  // the slide on screen, fitted
  std::unique_ptr<Fl_RGB_Image> image_;        // drawing its pixels
  std::int64_t timerIntervalMs_ = 0;
  playback::PointerVisibility pointer_;
  playback::Playback playback_;
};

}  // namespace pivolane::player
