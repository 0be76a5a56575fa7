#include "player/playback_window.h"

#include <FL/Fl.H>

#include "common/playback/fit_geometry.h"
#include "common/text/cp1252.h"
#include "player/key_codes.h"
#include "player/picture_decoder.h"
#include "player/player_texts.h"

namespace pivolane::player {

namespace {

playback::PlaybackSettings SettingsOf(const PlayerState& state) {
  playback::PlaybackSettings settings;
  settings.slideCount = state.SlideCount;
  settings.loop = state.LoopOn;
  settings.random = state.RandomOn;
  settings.timerIntervalMs = state.timerIntervalMs;
  return settings;
}

}  // namespace

FormPivplay::FormPivplay(PlayerState& state)
    : Fl_Double_Window(Fl::w(), Fl::h(), kApplicationTitle),
      state_(state),
      Frame1_(0, 0, Fl::w(), Fl::h()),
      ImageDia_(0, 0, 0, 0),
      playback_(SettingsOf(state), *this) {
  color(FL_BLACK);
  Frame1_.box(FL_FLAT_BOX);
  Frame1_.color(FL_BLACK);
  ImageDia_.box(FL_NO_BOX);
  ImageDia_.hide();
  Frame1_.end();
  end();
  // Resizable, so that the window manager lets the window be maximised.
  size_range(160, 120);
  int x = 0, y = 0, w = 0, h = 0;
  Fl::screen_work_area(x, y, w, h);
  resize(x, y, w, h);
}

FormPivplay::~FormPivplay() {
  StopTimer();
}

void FormPivplay::Start() {
  AjusteFormPivplay();
  playback_.Start();
}

int FormPivplay::handle(int event) {
  switch (event) {
    case FL_FOCUS:
    case FL_UNFOCUS:
      return 1;  // the window itself takes the keys
    case FL_KEYBOARD:
    case FL_SHORTCUT:  // a key that reached no focused widget
      playback_.HandleInput(InputCodeForKey(Fl::event_key()));
      return 1;
    case FL_PUSH:
      playback_.HandleInput(InputCodeForButton(Fl::event_button()));
      return 1;
    default:
      return Fl_Double_Window::handle(event);
  }
}

void FormPivplay::resize(int x, int y, int w, int h) {
  Fl_Double_Window::resize(x, y, w, h);
  AjusteFormPivplay();
  PlaceImage();
}

void FormPivplay::AjusteFormPivplay() {
  Frame1_.resize(0, 0, w(), h());
}

void FormPivplay::LetPendingEventsRun() {
  Fl::check();
}

void FormPivplay::SetBusy(bool busy) {
  cursor(busy ? FL_CURSOR_WAIT : FL_CURSOR_DEFAULT);
  Fl::flush();
}

void FormPivplay::ShowSlide(int slideNumber, int /*position*/) noexcept {
  ImageDia_.hide();
  ImageDia_.image(nullptr);
  fitted_.reset();
  picture_.reset();
  // Any failure from here on leaves the picture empty and the show goes on.
  try {
    picture_ = DecodePicture(ExtractSlide(state_, slideNumber), state_.PictureFile);
  } catch (...) {
    picture_.reset();
  }
  try {
    std::string title = kApplicationTitle;
    if (state_.TitlesOn) title = text::FromCp1252(state_.CurrentEntry.TrimmedTitle());
    if (!picture_) title += std::string(" : ") + TextsFor(state_.Language).badPicture;
    copy_label(title.c_str());
    PlaceImage();
  } catch (...) {
    fitted_.reset();
    picture_.reset();
  }
  if (picture_) ImageDia_.show();
  redraw();
}

void FormPivplay::PlaceImage() {
  if (!picture_) return;
  const playback::Placement place =
      playback::FitAndCentre({picture_->w(), picture_->h()}, {Frame1_.w(), Frame1_.h()});
  fitted_.reset(place.stretched ? picture_->copy(place.width, place.height) : nullptr);
  ImageDia_.image(fitted_ ? fitted_.get() : picture_.get());
  ImageDia_.resize(Frame1_.x() + place.left, Frame1_.y() + place.top, place.width, place.height);
  redraw();
}

void FormPivplay::StartTimer(std::int64_t intervalMs) {
  timerIntervalMs_ = intervalMs;
  Fl::remove_timeout(TimerCallback, this);
  Fl::add_timeout(static_cast<double>(intervalMs) / 1000.0, TimerCallback, this);
}

void FormPivplay::StopTimer() {
  Fl::remove_timeout(TimerCallback, this);
}

void FormPivplay::TimerCallback(void* self) {
  auto* window = static_cast<FormPivplay*>(self);
  // A periodic timer: the next tick is due one interval after this one.
  Fl::repeat_timeout(static_cast<double>(window->timerIntervalMs_) / 1000.0, TimerCallback, self);
  window->playback_.TimerTick();
}

void FormPivplay::EndShow() {
  StopTimer();
  hide();
}

}  // namespace pivolane::player
