#include "player/playback_window.h"

#include <FL/Fl.H>

#include <chrono>

#include "common/picture/pixel_scaling.h"
#include "common/playback/fit_geometry.h"
#include "common/text/cp1252.h"
#include "player/key_codes.h"
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

void PictureBox::draw() {
  if (picture_ != nullptr) picture_->draw(x(), y(), w(), h());
}

FormPivplay::FormPivplay(PlayerState& state, SlideLoader& loader, const ScreenArea& area)
    : Fl_Double_Window(area.x, area.y, area.width, area.height, kApplicationTitle),
      state_(state),
      loader_(loader),
      Frame1_(0, 0, area.width, area.height),
      playback_(SettingsOf(state), *this) {
  color(FL_BLACK);
  Frame1_.box(FL_FLAT_BOX);
  Frame1_.color(FL_BLACK);
  ImageDia_.hide();
  Frame1_.end();
  end();
  // Resizable, so that the window manager lets the window be maximised.
  size_range(160, 120);
  // The first slide loads while the toolkit opens its display and the window.
  playback_.PreparePlayOrder();
  if (const std::optional<int> first = playback_.UpcomingSlide()) loader_.Want(*first, FrameSize());
}

FormPivplay::~FormPivplay() {
  StopTimer();
  Fl::remove_timeout(PointerIdleCallback, this);
}

void FormPivplay::Start() {
  AjusteFormPivplay();
  RestartPointerIdleTime();
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
      if (!CompletesDoubleClick(Fl::event_clicks()))
        playback_.HandleInput(InputCodeForButton(Fl::event_button()));
      return 1;
    case FL_ENTER:  // so that the moves come
      return 1;
    case FL_MOVE:
      ShowPointer(pointer_.Moved());
      RestartPointerIdleTime();
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
  ShowPointer(pointer_.SetBusy(busy));
  // The hourglass shows once the loop waits for a slide that is not ready;
  // a slide read ahead comes with no flicker of it.
  if (!busy) Fl::flush();
}

void FormPivplay::ShowPointer(playback::PointerShape shape) {
  switch (shape) {
    case playback::PointerShape::kNormal:
      cursor(FL_CURSOR_DEFAULT);
      break;
    case playback::PointerShape::kBusy:
      cursor(FL_CURSOR_WAIT);
      break;
    case playback::PointerShape::kHidden:
      cursor(FL_CURSOR_NONE);
      break;
  }
}

void FormPivplay::RestartPointerIdleTime() {
  Fl::remove_timeout(PointerIdleCallback, this);
  Fl::add_timeout(std::chrono::duration<double>(playback::kPointerIdleTime).count(),
                  PointerIdleCallback, this);
}

void FormPivplay::PointerIdleCallback(void* self) {
  auto* window = static_cast<FormPivplay*>(self);
  window->ShowPointer(window->pointer_.Idle());
}

void FormPivplay::ShowSlide(int slideNumber, int /*position*/) noexcept {
  try {
    const playback::Size frame = FrameSize();
    loader_.Want(slideNumber, frame);
    SlideLoader::Slide slide;
    // The slide on screen stays until the next is ready. Meanwhile events
    // are handled: playback ignores them, but for Escape, which hides the window.
    while (!loader_.Take(slideNumber, frame, slide)) {
      if (playback_.Ended()) return;
      Fl::wait();
    }
    Display(std::move(slide));
  } catch (...) {
    // Out of memory, say: the slide is shown empty and the show goes on.
    ImageDia_.picture(nullptr);
    image_.reset();
    current_.reset();
    ImageDia_.hide();
    redraw();
  }
}

void FormPivplay::Display(SlideLoader::Slide slide) {
  ImageDia_.hide();
  ImageDia_.picture(nullptr);
  image_.reset();
  if (current_) loader_.Keep(std::move(*current_));
  current_ = std::move(slide);
  state_.CurrentEntry = current_->entry;
  std::string title = kApplicationTitle;
  if (state_.TitlesOn) title = text::FromCp1252(state_.CurrentEntry.TrimmedTitle());
  if (!current_->picture) title += std::string(" : ") + TextsFor(state_.Language).badPicture;
  copy_label(title.c_str());
  PlaceImage();
  redraw();
}

void FormPivplay::PlaceImage() {
  if (!current_ || !current_->picture) return;
  picture::Pixels& pixels = current_->picture->pixels;
  const playback::Placement place =
      playback::FitAndCentre({pixels.width, pixels.height}, FrameSize());
  if (place.stretched && place.width > 0 && place.height > 0) {
    ImageDia_.picture(nullptr);
    image_.reset();
    pixels = *picture::ScaleSmoothly(pixels, place.width, place.height);
  }
  if (pixels.bytes.empty()) {
    ImageDia_.hide();
    return;
  }
  if (!image_) {
    image_ = std::make_unique<Fl_RGB_Image>(pixels.bytes.data(), pixels.width, pixels.height,
                                            pixels.channels);
  }
  ImageDia_.picture(image_.get());
  ImageDia_.resize(Frame1_.x() + place.left, Frame1_.y() + place.top, place.width, place.height);
  ImageDia_.show();
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
  Fl::remove_timeout(PointerIdleCallback, this);
  hide();
}

void FormPivplay::Neighbours(std::optional<int> next, std::optional<int> previous) {
  std::vector<int> slides;  // the next first: the timer and most keys go forward
  if (next) slides.push_back(*next);
  if (previous) slides.push_back(*previous);
  loader_.Prepare(slides, FrameSize());
}

}  // namespace pivolane::player
